#include "dialogs/orarendek.h"

#include "dialogs/DialogTestSupport.h"

namespace {

using namespace dialogtest;

class TimetableSwitch : public DialogOn<Torarend_valaszto> {
protected:
    void SetUp() override
    {
        DialogOn::SetUp();
        addTimetable(1, "Gépész BSc 1", "101010101010101");
        addTimetable(2, "Gépész BSc 3");
        addTimetable(3, "Villamos BSc 1");
        addSubject(50, "GEMAN101", "Matematika I.");
        addCourse({.id = 10, .code = "GEMAN101-E-01", .targyId = 50}, {1, 3});
        addCourse({.id = 11, .code = "EGYEDI-01", .targyId = -1});
    }
    // Opens the switch for a course; `whileShown` acts on it before "Kilépés" closes it.
    void open(int kurzusId, const std::function<void()> &whileShown)
    {
        dialog->KurzusId = kurzusId;
        execWith(*dialog, [&] {
            whileShown();
            click(dialog->Button1);
        });
    }
    QString marks() { return shownColumn(*dialog->DBGrid1, "jelolo").join(""); }
};

// An unknown course shows no marks and keeps the texts of the one before.
TEST_F(TimetableSwitch, MarksTheTimetablesOfTheCourseShownWithItsCodeNameAndWeeks)
{
    const struct { int course; const char *marks, *code, *name; } cases[] = {
        {10, "X X", "GEMAN101-E-01", "Matematika I."},
        {99, "   ", "GEMAN101-E-01", "Matematika I."},
        {11, "   ", "EGYEDI-01", "A tárgy vagy egyedi foglalás nem található!!!"},
    };
    for (const auto &c : cases)
        open(c.course, [&] {
            EXPECT_EQ(marks(), c.marks) << c.course;
            EXPECT_EQ(dialog->Edit1->text(), c.code) << c.course;
            EXPECT_EQ(dialog->Edit2->text(), c.name) << c.course;
            EXPECT_TRUE(dialog->Edit1->isReadOnly());
            EXPECT_EQ(shownColumn(*dialog->DBGrid1, "hetek").value(0), "101010101010101");
            EXPECT_EQ(dialog->DBGrid1->Columns()[0]->Width(), 32) << "the mark column stays narrow";
        });
    EXPECT_FALSE(DM->MT_kurzusorarend.Filtered());
    EXPECT_EQ(DM->MT_kurzusorarend.RecordCount(), 2);
    EXPECT_FALSE(dialog->MT_orarend_temp.Active());
}

TEST_F(TimetableSwitch, ClickingAMarkAddsOrRemovesOnlyThatCoursesLinkOnce)
{
    appendRow(DM->MT_kurzusorarend, {{"kurzus_id", 11}, {"orarend_id", 1}});
    open(11, [&] {
        clickCell(*dialog->DBGrid1, 1, 0);
        clickCell(*dialog->DBGrid1, 2, 1);
        EXPECT_EQ(marks(), "X  ") << "clicks outside the mark column change nothing";
        clickCell(*dialog->DBGrid1, 0, 1);
        EXPECT_EQ(marks(), "XX ");
        EXPECT_EQ(ofCourse(DM->MT_kurzusorarend, 11, "orarend_id"), (std::vector{1, 2}));
        clickCell(*dialog->DBGrid1, 0, 1);
        clickCell(*dialog->DBGrid1, 0, 0);
        EXPECT_EQ(marks(), "   ");
    });
    EXPECT_EQ(ofCourse(DM->MT_kurzusorarend, 11, "orarend_id"), std::vector<int>{});
    EXPECT_EQ(DM->MT_kurzusorarend.RecordCount(), 2) << "the other course's links stay";
}

TEST_F(TimetableSwitch, MarkingALinkThatIsAlreadyThereAddsNoSecondOne)
{
    open(10, [&] {
        // Another window linked the course meanwhile; the mark still shows blank.
        appendRow(DM->MT_kurzusorarend, {{"kurzus_id", 10}, {"orarend_id", 2}});
        clickCell(*dialog->DBGrid1, 0, 1);
    });
    EXPECT_EQ(ofCourse(DM->MT_kurzusorarend, 10, "orarend_id"), (std::vector{1, 3, 2}));
}

// The display name the dialog and the administrator's tools use.
TEST_F(TimetableSwitch, CourseNameIsItsOwnThenItsSubjectsOrSaysWhatIsMissing)
{
    addCourse({.id = 12, .code = "K-01", .title = "Saját név", .targyId = 50});
    addCourse({.id = 13, .code = "K-03", .targyId = 77});
    TztrMemTable closed;
    const struct { int course; TDataSet *table; const char *name; } cases[] = {
        {12, &DM->MT_kurzus, "Saját név"}, {10, &DM->MT_kurzus, "Matematika I."}, {13, &DM->MT_kurzus, ""},
        {42, &DM->MT_kurzus, "kurzus hiányzik (42)"}, {12, &closed, "kurzustábla nem aktív"},
        {12, nullptr, "kurzustábla nem aktív"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(cp1250ToUtf8(Torarend_valaszto::KurzusMegnevezes(c.course, c.table)), c.name) << c.course;
    DM->MT_kurzus_kereso.Open();
    EXPECT_EQ(cp1250ToUtf8(Torarend_valaszto::KurzusMegnevezes(12)), "Saját név") << "the course search view";
}

} // namespace
