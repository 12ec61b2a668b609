// The copy database as an administrator makes and fills it: the setup command on a program folder,
// the database module reading its connection file, and the copy window driven by clicks, against
// SQLite's ODBC driver.

#include "DataFolder.h"
#include "data/adoform.h"
#include "data/kozepreteg.h"
#include "platform/widgets/DBGrids.h"
#include "support/ModalAnswerer.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gmock/gmock.h>

using testing::ElementsAre;
using testing::HasSubstr;

namespace {

class CopyDatabase : public DataFolder {
protected:
    void TearDown() override
    {
        window.reset();
        dmk.reset();
        database.Close();
    }

    // Commits without waiting for the disk: every copied row is a transaction of its own.
    std::string connectionString(const fs::path &file) const
    {
        return "Provider=MSDASQL.1;Driver=SQLite3;Database=" + file.string() + ";SyncPragma=OFF;";
    }
    std::string connectionString() const { return connectionString(folder / "brelvix.db"); }

    // Runs the setup command on the folder; returns its exit code and keeps what it wrote.
    int runSetup(const QStringList &arguments = {})
    {
        QProcess setup;
        setup.start(BRELVIX_MAKE_COPYDB, QStringList{QString::fromStdString(folder.path().string())} + arguments);
        EXPECT_TRUE(setup.waitForFinished(-1));
        said = (setup.readAllStandardError() + setup.readAllStandardOutput()).toStdString();
        return setup.exitStatus() == QProcess::NormalExit ? setup.exitCode() : -1;
    }

    // The program's start on the folder, then the copy window, answering the boxes it shows.
    void startProgram(bool showWindow = true)
    {
        window.reset();
        dmk.reset();
        if (!dm)
            dm = std::make_unique<TDM>(environment());
        dmk = std::make_unique<TDMK>(*dm);
        window = std::make_unique<TForm2>(*dmk, nullptr);
        if (showWindow)
            answer([this] { window->show(); });
    }

    // Runs the routine, keeping the text and details of every box it shows.
    void answer(const std::function<void()> &routine)
    {
        answeringModals(routine, [this](QWidget &modal) {
            auto &box = static_cast<QMessageBox &>(modal);
            boxes.push_back(box.text().toStdString());
            details.push_back(box.informativeText().toStdString());
            QTest::mouseClick(box.button(QMessageBox::Ok), Qt::LeftButton);
        });
    }
    void click(QAbstractButton *button) { answer([button] { QTest::mouseClick(button, Qt::LeftButton); }); }
    // A table's item is clicked where its round mark is; the item is wider than its text.
    QRadioButton *chooseTable(const QString &text)
    {
        for (QRadioButton *button : window->RG_tabla->findChildren<QRadioButton *>())
            if (button->text() == text) {
                answer([button] { QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2)); });
                return button;
            }
        ADD_FAILURE() << text.toStdString();
        return nullptr;
    }

    int rowCount(const std::string &table)
    {
        if (!database.Connected()) {
            database.SetConnectionString(connectionString());
            database.Open();
        }
        TADOTable reader;
        reader.SetConnection(&database);
        reader.SetTableName(table);
        reader.Open();
        return reader.RecordCount();
    }

    std::string said;
    std::vector<std::string> boxes, details;
    std::unique_ptr<TDM> dm;
    std::unique_ptr<TDMK> dmk;
    std::unique_ptr<TForm2> window;
    TADOConnection database;
};

bool hasAccent(const std::string &text)
{
    return std::any_of(text.begin(), text.end(), [](char c) { return (c & 0x80) != 0; });
}

} // namespace

