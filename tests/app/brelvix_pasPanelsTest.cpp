// The course panels: the teachers, subjects and course group of a course, its edit row, and
// the title a course is shown with.

#include "app/brelvix_pasFixture.h"
#include "platform/Cp1250.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

using namespace mainwindowtest;

namespace {

std::string utf8(const TDataSet &table, const char *field)
{
    return cp1250ToUtf8(table.FieldByName(field)->AsString());
}

} // namespace

class CoursePanels : public MainWindow {
protected:
    void SetUp() override
    {
        MainWindow::SetUp();
        addFaculty();
        form->show();
    }
    bool groupTabShown() const { return form->PC->isTabVisible(form->PC->indexOf(form->PC_kurzus)); }
};

TEST_F(CoursePanels, TeacherMissingFromTheTeachersIsListedWithItsIdAndShareAndTheGivenOneIsCurrent)
{
    appendRow(DM->MT_kurzusoktato, {{"kurzus_id", 11}, {"oktato_id", 77}, {"szazalek", 40}});
    linkTeacher(11, 2);
    form->LoadCourseTeachers(11, 2);

    TztrMemTable &list = form->MT_oktato_temp;
    ASSERT_EQ(list.RecordCount(), 2);
    EXPECT_EQ(list.FieldByName("oktato_id")->AsInteger(), 2) << "the given teacher is current";
    ASSERT_TRUE(list.Locate("oktato_id", 77, {}));
    EXPECT_EQ(utf8(list, "oktato_nev"), "Ismeretlen oktató");
    EXPECT_EQ(utf8(list, "oktato_kkod"), "77");
    EXPECT_EQ(list.FieldByName("oktato_szazalek")->AsInteger(), 40);

    form->LoadCourseTeachers(11, 99);
    EXPECT_EQ(list.RecordCount(), 2);
    EXPECT_EQ(list.FieldByName("oktato_id")->AsInteger(), 77)
        << "without the given teacher the first row is current";
}

TEST_F(CoursePanels, SubjectMissingFromTheSubjectsIsListedWithPlaceholders)
{
    appendRow(DM->MT_kurzustargy, {{"kurzus_id", 11}, {"targy_id", 55}, {"maxletszam", 18}});
    form->LoadCourseSubjects(11, 55);

    TztrMemTable &list = form->MT_kurzustargy_temp;
    ASSERT_EQ(list.RecordCount(), 1);
    EXPECT_EQ(utf8(list, "targy_nev"), "Ismeretlen tárgy");
    EXPECT_EQ(utf8(list, "targy_kod"), "Kód???");
    for (const char *field : {"targy_ea", "targy_gy", "targy_la", "targy_kredit", "evjarat", "tanszek_id"})
        EXPECT_EQ(list.FieldByName(field)->AsInteger(), -1) << field;
    EXPECT_EQ(list.FieldByName("szabad")->AsInteger(), 0);
    EXPECT_EQ(list.FieldByName("maxletszam")->AsInteger(), 18);
}

TEST_F(CoursePanels, KnownSubjectIsListedWithItsCodeNameAndTheLinksHeadCount)
{
    appendRow(DM->MT_kurzustargy, {{"kurzus_id", 11}, {"targy_id", 4}, {"maxletszam", 25}});
    form->LoadCourseSubjects(11, -1);
    TztrMemTable &list = form->MT_kurzustargy_temp;
    ASSERT_EQ(list.RecordCount(), 1);
    EXPECT_EQ(utf8(list, "targy_kod"), "BIO");
    EXPECT_EQ(utf8(list, "targy_nev"), "Biológia");
    EXPECT_EQ(list.FieldByName("maxletszam")->AsInteger(), 25);
    EXPECT_EQ(list.FieldByName("tanszek_id")->AsInteger(), -1);
}

