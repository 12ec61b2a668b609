#include "dialogs/orarendek.h"

#include "dialogs/DialogTestSupport.h"
#include "platform/widgets/DBGrids.h"

#include <QLineEdit>
#include <QPushButton>

namespace {

using dialogtest::answeringModals;
using dialogtest::appendRow;

class TimetableSwitch : public dialogtest::DataModule {
protected:
    void SetUp() override
    {
        DataModule::SetUp();
        addTimetable(1, "Gépész BSc 1");
        addTimetable(2, "Gépész BSc 3");
        addTimetable(3, "Villamos BSc 1");
        addSubject(50, "GEMAN101", "Matematika I.");
        addCourse({.id = 10, .code = "GEMAN101-E-01", .targyId = 50}, {1, 3});
        addCourse({.id = 11, .code = "EGYEDI-01", .targyId = -1});
        dialog = std::make_unique<Torarend_valaszto>();
    }

    // Opens the switch for a course; `whileShown` acts on it before "Kilépés" closes it.
    void open(int kurzusId, const std::function<void(Torarend_valaszto &)> &whileShown = {})
    {
        dialog->KurzusId = kurzusId;
        answeringModals([&] { dialog->exec(); },
                        [&](QWidget &modal) {
                            ASSERT_EQ(&modal, dialog.get());
                            if (whileShown)
                                whileShown(*dialog);
                            QTest::mouseClick(dialog->Button1, Qt::LeftButton);
                        });
    }

    // The marks as the grid shows them, in timetable order.
    static std::string marks(Torarend_valaszto &d)
    {
        std::string shown;
        TztrMemTable &table = d.MT_orarend_temp;
        for (table.First(); !table.Eof(); table.Next())
            shown += table.FieldByName("jelolo")->DisplayText();
        return shown;
    }

    static void clickCell(Torarend_valaszto &d, int column, int row)
    {
        QTest::mouseClick(d.DBGrid1->viewport(), Qt::LeftButton, {}, d.DBGrid1->CellRect(column, row).center());
    }

    bool linked(int kurzusId, int orarendId)
    {
        return DM->MT_kurzusorarend.Locate("kurzus_id;orarend_id", VarArrayOf({kurzusId, orarendId}), {});
    }

