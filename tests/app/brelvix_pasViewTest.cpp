// The main window's view rebuild: which courses the list shows and which occasions the calendar
// draws for a timetable, a room, a teacher and a subject, with the list and week filters.

#include "app/brelvix_pasFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <algorithm>
#include <map>

using namespace mainwindowtest;

using Items = std::multiset<std::pair<int, int>>;
using Ids = std::vector<int>;

TEST_F(MainWindow, TimetableListsItsCoursesSortedByCaptionAndDrawsTheirOccasions)
{
    addFaculty();
    showTimetable(1);

    // "!" marks a course without subject; the list ends sorted by caption.
    EXPECT_EQ(listedCourses(), (Ids{11, 13, 12, 10}));
    EXPECT_EQ(rowOf(11)->text(0), QStringLiteral("!FIZ-1"));
    EXPECT_EQ(rowOf(10)->text(1), QStringLiteral("Matematika"))
        << "an unnamed course takes its subject's name";
    EXPECT_EQ(rowOf(10)->text(2), QStringLiteral("30"));
    EXPECT_EQ(rowOf(10)->text(5), QStringLiteral("1"));
    EXPECT_EQ(rowOf(10)->text(6), QStringLiteral("3"));
    // The attached course 12 shows its head's occasions under its own id and code.
    EXPECT_EQ(items(), (Items{{10, 100}, {10, 101}, {11, 110}, {12, 100}, {12, 101}}));
    int attached = 0;
    for (TCustomCalendarItem *item : form->VL->Items()) {
        auto *occasion = static_cast<TSajat *>(item);
        if (occasion->KurzusID == 12) {
            ++attached;
            EXPECT_EQ(occasion->Kod(), QStringLiteral("KEM-1"));
        }
    }
    EXPECT_EQ(attached, 2);
    // The rebuild leaves the shared tables unfiltered and unlinked.
    EXPECT_FALSE(DM->MT_kurzusorarend.Filtered());
    EXPECT_EQ(DM->MT_kurzusoktato.MasterSource(), nullptr);
    EXPECT_EQ(DM->MT_kurzustargy.MasterSource(), nullptr);
    EXPECT_EQ(DM->MT_kurzusorarend.RecordCount(), 5);
}

TEST_F(MainWindow, ChosenTimetableWinsOverTheWorkingMode)
{
    addFaculty();
    form->WorkMode = 2;
    form->SelectionId = 5;
    form->TimetableId = 2;
    form->RefreshView();
    EXPECT_EQ(listedCourses(), (Ids{14}));
    EXPECT_EQ(items(), (Items{{14, 140}}));
}

TEST_F(MainWindow, EmptyTimetableOrNoSelectionLeavesListAndCalendarEmpty)
{
    addFaculty();
    showTimetable(3);
    EXPECT_EQ(form->LV->topLevelItemCount(), 0);
    EXPECT_EQ(form->VL->Items().Count(), 0);
    form->WorkMode = 2;
    form->TimetableId = -1;
    form->SelectionId = -1;
    form->RefreshView();
    EXPECT_EQ(form->LV->topLevelItemCount(), 0);
    EXPECT_EQ(form->VL->Items().Count(), 0);
}

class ListFilters : public MainWindow {
protected:
    Ids listedUnder(QAction *entry)
    {
        entry->trigger();
        Ids ids = listedCourses();
        std::sort(ids.begin(), ids.end());
        return ids;
    }
};

TEST_F(ListFilters, EachEntryListsTheCoursesItNames)
{
    addFaculty();
    showTimetable(1);
    EXPECT_EQ(listedUnder(form->PM_LV2), (Ids{13})) << "Nincs alkalom";
    EXPECT_EQ(listedUnder(form->PM_LV3), (Ids{11, 12, 13})) << "Nincs Oktató";
    EXPECT_EQ(listedUnder(form->PM_LV1), (Ids{10, 12})) << "Nincs terem";
    EXPECT_EQ(listedUnder(form->PM_LV4), (Ids{11, 12, 13})) << "Nincs létszámkorlát: 0, empty and -5";
    EXPECT_EQ(listedUnder(form->Nincstrgyfelels1), (Ids{10, 12, 13})) << "Nincs tárgyfelelős";
    EXPECT_EQ(listedUnder(form->PM_LV0), (Ids{10, 11, 12, 13})) << "Összes";
}

