// The copy database as an administrator makes and fills it: the setup command on a program folder,
// the database module reading its connection file, and the copy window driven by clicks, against
// SQLite's ODBC driver.

#include "DataFolder.h"
#include "data/adoform.h"
#include "data/kozepreteg.h"
#include "platform/InstanceLock.h"
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

class CopyDatabase : public DataFolder
{
protected:
    // As the setup command writes it.
    std::string connection() const
    {
        return "Provider=MSDASQL.1;Driver=SQLite3;Database=" + (folder / "brelvix.db").string() +
               ";SyncPragma=OFF;";
    }
    // Runs the setup command on the folder and a database file in it; returns its exit code and
    // keeps what it wrote.
    int runSetup(const std::string &database = "brelvix.db")
    {
        QProcess setup;
        setup.start(BRELVIX_MAKE_COPYDB,
                    {QString::fromStdString(folder.path()), QString::fromStdString(folder / database)});
        EXPECT_TRUE(setup.waitForFinished(-1));
        said = (setup.readAllStandardError() + setup.readAllStandardOutput()).toStdString();
        return setup.exitStatus() == QProcess::NormalExit ? setup.exitCode() : -1;
    }
    // The program's start on the folder and its copy window, shown unless told otherwise.
    void startProgram(bool show = true)
    {
        window.reset(), dmk.reset(), dm.reset();
        dm = std::make_unique<TDM>(environment());
        dmk = std::make_unique<TDMK>(*dm);
        window = std::make_unique<TForm2>(*dmk, nullptr);
        if (show)
            answer([this] { window->show(); });
    }
    void answer(const std::function<void()> &routine)
    {
        answeringModals(routine, [this](QWidget &modal) {
            auto &box = static_cast<QMessageBox &>(modal);
            boxes.push_back(box.text().toStdString());
            details.push_back(box.informativeText().toStdString());
            QTest::mouseClick(box.button(QMessageBox::Ok), Qt::LeftButton);
        });
    }
    void click(QAbstractButton *button)
    {
        answer([button] { QTest::mouseClick(button, Qt::LeftButton); });
    }
    int rowCount(const std::string &table)
    {
        TADOTable reader;
        reader.SetConnection(&dmk->Conn);
        reader.SetTableName(table);
        reader.Open();
        return reader.RecordCount();
    }

    std::string said;
    std::vector<std::string> boxes, details;
    std::unique_ptr<TDM> dm;
    std::unique_ptr<TDMK> dmk;
    std::unique_ptr<TForm2> window;
};

} // namespace

// The command refuses, changing no file, a connection file naming another database.
TEST_F(CopyDatabase, SetUpByTheCommandThenFilledValueByValueAndEmptiedThroughTheWindow)
{
    copySample();
    write("provider.csv", "provider\r\nDriver=SQLite3;Database=/else.db\r\n");
    const Files before = snapshot();
    EXPECT_EQ(runSetup(), 1);
    EXPECT_THAT(said, HasSubstr("már egy másik adatbázist nevez meg (Driver=SQLite3;Database=/else.db); "
                                "nem változott semmi."));
    EXPECT_EQ(snapshot(), before);
    fs::remove(folder / "provider.csv");
    ASSERT_EQ(runSetup(), 0) << said;

    startProgram();
    ASSERT_TRUE(dmk->Conn.Connected()) << "the program did not open the database the command named";
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(window->Edit1->text().toStdString() + window->Memo1->toPlainText().toStdString(),
              connection() + connection());
    // Fifteen tables, five to a column, filled downwards.
    const QList<QRadioButton *> items = window->RG_tabla->findChildren<QRadioButton *>();
    ASSERT_EQ(items.size(), 15);
    EXPECT_TRUE(items[4]->x() < items[5]->x() && items[0]->y() == items[5]->y() &&
                items[4]->y() > items[3]->y());
    // The links are made by the administrator's regeneration first.
    dm->KurzusalkalomGeneralas();
    click(window->B2);
    ASSERT_EQ(boxes.size(), 15U);
    EXPECT_EQ(boxes.front(), "terem másolás kész");
    EXPECT_THAT(boxes, testing::Each(testing::EndsWith(" másolás kész")));
    for (const TDMK::TMasolas &copy : dmk->Masolasok()) {
        EXPECT_FALSE(copy.source.IsEmpty()) << copy.destination.TableName();
        EXPECT_EQ(rows(copy.destination), rows(copy.source)) << copy.destination.TableName();
    }

    // Clicks where the item's round mark is; the item is wider than its text.
    QTest::mouseClick(items[0], Qt::LeftButton, {}, QPoint(8, items[0]->height() / 2));
    EXPECT_EQ(window->RG_tablaItemIndex(), 0);
    EXPECT_EQ(window->DBGrid1->DataSet(), &dmk->terem);
    click(window->B1);
    EXPECT_EQ(boxes.size(), 15U) << "emptying asks nothing and tells nothing";
    for (TADOTable *table : dmk->Tablak())
        EXPECT_EQ(rowCount(table->TableName()), 0) << table->TableName();
}

