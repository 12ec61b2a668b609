// The copy database from scratch, as an administrator makes and fills it: the setup command on a
// program folder holding the sample data, then the copy window driven by clicks.

#include "data/adoform.h"
#include "data/datam.h"
#include "data/kozepreteg.h"
#include "platform/ADODB.h"

#include <QApplication>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

using testing::Each;
using testing::EndsWith;
using testing::HasSubstr;
using testing::SizeIs;

namespace fs = std::filesystem;

namespace {

std::string fileText(const fs::path &file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class CopyDatabaseSetup : public testing::Test {
public:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "brelvix-copydb-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder = pattern;
        for (const auto &file : fs::directory_iterator(BRELVIX_SAMPLEDATA_DIR))
            fs::copy_file(file.path(), folder / file.path().filename());
    }

    void TearDown() override
    {
        window.reset();
        dmk.reset();
        database.Close();
        dm.reset();
        fs::remove_all(folder);
    }

    // Runs the setup command on the folder; returns its exit code and keeps what it wrote.
    int runSetup(const QStringList &arguments = {})
    {
        QProcess setup;
        setup.start(QStringLiteral(BRELVIX_MAKE_COPYDB),
                    QStringList{QString::fromStdString(folder.string())} + arguments);
        EXPECT_TRUE(setup.waitForFinished(-1));
        written = setup.readAllStandardError().toStdString() + setup.readAllStandardOutput().toStdString();
        return setup.exitStatus() == QProcess::NormalExit ? setup.exitCode() : -1;
    }

    // The program's start on the folder: the data module, then the database module on the
    // connection file the command wrote.
    void startProgram()
    {
        const std::string programFolder = (folder / "").string();
        dm = std::make_unique<TDM>(TDMEnvironment{[programFolder] { return programFolder; },
                                                  [](std::string &) { return false; }});
        dmk = std::make_unique<TDMK>(*dm);
    }

    // Every file of the folder with its bytes.
    std::map<std::string, std::string> files() const
    {
        std::map<std::string, std::string> bytes;
        for (const auto &entry : fs::directory_iterator(folder))
            bytes[entry.path().filename().string()] = entry.is_regular_file() ? fileText(entry.path()) : "";
        return bytes;
    }

    void openDatabase()
    {
        database.SetConnectionString(dmk->Provider);
        database.Open();
    }

    std::unique_ptr<TADOTable> databaseTable(const std::string &name)
    {
        auto table = std::make_unique<TADOTable>();
        table->SetConnection(&database);
        table->SetTableName(name);
        table->Open();
        return table;
    }

    fs::path folder;
    std::string written;
    std::unique_ptr<TDM> dm;
    std::unique_ptr<TDMK> dmk;
    std::unique_ptr<TForm2> window;
    TADOConnection database;
};

// Answers every message box with OK, keeping its text.
std::vector<std::string> clickAnsweringBoxes(QPushButton *button)
{
    std::vector<std::string> texts;
    QTimer answerer;
    QObject::connect(&answerer, &QTimer::timeout, [&texts] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            texts.push_back(box->text().toStdString());
            QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
        }
    });
    answerer.start(0);
    QTest::mouseClick(button, Qt::LeftButton);
    return texts;
}

bool hasAccent(const std::string &text)
{
    return std::any_of(text.begin(), text.end(), [](char c) { return (c & 0x80) != 0; });
}

} // namespace