TEST_F(ListFilters, AllWithSeveralOccasionsOnlyHidesCoursesOfFewerThanTwo)
{
    addFaculty();
    showTimetable(1);
    form->tobbalkalomCB->setChecked(true);
    Ids ids = listedCourses();
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(ids, (Ids{10, 12}));
}

TEST_F(ListFilters, MenuDoesNothingWhileNoTimetableIsChosen)
{
    addFaculty();
    form->WorkMode = 3;
    form->SelectionId = 1;
    form->RefreshView();
    form->PM_LV2->trigger();
    EXPECT_EQ(form->ListFilter, 3);
    EXPECT_EQ(listedCourses(), (Ids{10}));
}

class WeekFilter : public MainWindow {
protected:
    void SetUp() override
    {
        MainWindow::SetUp();
        addFaculty();
        // Only weeks 1-2 and 9.
        addCourse({15, "GEO-1", "Geometria", 3, 10}, {1});
        addOccasion(150, 15, Monday1 + 4, 8, 10, "000000001000000", 5);
        addOccasion(151, 15, Monday1 + 4, 12, 14, "110000000000000", 5);
        form->AlkalomCB->setChecked(false);
        form->TimetableId = form->SelectionId = 1;
    }
};

TEST_F(WeekFilter, OnlyOccasionsInTheChosenWeekCount)
{
    // 101 runs in weeks 1-4 only; course 15 in weeks 1-2 and 9.
    const std::pair<int, Ids> cases[] = {{5, {10, 11, 12}}, {9, {10, 11, 12, 15}}, {15, {10, 11, 12}}};
    for (const auto &[week, listed] : cases) {
        form->HetekCB->setCurrentIndex(week);
        Ids ids = listedCourses();
        std::sort(ids.begin(), ids.end());
        EXPECT_EQ(ids, listed) << "week " << week;
    }
    form->HetekCB->setCurrentIndex(5);
    EXPECT_EQ(items(), (Items{{10, 100}, {11, 110}, {12, 100}}));
}

TEST_F(WeekFilter, EveryOccasionCountsWeeksFromTheChosenOnAndDrawsAllOccasions)
{
    form->HetekCB->setCurrentIndex(5);
    form->AlkalomCB->setChecked(true);
    EXPECT_NE(rowOf(15), nullptr);
    EXPECT_EQ(items().count({15, 150}) + items().count({15, 151}), 2u);
    EXPECT_EQ(items().count({10, 101}), 1u);
}

TEST_F(MainWindow, RoomShowsTheCoursesUsingItAndTheirOccasionsThereOrAllOfThem)
{
    addFaculty();
    form->AlkalomCB->setChecked(false);
    form->WorkMode = 2;
    form->SelectionId = 5;
    form->RefreshView();

    Ids ids = listedCourses();
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(ids, (Ids{10, 11}));
    EXPECT_EQ(rowOf(10)->text(0), QStringLiteral("MAT-1/r")) << "rooms list the short course code";
    EXPECT_EQ(rowOf(10)->text(5), QStringLiteral("-1"));
    EXPECT_EQ(items(), (Items{{10, 100}, {11, 110}}));

    form->AlkalomCB->setChecked(true);
    form->RefreshView();
    EXPECT_EQ(items(), (Items{{10, 100}, {10, 101}, {11, 110}}))
        << "every occasion draws the other rooms too";
}