TEST_F(CoursePanels, CourseWithoutNameShowsTheSubjectOrTheMissingSubjectText)
{
    addCourse({20, "X-1", "", -1});
    addCourse({21, "X-2", "", 999});
    addCourse({22, "X-3", "", 4});
    const QString missing = QStringLiteral("A tárgy vagy egyedi foglalás nem található!!!");
    form->LoadCourseEditor(20);
    EXPECT_EQ(form->Edit2->text(), missing);
    form->LoadCourseEditor(21);
    EXPECT_EQ(form->Edit2->text(), missing);
    form->LoadCourseEditor(22);
    EXPECT_EQ(form->Edit2->text(), QStringLiteral("Biológia"));
    EXPECT_EQ(form->B_kurzusmentes->text(), QStringLiteral("Kurzus mentése"));
    addCourse({23, "X-4", "Egy", -1, Variant()});
    form->LoadCourseEditor(23);
    EXPECT_EQ(form->Edit4->text(), QStringLiteral("0")) << "an empty head count shows zero";
    addCourse({0, "NULLA", "Nulladik"});
    form->LoadCourseEditor(0);
    EXPECT_EQ(form->Edit1->text(), QStringLiteral("NULLA")) << "zero is a course id like any other";
}

TEST_F(CoursePanels, NoCourseEmptiesTheEditRowAndTheOccasionPanel)
{
    showTimetable(1);
    form->LV->clearSelection();
    form->LoadCourseEditor(-1);
    for (QLineEdit *edit : {form->Edit1, form->Edit2, form->Edit3, form->Edit4})
        EXPECT_TRUE(edit->text().isEmpty());
    EXPECT_TRUE(form->Edit1->isReadOnly());
    EXPECT_EQ(form->MT_alkalom_temp.RecordCount(), 0);
}

TEST_F(CoursePanels, GroupTabListsTheCoursesAttachedToTheHead)
{
    form->LoadLinkedCourses(10);
    EXPECT_TRUE(groupTabShown());
    EXPECT_EQ(DM->MT_kurzus_csatolt.RecordCount(), 1);
    EXPECT_EQ(DM->MT_kurzus_csatolt.FieldByName("kurzus_id")->AsInteger(), 12);

    form->LoadLinkedCourses(12);
    EXPECT_TRUE(groupTabShown()) << "an attached course shows its group too";
    EXPECT_EQ(DM->MT_kurzus.FieldByName("kurzus_id")->AsInteger(), 10);
}

TEST_F(CoursePanels, GroupTabHidesForACourseAttachedToAMissingCourse)
{
    form->LoadLinkedCourses(10);
    addCourse({20, "X-1", "Árva", -1, 10, 404});
    form->LoadLinkedCourses(20);
    EXPECT_FALSE(groupTabShown());
    form->LoadLinkedCourses(11);
    EXPECT_FALSE(groupTabShown()) << "a course nobody is attached to has no group";
}

TEST_F(CoursePanels, CourseTitleTellsAClosedTableAndAMissingCourse)
{
    QString title;
    TztrMemTable closed;
    form->CourseTitle(10, &closed, title);
    EXPECT_EQ(title, QStringLiteral("kurzustábla nem aktív"));
    form->CourseTitle(404, nullptr, title);
    EXPECT_EQ(title, QStringLiteral("kurzus hiányzik (404)"));
    form->CourseTitle(10, &DM->MT_kurzus, title);
    EXPECT_EQ(title, QStringLiteral("Matematika"));
}

TEST_F(CoursePanels, EditRowShowsWholeCodesAndTitlesAndTheStartOfLongerOnes)
{
    addCourse({20, "SZT151MN-LA-03", "Valószínűségszámítás és statisztika"}, {3});
    addCourse(
        {21, "X-1",
         "Gyakorlat a valószínűségszámítás és a statisztika alkalmazásaihoz, mérnök szakos hallgatóknak"},
        {3});
    form->resize(1024, 720);
    showTimetable(3);
    clickRow(*form->LV, rowOf(20));
    EXPECT_TRUE(showsWholeText(*form->Edit1, form->Edit1->text())) << form->Edit1->width();
    EXPECT_TRUE(showsWholeText(*form->Edit2, form->Edit2->text())) << form->Edit2->width();
    clickRow(*form->LV, rowOf(21));
    EXPECT_EQ(form->Edit2->cursorPosition(), 0) << "the title is shown from its start";
}