TEST_F(CopyDatabase, SetUpByTheCommandThenFilledValueByValueAndEmptiedThroughTheWindow)
{
    copySample();
    ASSERT_EQ(runSetup(), 0) << said;
    EXPECT_THAT(said, HasSubstr("Created " + (folder / "brelvix.db").string()));
    startProgram();
    ASSERT_TRUE(dmk->Conn.Connected()) << "the program did not open the database the command named";
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(window->Edit1->text().toStdString(), connectionString());
    EXPECT_EQ(window->Memo1->toPlainText().toStdString(), connectionString());
    // Fifteen tables, five to a column, filled downwards.
    const QList<QRadioButton *> radios = window->RG_tabla->findChildren<QRadioButton *>();
    ASSERT_EQ(radios.size(), 15);
    EXPECT_EQ(radios[0]->x(), radios[4]->x());
    EXPECT_LT(radios[4]->x(), radios[5]->x());
    EXPECT_LT(radios[5]->x(), radios[10]->x());
    EXPECT_EQ(radios[0]->y(), radios[10]->y());
    EXPECT_LT(radios[0]->y(), radios[1]->y());

    // The links are made by the administrator's regeneration first.
    dm->KurzusalkalomGeneralas();
    click(window->B2);
    ASSERT_EQ(boxes.size(), 15U);
    EXPECT_EQ(boxes.front(), "terem másolás kész");
    EXPECT_THAT(boxes, testing::Each(testing::EndsWith(" másolás kész")));
    int accentedTexts = 0, dateTimes = 0;
    for (const TDMK::TMasolas &copy : dmk->Masolasok()) {
        TztrMemTable &source = copy.source;
        TADOTable copied;
        copied.SetConnection(&dmk->Conn);
        copied.SetTableName(copy.destination.TableName());
        copied.Open();
        ASSERT_GT(source.RecordCount(), 0) << copied.TableName();
        ASSERT_EQ(copied.RecordCount(), source.RecordCount()) << copied.TableName();
        source.First();
        for (int row = 1; !source.Eof(); source.Next(), copied.Next(), ++row) {
            for (const auto &field : source.Fields()) {
                if (field->FieldKind() != fkData)
                    continue;
                const TField *value = copied.FieldByName(field->FieldName());
                SCOPED_TRACE(copied.TableName() + "." + field->FieldName() + " row " + std::to_string(row));
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

    chooseTable("oktato");
    EXPECT_EQ(window->RG_tablaItemIndex(), 1);
    ASSERT_EQ(window->DBGrid1->DataSet(), &dmk->oktato);
    EXPECT_TRUE(dmk->oktato.Active());
    click(window->B1);
    EXPECT_EQ(boxes.size(), 15U) << "emptying asks nothing and tells nothing";
    for (TADOTable *table : dmk->Tablak())
        EXPECT_EQ(rowCount(table->TableName()), 0) << table->TableName();
}

// A database file of the administrator's choice, a second run, a connection file naming another
// database, a folder without the data files, a database already holding a table and a path the
// connection file cannot hold: only the first is set up, the others change no file.
TEST_F(CopyDatabase, SetupOfADatabaseThatCannotBeUsedIsRefusedAndChangesNoFile)
{
    fs::create_directory(folder / "másolat");
    ASSERT_EQ(runSetup({QString::fromStdString((folder / "másolat/órarend.db").string())}), 0) << said;
    startProgram(false);
    EXPECT_TRUE(dmk->Conn.Connected());
    EXPECT_EQ(dmk->Provider, utf8ToCp1250(connectionString(folder / "másolat/órarend.db")));
    fs::remove_all(folder / "másolat");
    fs::remove(folder / "provider.csv");

    const struct {
        std::function<void()> prepare;
        const char *databaseName; // the command's own choice when none
        const char *says;
    } cases[] = {
        {[this] { ASSERT_EQ(runSetup(), 0) << said; }, nullptr, "exists already"},
        {[this] {
             write("provider.csv", "provider\r\nProvider=MSDASQL.1;Driver=SQLite3;Database=/somewhere/else.db;\r\n");
         },
         nullptr, "már egy másik adatbázist nevez meg (Provider=MSDASQL.1;Driver=SQLite3;Database=/somewhere/else.db;)"},
        {[this] { fs::remove(folder / "targy.csv"); }, nullptr, "targy.csv"},
        {[] {}, "a;b.db", "cannot stand in provider.csv"},
        {[] {}, "{copy}.db", "cannot stand in provider.csv"},
        {[] {}, "日本.db", "cannot stand in provider.csv"},
    };
    const Files healthy = snapshot();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.says);
        restore(healthy);
        c.prepare();
        const Files before = snapshot();
        EXPECT_EQ(runSetup(c.databaseName ? QStringList{QString::fromStdString((folder / c.databaseName).string())}
                                          : QStringList{}),
                  1);
        EXPECT_THAT(said, HasSubstr(c.says));
        EXPECT_EQ(snapshot(), before);
    }

    // The tables are made in one transaction: the ones before the clash are not left behind.
    restore(healthy);
    rowCount("sqlite_master");
    database.Execute("create table kurzus (kurzus_id integer)");
    database.Execute("insert into kurzus (kurzus_id) values (5)");
    startProgram(false);
    EXPECT_THROW(dmk->createCopyDatabase(connectionString()), EADOError);
    EXPECT_EQ(rowCount("kurzus"), 1);
    EXPECT_THROW(rowCount("terem"), EADOError);
    EXPECT_FALSE(fs::exists(folder / "provider.csv"));
}

// Without a working connection the program starts as usual; the window tells the administrator
// at show and again at "Generálás" the file, what was read from it, and the driver's own words.
TEST_F(CopyDatabase, ConnectionThatDoesNotOpenIsExplainedAtShowAndAtGenerating)
{
    const std::string designTime = "Driver={Microsoft Access Driver (*.mdb)};Dbq=brelvix_database.mdb;";
    const struct {
        std::string providerFile; // none when empty
        std::vector<std::string> told;
        std::string connectionInUse;
    } cases[] = {
        {"", {"A fájl nem olvasható", "No such file", "Microsoft Access Driver"}, designTime},
        {"/", {"A fájl nem olvasható"}, designTime},
        {"Driver=SQLite3;Database=x.db\r\n", {"nincs kapcsolati szöveg", "\"provider\" fejléc"}, designTime},
        {"provider\r\nDriver={Nincs ilyen};Database=x.db\r\n",
         {"Beolvasott kapcsolati szöveg: Driver={Nincs ilyen};Database=x.db",
          "Az adatbázis-illesztő válasza: Cannot open the database: ["},
         "Driver={Nincs ilyen};Database=x.db"},
        // The file is cp1250: an accented path reads as typed and reaches the driver as UTF-8.
        {"provider\r\nDriver=SQLite3;Database=/nincs/\xE1rv\xEDzt\xFBr\xF5/x.db\r\n",
         {"Beolvasott kapcsolati szöveg: Driver=SQLite3;Database=/nincs/árvíztűrő/x.db", "[SQLite]connect failed"},
         "Driver=SQLite3;Database=/nincs/árvíztűrő/x.db"},
        {"provider\r\nDriver=SQLite3;Database=/nincs/\xC3\xA1rv\xC3\xADzt\xC5\xB1r\xC5\x91/x.db\r\n",
         {"A fájl UTF-8 kódolásúnak látszik; a kapcsolati szöveget cp1250 kódolással kell menteni."},
         cp1250ToUtf8("Driver=SQLite3;Database=/nincs/\xC3\xA1rv\xC3\xADzt\xC5\xB1r\xC5\x91/x.db")},
        {"\xEF\xBB\xBFprovider\r\nDriver=SQLite3;Database=x.db\r\n", {"bájtsorrend-jellel (BOM)"}, designTime},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.connectionInUse + " " + c.told.back());
        fs::remove_all(folder / "provider.csv");
        if (c.providerFile == "/")
            fs::create_directory(folder / "provider.csv");
        else if (!c.providerFile.empty())
            write("provider.csv", c.providerFile);
        boxes.clear();
        details.clear();
        window.reset();
        dm.reset();
        startProgram();
        EXPECT_FALSE(dmk->Conn.Connected());
        EXPECT_EQ(dmk->Provider, "");
        EXPECT_EQ(window->Edit1->text(), "");
        EXPECT_EQ(window->Memo1->toPlainText().toStdString(), c.connectionInUse);
        click(window->B2);
        ASSERT_THAT(boxes, ElementsAre("Adatbázis megnyitási hiba", "Adatbáziskapcsolat nem jött létre!"));
        for (const std::string &told : details) {
            EXPECT_THAT(told, HasSubstr("Kapcsolati fájl: " + (folder / "provider.csv").string() + "\n"));
            for (const std::string &line : c.told)
                EXPECT_THAT(told, HasSubstr(line));
        }
    }

    // "Generálás" opens a database that came after the window was shown.
    fs::remove_all(folder / "provider.csv");
    write("provider.csv", "provider\r\n" + connectionString(folder / "later/brelvix.db") + "\r\n");
    boxes.clear();
    window.reset();
    dm.reset();
    startProgram();
    fs::create_directory(folder / "later");
    dmk->createCopyDatabase(connectionString(folder / "later/brelvix.db"));
    dmk->Conn.Close();
    click(window->B2);
    EXPECT_EQ(boxes.size(), 1U + 15U);
    EXPECT_EQ(dmk->terem.RecordCount(), dm->MT_terem.RecordCount());
}

