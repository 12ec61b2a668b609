#include "data/adoform.h"
#include "kozepretegTestSupport.h"
#include "platform/Cp1250.h"
#include "platform/widgets/DBGrids.h"
#include "support/ModalAnswerer.h"

#include <QApplication>
#include <QButtonGroup>
#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <fstream>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using testing::ElementsAre;
using testing::HasSubstr;

namespace {

class CopyWindow : public CopyDatabaseTest {
protected:
    ~CopyWindow() override { window.reset(); }

    TForm2 &showWindow()
    {
        window = std::make_unique<TForm2>(makeModule(), nullptr);
        answer([this] { window->show(); });
        return *window;
    }

    // Runs the routine answering every message box it opens with OK, keeping its text and the
    // lines below it.
    void answer(const std::function<void()> &routine)
    {
        answeringModals(routine, [this](QWidget &modal) {
            auto &box = static_cast<QMessageBox &>(modal);
            boxes.texts.push_back(box.text().toStdString());
            boxes.details.push_back(box.informativeText().toStdString());
            QTest::mouseClick(box.button(QMessageBox::Ok), Qt::LeftButton);
        });
    }

    void click(QAbstractButton *button)
    {
        answer([button] { QTest::mouseClick(button, Qt::LeftButton); });
    }

    // Clicks a table's item where its round mark is; the item is wider than its text.
    void chooseTable(const QString &text)
    {
        QRadioButton *button = radio(text);
        ASSERT_NE(button, nullptr);
        answer([button] { QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2)); });
    }

    QRadioButton *radio(const QString &text)
    {
        for (QRadioButton *button : window->RG_tabla->findChildren<QRadioButton *>())
            if (button->text() == text)
                return button;
        return nullptr;
    }

    struct {
        std::vector<std::string> texts, details;
    } boxes;
    std::unique_ptr<TForm2> window;
};

} // namespace

TEST_F(CopyWindow, ShowsTheConnectionSettingsAndOpensQuietly)
{
    createTables();
    writeProvider(connectionString());
    TForm2 &form = showWindow();
    EXPECT_EQ(form.windowTitle(), "Form2");
    EXPECT_EQ(form.Edit1->text().toStdString(), connectionString());
    EXPECT_EQ(form.Memo1->toPlainText().toStdString(), connectionString());
    EXPECT_TRUE(boxes.texts.empty());
    EXPECT_TRUE(makeModule().Conn.Connected());
}

// What the administrator reads under the failure, at show and again at "Generálás": the file,
// what was read from it, and the driver's own words.
struct ConnectionFailure {
    const char *name;
    std::string providerFile; // bytes of provider.csv; none when empty
    std::vector<std::string> toldLines;
    std::string connectionInUse;
};

const std::string designTimeConnection = "Driver={Microsoft Access Driver (*.mdb)};Dbq=brelvix_database.mdb;";

void PrintTo(const ConnectionFailure &failure, std::ostream *out)
{
    *out << failure.name;
}

class CopyWindowFailure : public CopyWindow, public testing::WithParamInterface<ConnectionFailure> {};

TEST_P(CopyWindowFailure, TellsWhyTheConnectionFailed)
{
    if (!GetParam().providerFile.empty())
        std::ofstream(folder / "provider.csv", std::ios::binary) << GetParam().providerFile;
    TForm2 &form = showWindow();
    ASSERT_THAT(boxes.texts, ElementsAre("Adatbázis megnyitási hiba"));
    EXPECT_EQ(form.Edit1->text(), "");
    EXPECT_EQ(form.Memo1->toPlainText().toStdString(), GetParam().connectionInUse);
    click(form.B2);
    ASSERT_THAT(boxes.texts, ElementsAre("Adatbázis megnyitási hiba", "Adatbáziskapcsolat nem jött létre!"));

    for (const std::string &told : boxes.details) {
        EXPECT_THAT(told, HasSubstr("Kapcsolati fájl: " + (folder / "provider.csv").string()));
        for (const std::string &line : GetParam().toldLines)
            EXPECT_THAT(told, HasSubstr(line));
    }
}