TEST_F(CopyDatabaseSetup, GeneratingFillsEveryTableValueByValueAndEmptyingClearsThem)
{
    ASSERT_EQ(runSetup(), 0) << written;
    startProgram();
    ASSERT_TRUE(dmk->Conn.Connected()) << "the program did not open the database the command named";
    // The links are made by the administrator's regeneration first.
    dm->KurzusalkalomGeneralas();
    ASSERT_FALSE(dm->MT_kurzusalkalom.IsEmpty());

    window = std::make_unique<TForm2>(*dmk, nullptr);
    window->show();
    const std::vector<std::string> told = clickAnsweringBoxes(window->B2);
    ASSERT_THAT(told, SizeIs(15));
    EXPECT_THAT(told, Each(EndsWith(" másolás kész")));

    openDatabase();
    int accentedTexts = 0, dateTimes = 0;
    for (const TDMK::TMasolas &copy : dmk->Masolasok()) {
        TztrMemTable &source = copy.source;
        const std::string name = copy.destination.TableName();
        const std::unique_ptr<TADOTable> copied = databaseTable(name);
        ASSERT_GT(source.RecordCount(), 0) << name;
        ASSERT_EQ(copied->RecordCount(), source.RecordCount()) << name;
        source.First();
        for (int row = 1; !source.Eof(); source.Next(), copied->Next(), ++row) {
            for (const auto &field : source.Fields()) {
                if (field->FieldKind() != fkData)
                    continue;
                const TField *value = copied->FieldByName(field->FieldName());
                SCOPED_TRACE(name + "." + field->FieldName() + " row " + std::to_string(row));
                if (field->DataType() == ftDateTime) {
                    // The database keeps milliseconds.
                    EXPECT_NEAR(value->AsDateTime(), field->AsDateTime(), 0.5 / 86400000);
                    ++dateTimes;
                } else {
                    EXPECT_EQ(value->AsString(), field->AsString());
                    accentedTexts += hasAccent(field->AsString()) ? 1 : 0;
                }
            }
        }
    }
    EXPECT_GT(accentedTexts, 0);
    EXPECT_GT(dateTimes, 0);

    EXPECT_TRUE(clickAnsweringBoxes(window->B1).empty()) << "emptying asks nothing and tells nothing";
    for (TADOTable *table : dmk->Tablak())
        EXPECT_EQ(databaseTable(table->TableName())->RecordCount(), 0) << table->TableName();
}

TEST_F(CopyDatabaseSetup, ADatabaseFileCanBeNamedAndItsConnectionIsWritten)
{
    const fs::path named = folder / "másolat" / "órarend.db";
    fs::create_directory(folder / "másolat");
    ASSERT_EQ(runSetup({QString::fromStdString(named.string())}), 0) << written;
    EXPECT_TRUE(fs::exists(named));
    startProgram();
    EXPECT_TRUE(dmk->Conn.Connected());
}

// A second run, a connection file naming another database, a folder without the data files and a
// database path the connection file cannot hold are refused, and no file of the folder changes.
TEST_F(CopyDatabaseSetup, RefusedRunSaysWhyAndChangesNoFile)
{
    const struct {
        std::function<void(CopyDatabaseSetup &)> prepare;
        const char *databaseName; // the command's own choice when none
        const char *says;
    } cases[] = {
        {[](CopyDatabaseSetup &test) {
             ASSERT_EQ(test.runSetup(), 0) << test.written;
             test.startProgram();
             test.openDatabase();
             test.database.Execute("insert into terem (terem_id, terem_kod) values (7, 'megmarad')");
             test.database.Close();
         },
         nullptr, "exists already"},
        {[](CopyDatabaseSetup &test) {
             std::ofstream(test.folder / "provider.csv", std::ios::binary)
                 << "provider\r\nProvider=MSDASQL.1;Driver=SQLite3;Database=/somewhere/else.db;\r\n";
         },
         nullptr, "/somewhere/else.db"},
        {[](CopyDatabaseSetup &test) { fs::remove(test.folder / "targy.csv"); }, nullptr, "targy.csv"},
        {[](CopyDatabaseSetup &) {}, "a;b.db", "cannot stand in provider.csv"},
        {[](CopyDatabaseSetup &) {}, "{copy}.db", "cannot stand in provider.csv"},
        {[](CopyDatabaseSetup &) {}, "日本.db", "cannot stand in provider.csv"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.says);
        TearDown();
        SetUp();
        c.prepare(*this);
        const std::map<std::string, std::string> before = files();

        EXPECT_EQ(runSetup(c.databaseName != nullptr ? QStringList{QString::fromStdString((folder / c.databaseName).string())}
                                                     : QStringList{}),
                  1);
        EXPECT_THAT(written, HasSubstr(c.says));
        EXPECT_EQ(files(), before);
    }
}