// Without a working connection the program starts as usual, and the window tells at show and
// again at "Generálás" which connection file it read and why it gave no connection. A copy lifts
// the window's filter and keeps its current row; a row the database refuses stops it, naming table
// and row, the rows before it staying. The window tells a failing table at "Generálás".
TEST_F(CopyDatabase, FailuresAreToldWithWhereTheyHappenedAndTheWorkBeforeThemStays)
{
    startProgram();
    EXPECT_EQ(dmk->Provider + window->Edit1->text().toStdString(), "");
    click(window->B2);
    ASSERT_THAT(boxes, ElementsAre("Adatbázis megnyitási hiba", "Adatbáziskapcsolat nem jött létre!"));
    EXPECT_THAT(details,
                testing::Each(testing::StartsWith("Kapcsolati fájl: " + (folder / "provider.csv").string() +
                                                  "\nA fájl nem olvasható: ")));
    fs::remove(folder / "provider.csv");
    startProgram(false);
    dmk->createCopyDatabase(connection());
    RecordingProgress progress;
    dmk->SetProgress(&progress);
    TztrMemTable &rooms = dm->MT_terem;
    const int all = rooms.RecordCount();
    rooms.First();
    rooms.MoveBy(4);
    const std::string current = rooms.FieldByName("terem_id")->AsString();
    dmk->terem.Open();
    EXPECT_EQ(dmk->TablaMasolas(rooms, dmk->terem, 99999), all);
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
    dmk->Conn.Execute("insert into terem (terem_id) values (" + rooms.FieldByName("terem_id")->AsString() +
                      ")");
    try {
        dmk->TablaMasolas(rooms, dmk->terem, 99999);
        ADD_FAILURE() << "the copy reported success";
    } catch (const ECopyError &error) {
        EXPECT_EQ(error.TableName() + " " + std::to_string(error.Row()), "terem 3");
        EXPECT_THAT(error.what(),
                    HasSubstr("A(z) terem tábla másolása a(z) 3. sornál megszakadt; az előtte lévő 2 "
                              "sor bekerült az adatbázisba.\n"));
        EXPECT_THAT(error.what(), HasSubstr("UNIQUE"));
    }
    EXPECT_EQ(rowCount("terem"), 1 + 2);
    EXPECT_EQ(progress.events.back(), "finish");
    EXPECT_TRUE(!dmk->Conn.InTransaction() && dmk->terem.State() == dsBrowse);

    dmk->Conn.Execute("drop table targy");
    dmk->Conn.Execute("delete from terem");
    boxes.clear();
    startProgram();
    click(window->B2);
    EXPECT_THAT(boxes, ElementsAre("terem másolás kész", "oktato másolás kész",
                                   testing::AllOf(HasSubstr("targy"), testing::Not(HasSubstr("kész")))));
}

// A second copy without emptying appends every row again. Emptying a database that lacks one of
// the tables stops there with the statement's error: the tables emptied before it are empty, the
// later ones keep their rows; choosing the missing table in the list tells so as well.
TEST_F(CopyDatabase, ASecondCopyAppendsAndEmptyingStopsAtAMissingTable)
{
    copySample();
    ASSERT_EQ(runSetup(), 0) << said;
    startProgram();
    click(window->B2);
    click(window->B2);
    EXPECT_EQ(rowCount("oktato"), 2 * dm->MT_oktato.RecordCount());
    dmk->Conn.Execute("drop table kurzus");
    boxes.clear();
    startProgram();
    click(window->B1);
    ASSERT_EQ(boxes.size(), 1U);
    EXPECT_THAT(boxes[0], HasSubstr("kurzus"));
    EXPECT_EQ(rowCount("orarend"), 0);
    EXPECT_EQ(rowCount("alkalom"), 2 * dm->MT_alkalom.RecordCount());
    QRadioButton *missing = window->RG_tabla->findChildren<QRadioButton *>().at(9);
    ASSERT_EQ(missing->text(), QStringLiteral("kurzus"));
    answer([missing] { QTest::mouseClick(missing, Qt::LeftButton, {}, QPoint(8, missing->height() / 2)); });
    ASSERT_EQ(boxes.size(), 2U);
    EXPECT_THAT(boxes[1], HasSubstr("kurzus"));
}

// A second run, a database path the connection file cannot hold, a folder without its data files
// and a folder the planner is running in are refused, saying why, and no file of the folder changes.
TEST_F(CopyDatabase, TheCommandRefusesWhatItCannotSetUpAndChangesNoFile)
{
    copySample();
    ASSERT_EQ(runSetup(), 0) << said;
    for (const auto &[database, says] : {std::pair{"brelvix.db", "brelvix.db exists already; nothing was changed"},
                                         {"a;b.db", "cannot stand in provider.csv"},
                                         {"{copy}.db", "cannot stand in provider.csv"},
                                         {"日本.db", "cannot stand in provider.csv"},
                                         {"masik.db", "targy.csv"}}) {
        if (std::string(database) == "masik.db")
            fs::remove(folder / "targy.csv");
        const Files before = snapshot();
        EXPECT_EQ(runSetup(database), 1) << database;
        EXPECT_THAT(said, HasSubstr(says));
        EXPECT_EQ(snapshot(), before) << database;
    }
    // A planner saving in the folder keeps its new file: the command does not start there.
    copySample({"targy.csv"});
    const InstanceLock planner(programInstanceName((fs::canonical(folder.path()) / "").string()));
    ASSERT_TRUE(planner.isHeld());
    write("KK_alkalom.csv.4242.new", "a save under way");
    const Files before = snapshot();
    EXPECT_EQ(runSetup("harmadik.db"), 1);
    EXPECT_THAT(said, HasSubstr("the planner (or another tool) is running in"));
    EXPECT_EQ(snapshot(), before);
}

// A database file named in an accented folder of its own is made there, and the program's start
// opens it through the connection file the command wrote.
TEST_F(CopyDatabase, TheCommandMakesTheDatabaseItIsToldInAnAccentedFolder)
{
    copySample();
    fs::create_directory(folder / "másolat");
    ASSERT_EQ(runSetup("másolat/órarend.db"), 0) << said;
    EXPECT_TRUE(fs::exists(folder / "másolat" / "órarend.db"));
    startProgram(false);
    EXPECT_TRUE(dmk->Conn.Connected());
}