TEST_F(MainWindow, TeacherShowsTheCoursesTheyTeach)
{
    addFaculty();
    form->WorkMode = 3;
    form->SelectionId = 1;
    form->RefreshView();
    EXPECT_EQ(listedCourses(), (Ids{10}));
    EXPECT_EQ(rowOf(10)->text(5), QStringLiteral("1"));
    EXPECT_EQ(items(), (Items{{10, 100}, {10, 101}}));
    EXPECT_EQ(itemOf(100)->Oktatok(), QStringLiteral("Kovács Anna"));
    EXPECT_FALSE(DM->MT_kurzusoktato.Filtered());
    addTeacher(0, "Nulla Tanár");
    linkTeacher(13, 0);
    form->SelectionId = 0;
    form->RefreshView();
    EXPECT_EQ(listedCourses(), (Ids{13})) << "zero is an id like any other";
}

TEST_F(MainWindow, SubjectShowsTheCoursesLinkedToIt)
{
    addFaculty();
    form->WorkMode = 4;
    form->SelectionId = 3;
    form->RefreshView();
    Ids ids = listedCourses();
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(ids, (Ids{10, 12}));
    EXPECT_EQ(rowOf(12)->text(6), QStringLiteral("3"));
    // The subject view draws each course's own occasions.
    EXPECT_EQ(items(), (Items{{10, 100}, {10, 101}}));
    EXPECT_FALSE(DM->MT_kurzustargy.Filtered());
}

TEST_F(MainWindow, PickedTimetableDrawsOnlyEachCoursesOwnOccasions)
{
    addFaculty();
    form->WorkMode = 1;
    form->TimetableId = -1;
    form->SelectionId = 1;
    form->RefreshView();
    Ids ids = listedCourses();
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(ids, (Ids{10, 11, 12, 13}));
    EXPECT_EQ(items(), (Items{{10, 100}, {10, 101}, {11, 110}}));
    form->AlkalomCB->setChecked(false);
    form->HetekCB->setCurrentIndex(5);
    EXPECT_EQ(items(), (Items{{10, 100}, {10, 101}, {11, 110}})) << "a listed course draws every occasion";
}

TEST_F(MainWindow, FailedRebuildHandsTheSharedTablesBack)
{
    addFaculty();
    form->MT_alkalom_temp.Close();
    form->TimetableId = 1;
    EXPECT_ANY_THROW(form->RefreshView());
    EXPECT_FALSE(DM->MT_kurzusorarend.Filtered());
    EXPECT_EQ(DM->MT_kurzusoktato.MasterSource(), nullptr);
    EXPECT_EQ(DM->MT_kurzustargy.MasterSource(), nullptr);
    EXPECT_FALSE(form->RefreshBusy);
    EXPECT_TRUE(form->VL->updatesEnabled());
}

// The whole sample data, each view held against a plain walk over the tables it shows.
class SampleViews : public MainWindow {
protected:
    SampleViews() { keepSampleData = true; }

    // Every row of a data module table in its stored order.
    template <class Visit> static void walk(TztrMemTable &table, Visit visit)
    {
        TztrMemTable rows;
        rows.SetAttachedTo(&table);
        rows.Open();
        for (rows.First(); !rows.Eof(); rows.Next())
            visit(rows);
    }
    static int idOf(TDataSet &rows, const char *field) { return rows.FieldByName(field)->AsInteger(); }

    // Course and occasion of every calendar item, in the calendar's order.
    std::vector<std::pair<int, int>> itemSequence() const
    {
        std::vector<std::pair<int, int>> result;
        for (TCustomCalendarItem *item : form->VL->Items()) {
            const auto *occasion = static_cast<TSajat *>(item);
            result.emplace_back(occasion->KurzusID, occasion->AlkalomID);
        }
        return result;
    }
    void showRoom(int teremId, bool everyOccasion)
    {
        form->AlkalomCB->setChecked(everyOccasion);
        form->WorkMode = 2;
        form->TimetableId = -1;
        form->SelectionId = teremId;
        form->RefreshView();
    }
};