// A copy lifts the window's filter and keeps its current row. A row the database refuses stops
// the copy naming table and row, the rows before it staying; the window tells a failing table at
// "Generálás", a failing statement at "Ürítés" and a table it cannot open when chosen.
TEST_F(CopyDatabase, CopyStopsAtWhatTheDatabaseRefusesAndTellsWhere)
{
    startProgram(false);
    dmk->createCopyDatabase(connectionString());
    RecordingProgress progress;
    dmk->SetProgress(&progress);
    TztrMemTable &rooms = dm->MT_terem;
    const int all = rooms.RecordCount();
    rooms.First();
    rooms.MoveBy(4);
    const std::string current = rooms.FieldByName("terem_id")->AsString();
    dmk->terem.Open();
    EXPECT_EQ(dmk->TablaMasolas(rooms, dmk->terem, 99999), all);
    std::vector<std::string> shown{"start " + std::to_string(all) + " Másolás: terem"};
    shown.resize(all + 1, "step");
    shown.push_back("finish");
    EXPECT_EQ(progress.events, shown);
    EXPECT_EQ(rooms.FieldByName("terem_id")->AsString(), current);
    rooms.SetFilter("terem_kapacitas > 1000000");
    rooms.SetFiltered(true);
    EXPECT_EQ(dmk->TablaMasolas(rooms, dmk->terem, 3), 3);
    EXPECT_TRUE(rooms.Filtered() && rooms.IsEmpty());
    EXPECT_EQ(dmk->terem.RecordCount(), all + 3) << "the open table shows what was added";
    rooms.SetFiltered(false);

    dmk->Conn.Execute("delete from terem");
    dmk->Conn.Execute("create unique index terem_egyedi on terem (terem_id)");
    rooms.First();
    rooms.MoveBy(2);
    dmk->Conn.Execute("insert into terem (terem_id) values (" + rooms.FieldByName("terem_id")->AsString() + ")");
    try {
        dmk->TablaMasolas(rooms, dmk->terem, 99999);
        ADD_FAILURE() << "the copy reported success";
    } catch (const ECopyError &error) {
        EXPECT_EQ(error.TableName(), "terem");
        EXPECT_EQ(error.Row(), 3);
        EXPECT_THAT(error.what(), HasSubstr("A(z) terem tábla másolása a(z) 3. sornál megszakadt; az előtte lévő 2 "
                                            "sor bekerült az adatbázisba.\n"));
        EXPECT_THAT(error.what(), HasSubstr("UNIQUE"));
    }
    EXPECT_EQ(rowCount("terem"), 1 + 2);
    EXPECT_EQ(progress.events.back(), "finish");
    EXPECT_FALSE(dmk->Conn.InTransaction());
    EXPECT_EQ(dmk->terem.State(), dsBrowse);
    dmk->Conn.Close();
    try {
        dmk->TablaMasolas(rooms, dmk->terem, 99999);
        ADD_FAILURE() << "the copy reported success";
    } catch (const ECopyError &error) {
        EXPECT_EQ(error.Row(), 1);
        EXPECT_THAT(error.what(), HasSubstr("closed"));
    }

    database.Execute("drop table targy");
    database.Execute("drop table kurzus");
    database.Execute("delete from terem");
    database.Execute("insert into orarend (orarend_id) values (1)");
    startProgram();
    click(window->B2);
    ASSERT_EQ(boxes.size(), 3U);
    EXPECT_THAT(std::vector(boxes.begin(), boxes.end() - 1), ElementsAre("terem másolás kész", "oktato másolás kész"));
    EXPECT_THAT(boxes.back(), HasSubstr("targy"));
    EXPECT_THAT(boxes.back(), testing::Not(HasSubstr("kész")));
    click(window->B1);
    ASSERT_EQ(boxes.size(), 4U);
    EXPECT_THAT(boxes.back(), HasSubstr("delete from kurzus"));
    // orarend is emptied before kurzus, terem after it.
    EXPECT_EQ(rowCount("orarend"), 0);
    EXPECT_EQ(rowCount("terem"), all);
    chooseTable("kurzus");
    ASSERT_EQ(boxes.size(), 5U);
    EXPECT_THAT(boxes.back(), HasSubstr("kurzus"));
}