INSTANTIATE_TEST_SUITE_P(
    ProviderFiles, CopyWindowFailure,
    testing::Values(
        ConnectionFailure{"Missing",
                          "",
                          {"A fájl nem olvasható", "No such file", "Microsoft Access Driver"},
                          designTimeConnection},
        ConnectionFailure{"WithoutHeading",
                          "Driver=SQLite3;Database=x.db\r\n",
                          {"nincs kapcsolati szöveg", "\"provider\" fejléc"},
                          designTimeConnection},
        ConnectionFailure{"UnknownDriver",
                          "provider\r\nDriver={Nincs ilyen};Database=x.db\r\n",
                          {"Beolvasott kapcsolati szöveg: Driver={Nincs ilyen};Database=x.db",
                           "Az adatbázis-illesztő válasza: Cannot open the database: ["},
                          "Driver={Nincs ilyen};Database=x.db"},
        // The file is cp1250: an accented path reads as typed and reaches the driver as UTF-8.
        ConnectionFailure{"AccentedFolderThatIsMissing",
                          "provider\r\nDriver=SQLite3;Database=/nincs/\xE1rv\xEDzt\xFBr\xF5/x.db\r\n",
                          {"Beolvasott kapcsolati szöveg: Driver=SQLite3;Database=/nincs/árvíztűrő/x.db",
                           "[SQLite]connect failed"},
                          "Driver=SQLite3;Database=/nincs/árvíztűrő/x.db"},
        ConnectionFailure{"Utf8File",
                          "provider\r\nDriver=SQLite3;Database=/nincs/\xC3\xA1rv\xC3\xADzt\xC5\xB1r\xC5\x91/x.db\r\n",
                          {"UTF-8 kódolásúnak látszik"},
                          // Each byte read as a cp1250 character.
                          cp1250ToUtf8("Driver=SQLite3;Database=/nincs/\xC3\xA1rv\xC3\xADzt\xC5\xB1r\xC5\x91/x.db")},
        ConnectionFailure{"ByteOrderMark",
                          "\xEF\xBB\xBFprovider\r\nDriver=SQLite3;Database=x.db\r\n",
                          {"A fájl nem olvasható", "bájtsorrend-jellel (BOM)"},
                          designTimeConnection}),
    [](const testing::TestParamInfo<ConnectionFailure> &info) { return std::string(info.param.name); });

TEST_F(CopyWindow, ListsTheFifteenTablesInThreeColumns)
{
    showWindow();
    const QList<QRadioButton *> radios = window->RG_tabla->findChildren<QRadioButton *>();
    ASSERT_EQ(radios.size(), 15);
    // Five to a column, filled downwards: terem, kurzusminta and alkalom head the columns.
    EXPECT_EQ(radio("terem")->x(), radio("mintatantervtargy")->x());
    EXPECT_EQ(radio("kurzusminta")->x(), radio("kurzus")->x());
    EXPECT_EQ(radio("alkalom")->x(), radio("kurzustargy")->x());
    EXPECT_LT(radio("terem")->x(), radio("kurzusminta")->x());
    EXPECT_LT(radio("kurzusminta")->x(), radio("alkalom")->x());
    EXPECT_EQ(radio("terem")->y(), radio("kurzusminta")->y());
    EXPECT_EQ(radio("terem")->y(), radio("alkalom")->y());
    EXPECT_LT(radio("terem")->y(), radio("oktato")->y());
}

TEST_F(CopyWindow, GeneratingOpensADatabaseThatCameAfterTheStart)
{
    databaseFile = folder / "later" / "brelvix.db";
    writeProvider(connectionString());
    TForm2 &form = showWindow();
    ASSERT_THAT(boxes.texts, ElementsAre("Adatbázis megnyitási hiba"));
    boxes.texts.clear();

    std::filesystem::create_directory(folder / "later");
    createTables();
    click(form.B2);
    EXPECT_EQ(boxes.texts.size(), 15u);
    EXPECT_EQ(rowCount("terem"), dm->MT_terem.RecordCount());
}

TEST_F(CopyWindow, AFailingTableStopsTheCopyAndIsNamed)
{
    createTables("targy");
    writeProvider(connectionString());
    TForm2 &form = showWindow();
    click(form.B2);
    ASSERT_EQ(boxes.texts.size(), 3u);
    EXPECT_EQ(boxes.texts[0], "terem másolás kész");
    EXPECT_EQ(boxes.texts[1], "oktato másolás kész");
    EXPECT_THAT(boxes.texts[2], HasSubstr("targy"));
    EXPECT_THAT(boxes.texts[2], testing::Not(HasSubstr("kész")));
}

TEST_F(CopyWindow, EmptyingTellsTheTableItStoppedAtAndLeavesTheLaterOnes)
{
    createTables("kurzus");
    database.Execute("insert into orarend (orarend_id) values (1)");
    database.Execute("insert into alkalom (alkalom_id) values (1)");
    writeProvider(connectionString());
    TForm2 &form = showWindow();
    click(form.B1);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_THAT(boxes.texts[0], HasSubstr("delete from kurzus"));
    // orarend comes before kurzus, alkalom after it.
    EXPECT_EQ(rowCount("orarend"), 0);
    EXPECT_EQ(rowCount("alkalom"), 1);
}

TEST_F(CopyWindow, ChoosingATableShowsItInTheGridAndAMissingOneIsTold)
{
    createTables("kurzustargy");
    writeProvider(connectionString());
    TForm2 &form = showWindow();
    makeModule().TablaMasolas(dm->MT_oktato, makeModule().oktato, 99999);
    chooseTable("oktato");
    EXPECT_EQ(form.RG_tablaItemIndex(), 1);
    ASSERT_EQ(form.DBGrid1->DataSet(), &makeModule().oktato);
    EXPECT_TRUE(makeModule().oktato.Active());
    EXPECT_EQ(makeModule().oktato.RecordCount(), dm->MT_oktato.RecordCount());
    EXPECT_TRUE(boxes.texts.empty());

    chooseTable("kurzustargy");
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_THAT(boxes.texts[0], HasSubstr("kurzustargy"));
}