TEST_F(SampleViews, EveryRoomListsWhatAWalkOverEveryCourseFinds)
{
    // Occasions of each course as (occasion, room), and the courses, in stored order.
    std::map<int, std::vector<std::pair<int, int>>> occasions;
    walk(DM->MT_alkalom, [&](TDataSet &row) {
        occasions[idOf(row, "kurzus_id")].emplace_back(idOf(row, "alkalom_id"), idOf(row, "terem_id"));
    });
    std::vector<int> courses;
    walk(DM->MT_kurzus, [&](TDataSet &row) { courses.push_back(idOf(row, "kurzus_id")); });
    std::vector<int> rooms;
    walk(DM->MT_terem, [&](TDataSet &row) { rooms.push_back(idOf(row, "terem_id")); });
    ASSERT_GT(rooms.size(), 10u);

    int roomsInUse = 0;
    for (const int room : rooms) {
        for (const bool everyOccasion : {false, true}) {
            Ids rows;
            std::vector<std::pair<int, int>> items;
            for (const int course : courses) {
                const auto &held = occasions[course];
                if (std::none_of(held.begin(), held.end(), [room](auto o) { return o.second == room; }))
                    continue;
                rows.push_back(course);
                for (const auto &[occasion, itsRoom] : held) {
                    if (everyOccasion || itsRoom == room)
                        items.emplace_back(course, occasion);
                }
            }
            showRoom(room, everyOccasion);
            Ids listed = listedCourses();
            std::sort(listed.begin(), listed.end());
            std::sort(rows.begin(), rows.end());
            EXPECT_EQ(listed, rows) << "room " << room;
            EXPECT_EQ(itemSequence(), items) << "room " << room << (everyOccasion ? ", every occasion" : "");
            // Left filtered to the last course, as a walk over every course leaves it.
            EXPECT_EQ(form->MT_alkalom_teremtemp.Filter(),
                      "(kurzus_id=" + std::to_string(courses.back()) + ")");
            roomsInUse += rows.empty() ? 0 : 1;
        }
    }
    EXPECT_GT(roomsInUse, 10);
}

TEST_F(SampleViews, EveryTimetableDrawsWhatAWalkOverItsLinksFinds)
{
    std::map<int, std::vector<int>> occasions;
    walk(DM->MT_alkalom,
         [&](TDataSet &row) { occasions[idOf(row, "kurzus_id")].push_back(idOf(row, "alkalom_id")); });
    std::map<int, int> headOf;
    walk(DM->MT_kurzus,
         [&](TDataSet &row) { headOf[idOf(row, "kurzus_id")] = idOf(row, "kurzus_id_csatolt"); });
    std::map<int, QString> teacherName;
    walk(DM->MT_oktato, [&](TDataSet &row) {
        teacherName[idOf(row, "oktato_id")] =
            QString::fromStdString(cp1250ToUtf8(row.FieldByName("oktato_nev")->AsString()));
    });
    // The first three links of a course name its teachers, a link to no teacher included.
    std::map<int, std::vector<int>> teachersOf;
    walk(DM->MT_kurzusoktato,
         [&](TDataSet &row) { teachersOf[idOf(row, "kurzus_id")].push_back(idOf(row, "oktato_id")); });
    const auto teacherText = [&](int kurzusId) {
        QStringList names;
        const std::vector<int> &links = teachersOf[kurzusId];
        for (std::size_t i = 0; i < std::min<std::size_t>(links.size(), 3); ++i) {
            if (teacherName.count(links[i]))
                names << teacherName[links[i]];
        }
        return names.join(QStringLiteral(", "));
    };
    std::map<int, std::vector<int>> coursesOf;
    walk(DM->MT_kurzusorarend,
         [&](TDataSet &row) { coursesOf[idOf(row, "orarend_id")].push_back(idOf(row, "kurzus_id")); });
    ASSERT_GT(coursesOf.size(), 3u);

    int named = 0;
    for (const auto &[timetable, courses] : coursesOf) {
        Ids rows;
        std::vector<std::pair<int, int>> items;
        std::vector<QString> teachers;
        for (const int course : courses) {
            if (!headOf.count(course))
                continue;
            rows.push_back(course);
            const int shown = headOf[course] > 0 ? headOf[course] : course;
            for (const int occasion : occasions[shown]) {
                items.emplace_back(course, occasion);
                teachers.push_back(teacherText(shown));
                named += teachers.back().isEmpty() ? 0 : 1;
            }
        }
        showTimetable(timetable);
        Ids listed = listedCourses();
        std::sort(listed.begin(), listed.end());
        std::sort(rows.begin(), rows.end());
        EXPECT_EQ(listed, rows) << "timetable " << timetable;
        EXPECT_EQ(itemSequence(), items) << "timetable " << timetable;
        std::vector<QString> shownTeachers;
        for (TCustomCalendarItem *item : form->VL->Items())
            shownTeachers.push_back(static_cast<TSajat *>(item)->Oktatok());
        EXPECT_EQ(shownTeachers, teachers) << "timetable " << timetable;
    }
    EXPECT_GT(named, 10);
}

