#include "data/adoform.h"
#include "kozepretegTestSupport.h"
#include "platform/widgets/DBGrids.h"

#include <QApplication>
#include <QButtonGroup>
#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using testing::ElementsAre;
using testing::HasSubstr;

namespace {

// Answers every message box that comes up with OK, keeping its text.
class BoxAnswerer {
public:
    BoxAnswerer()
    {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (box == nullptr)
                return;
            texts.push_back(box->text().toStdString());
            QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
        });
        timer_.start(0);
    }

    std::vector<std::string> texts;

private:
    QTimer timer_;
};

class CopyWindow : public CopyDatabaseTest {
protected:
    void TearDown() override
    {
        window.reset();
        CopyDatabaseTest::TearDown();
    }

    TForm2 &showWindow()
    {
        window = std::make_unique<TForm2>(makeModule(), nullptr);
        window->show();
        return *window;
    }

    // Clicks a table's item where its round mark is; the item is wider than its text.
    void chooseTable(const QString &text)
    {
        QRadioButton *button = radio(text);
        ASSERT_NE(button, nullptr);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
    }

    QRadioButton *radio(const QString &text)
    {
        for (QRadioButton *button : window->RG_tabla->findChildren<QRadioButton *>())
            if (button->text() == text)
                return button;
        return nullptr;
    }

    BoxAnswerer boxes;
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

TEST_F(CopyWindow, ADatabaseThatDoesNotOpenIsToldAtShow)
{
    TForm2 &form = showWindow();
    EXPECT_THAT(boxes.texts, ElementsAre("Adatbázis megnyitási hiba"));
    EXPECT_EQ(form.Edit1->text(), "");
    EXPECT_EQ(form.Memo1->toPlainText(), "Driver={Microsoft Access Driver (*.mdb)};Dbq=brelvix_database.mdb;");
}

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

TEST_F(CopyWindow, GeneratingCopiesEveryTableAndTellsEachEnd)
{
    createTables();
    writeProvider(connectionString());
    TForm2 &form = showWindow();
    QTest::mouseClick(form.B2, Qt::LeftButton);

    ASSERT_EQ(boxes.texts.size(), 15u);
    EXPECT_EQ(boxes.texts.front(), "terem másolás kész");
    EXPECT_EQ(boxes.texts.back(), "kurzustargy másolás kész");
    EXPECT_EQ(rowCount("terem"), dm->MT_terem.RecordCount());
    EXPECT_EQ(rowCount("oktato"), dm->MT_oktato.RecordCount());
    EXPECT_EQ(rowCount("targy"), dm->MT_targy.RecordCount());
}

TEST_F(CopyWindow, GeneratingWithoutDatabaseTellsAndCopiesNothing)
{
    TForm2 &form = showWindow();
    boxes.texts.clear();
    QTest::mouseClick(form.B2, Qt::LeftButton);
    EXPECT_THAT(boxes.texts, ElementsAre("Adatbáziskapcsolat nem jött létre!"));
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
    QTest::mouseClick(form.B2, Qt::LeftButton);
    EXPECT_EQ(boxes.texts.size(), 15u);
    EXPECT_EQ(rowCount("terem"), dm->MT_terem.RecordCount());
}

TEST_F(CopyWindow, AFailingTableStopsTheCopyAndIsNamed)
{
    createTables("targy");
    writeProvider(connectionString());
    TForm2 &form = showWindow();
    QTest::mouseClick(form.B2, Qt::LeftButton);
    ASSERT_EQ(boxes.texts.size(), 3u);
    EXPECT_EQ(boxes.texts[0], "terem másolás kész");
    EXPECT_EQ(boxes.texts[1], "oktato másolás kész");
    EXPECT_THAT(boxes.texts[2], HasSubstr("targy"));
    EXPECT_THAT(boxes.texts[2], testing::Not(HasSubstr("kész")));
}

TEST_F(CopyWindow, EmptyingClearsEveryTableWithoutAsking)
{
    createTables();
    database.Execute("insert into terem (terem_id) values (1)");
    database.Execute("insert into kurzusmintaoktato (kurzusminta_id) values (1)");
    writeProvider(connectionString());
    TForm2 &form = showWindow();
    QTest::mouseClick(form.B1, Qt::LeftButton);
    EXPECT_TRUE(boxes.texts.empty());
    EXPECT_EQ(rowCount("terem"), 0);
    EXPECT_EQ(rowCount("kurzusmintaoktato"), 0);
}

TEST_F(CopyWindow, EmptyingTellsTheTableItStoppedAt)
{
    createTables("kurzus");
    writeProvider(connectionString());
    TForm2 &form = showWindow();
    QTest::mouseClick(form.B1, Qt::LeftButton);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_THAT(boxes.texts[0], HasSubstr("delete from kurzus"));
}

TEST_F(CopyWindow, ChoosingATableShowsItInTheGrid)
{
    createTables();
    writeProvider(connectionString());
    TForm2 &form = showWindow();
    makeModule().TablaMasolas(dm->MT_oktato, makeModule().oktato, 99999);
    chooseTable("oktato");
    EXPECT_EQ(form.RG_tablaItemIndex(), 1);
    ASSERT_EQ(form.DBGrid1->DataSet(), &makeModule().oktato);
    EXPECT_TRUE(makeModule().oktato.Active());
    EXPECT_EQ(makeModule().oktato.RecordCount(), dm->MT_oktato.RecordCount());
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(CopyWindow, ChoosingAMissingTableIsTold)
{
    createTables("kurzustargy");
    writeProvider(connectionString());
    showWindow();
    chooseTable("kurzustargy");
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_THAT(boxes.texts[0], HasSubstr("kurzustargy"));
}