    std::unique_ptr<Torarend_valaszto> dialog;
};

// An unknown course shows no marks and keeps the edits of the one before.
TEST_F(TimetableSwitch, MarksTheTimetablesOfTheCourseShownWithItsCodeAndName)
{
    const struct { int course; const char *marks, *code, *name; } cases[] = {
        {10, "X X", "GEMAN101-E-01", "Matematika I."},
        {99, "   ", "GEMAN101-E-01", "Matematika I."},
        {11, "   ", "EGYEDI-01", "A tárgy vagy egyedi foglalás nem található!!!"},
    };
    for (const auto &c : cases)
        open(c.course, [&](Torarend_valaszto &d) {
            EXPECT_EQ(marks(d), c.marks) << c.course;
            EXPECT_EQ(d.Edit1->text(), c.code) << c.course;
            EXPECT_EQ(d.Edit2->text(), c.name) << c.course;
        });
}

TEST_F(TimetableSwitch, ShowsEveryColumnWholeWithTheWeekMasks)
{
    DM->MT_orarend.First();
    DM->MT_orarend.Edit();
    DM->MT_orarend.FieldByName("hetek")->SetAsString("101010101010101");
    DM->MT_orarend.Post();
    open(10, [&](Torarend_valaszto &d) {
        dialogtest::expectColumnsInViewWithWholeTitles(*d.DBGrid1);
        EXPECT_EQ(dialogtest::shownColumn(*d.DBGrid1, "hetek").value(0), "101010101010101");
        EXPECT_TRUE(d.Edit1->isReadOnly());
    });
}

TEST_F(TimetableSwitch, ClickingAMarkTwiceAddsAndRemovesTheLink)
{
    std::string afterFirst, afterSecond;
    bool linkedAfterFirst = false;
    open(11, [&](Torarend_valaszto &d) {
        clickCell(d, 0, 1);
        afterFirst = marks(d);
        linkedAfterFirst = linked(11, 2);
        d.MT_orarend_temp.Locate("orarend_id", 2, {});
        clickCell(d, 0, 1);
        afterSecond = marks(d);
    });
    EXPECT_EQ(afterFirst, " X ");
    EXPECT_TRUE(linkedAfterFirst);
    EXPECT_EQ(afterSecond, "   ");
    EXPECT_FALSE(linked(11, 2));
    EXPECT_EQ(DM->MT_kurzusorarend.RecordCount(), 2);
}

TEST_F(TimetableSwitch, UnmarkingRemovesOnlyThatCoursesLink)
{
    appendRow(DM->MT_kurzusorarend, {{"kurzus_id", 11}, {"orarend_id", 1}});
    open(10, [&](Torarend_valaszto &d) { clickCell(d, 0, 0); });
    EXPECT_FALSE(linked(10, 1));
    EXPECT_TRUE(linked(11, 1));
    EXPECT_TRUE(linked(10, 3));
}

TEST_F(TimetableSwitch, MarkingALinkThatIsAlreadyThereAddsNoSecondOne)
{
    open(10, [&](Torarend_valaszto &d) {
        // Another window linked the course meanwhile; the mark still shows blank.
        appendRow(DM->MT_kurzusorarend, {{"kurzus_id", 10}, {"orarend_id", 2}});
        clickCell(d, 0, 1);
    });
    DM->MT_kurzusorarend.SetFilter("kurzus_id=10 and orarend_id=2");
    DM->MT_kurzusorarend.SetFiltered(true);
    EXPECT_EQ(DM->MT_kurzusorarend.RecordCount(), 1);
}

TEST_F(TimetableSwitch, ClicksOutsideTheMarkColumnChangeNothing)
{
    std::string shown;
    open(11, [&](Torarend_valaszto &d) {
        clickCell(d, 1, 0);
        clickCell(d, 2, 1);
        shown = marks(d);
    });
    EXPECT_EQ(shown, "   ");
    EXPECT_EQ(DM->MT_kurzusorarend.RecordCount(), 2);
}

TEST_F(TimetableSwitch, LeavesTheLinkTableUnfilteredAndClosesItsCopy)
{
    int shownRows = 0;
    open(10, [&](Torarend_valaszto &d) { shownRows = d.MT_orarend_temp.RecordCount(); });
    EXPECT_EQ(shownRows, 3);
    EXPECT_FALSE(DM->MT_kurzusorarend.Filtered());
    EXPECT_EQ(DM->MT_kurzusorarend.RecordCount(), 2);
    EXPECT_FALSE(dialog->MT_orarend_temp.Active());
}

// The display name the dialog and the administrator's tools use.
class CourseName : public dialogtest::DataModule {};

TEST_F(CourseName, OwnNameThenTheSubjectsNameOrWhatIsMissing)
{
    addSubject(50, "GEMAN101", "Matematika I.");
    addCourse({.id = 10, .code = "K-01", .title = "Saját név", .targyId = 50});
    addCourse({.id = 11, .code = "K-02", .targyId = 50});
    addCourse({.id = 12, .code = "K-03", .targyId = 77});
    TztrMemTable closed;
    const struct { int course; TDataSet *table; const char *name; } cases[] = {
        {10, &DM->MT_kurzus, "Saját név"}, {11, &DM->MT_kurzus, "Matematika I."}, {12, &DM->MT_kurzus, ""},
        {42, &DM->MT_kurzus, "kurzus hiányzik (42)"}, {10, &closed, "kurzustábla nem aktív"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(cp1250ToUtf8(Torarend_valaszto::KurzusMegnevezes(c.course, c.table)), c.name) << c.course;
}

TEST_F(CourseName, UsesTheCourseSearchViewWhenNoTableIsGiven)
{
    addCourse({.id = 10, .code = "K-01", .title = "Keresett"});
    EXPECT_EQ(cp1250ToUtf8(Torarend_valaszto::KurzusMegnevezes(10)), "kurzustábla nem aktív");
    DM->MT_kurzus_kereso.Open();
    EXPECT_EQ(cp1250ToUtf8(Torarend_valaszto::KurzusMegnevezes(10)), "Keresett");
}

} // namespace