TEST_F(SampleViews, OccasionCounterShowsTheSelectedCourseAfterARebuild)
{
    std::map<int, int> perTimetable;
    walk(DM->MT_kurzusorarend, [&](TDataSet &row) { ++perTimetable[idOf(row, "orarend_id")]; });
    std::map<int, int> occasionCount;
    walk(DM->MT_alkalom, [&](TDataSet &row) { ++occasionCount[idOf(row, "kurzus_id")]; });
    std::map<int, int> linkedTo;
    walk(DM->MT_kurzus,
         [&](TDataSet &row) { linkedTo[idOf(row, "kurzus_id")] = idOf(row, "kurzus_id_csatolt"); });

    int checked = 0;
    for (const auto &[timetable, courses] : perTimetable) {
        showTimetable(timetable);
        QTreeWidgetItem *selected = form->LV->currentItem();
        if (!selected)
            continue;
        const int course = selected->text(4).toInt();
        const int shown = linkedTo[course] > 0 ? linkedTo[course] : course;
        if (occasionCount[shown] == 0)
            continue;
        // The count of the course's occasions, then where the panel stands among them.
        const QStringList counter = form->DBEdit7->text().split(QLatin1Char('/'));
        ASSERT_EQ(counter.size(), 2) << "timetable " << timetable;
        EXPECT_EQ(counter[0].toInt(), occasionCount[shown]) << "timetable " << timetable;
        EXPECT_GE(counter[1].toInt(), 1) << "timetable " << timetable;
        EXPECT_LE(counter[1].toInt(), occasionCount[shown]) << "timetable " << timetable;
        ++checked;
    }
    EXPECT_GT(checked, 3);
}

TEST_F(SampleViews, LinkedCoursesFollowTheCourseTableAfterATeacherOrSubjectView)
{
    std::map<int, int> perTeacher;
    walk(DM->MT_kurzusoktato, [&](TDataSet &row) { ++perTeacher[idOf(row, "oktato_id")]; });
    std::map<int, int> perSubject;
    walk(DM->MT_kurzustargy, [&](TDataSet &row) { ++perSubject[idOf(row, "targy_id")]; });
    const auto busiest = [](const std::map<int, int> &counts) {
        const auto byCount = [](auto a, auto b) { return a.second < b.second; };
        return std::max_element(counts.begin(), counts.end(), byCount)->first;
    };
    for (const auto &[mode, id] : {std::pair{3, busiest(perTeacher)}, std::pair{4, busiest(perSubject)}}) {
        form->WorkMode = mode;
        form->TimetableId = -1;
        form->SelectionId = id;
        form->RefreshView();
        ASSERT_GT(form->LV->topLevelItemCount(), 1);
        const int current = DM->MT_kurzus.FieldByName("kurzus_id")->AsInteger();
        int linked = 0;
        TztrMemTable &detail = DM->MT_kurzus_csatolt;
        for (detail.First(); !detail.Eof(); detail.Next(), ++linked)
            EXPECT_EQ(detail.FieldByName("kurzus_id_csatolt")->AsInteger(), current) << "mode " << mode;
        int expected = 0;
        walk(DM->MT_kurzus,
             [&](TDataSet &row) { expected += idOf(row, "kurzus_id_csatolt") == current ? 1 : 0; });
        EXPECT_EQ(linked, expected) << "mode " << mode;
    }
}
