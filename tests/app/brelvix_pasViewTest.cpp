// The main window's calendar items built from occasion rows, and the view rebuild: which courses
// the list shows and which occasions the calendar draws for a timetable, a room, a teacher and a
// subject, with the list and week filters.

#include "app/brelvix_pasFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <map>

using namespace mainwindowtest;

class CalendarItems : public MainWindow {
protected:
    // The course row on the window's own cursor, as the callers hand it over.
    TDataSet *courseRow(int id)
    {
        return form->MT_kurzus_temp.Locate("kurzus_id", id, {}) ? &form->MT_kurzus_temp : nullptr;
    }
    TSajat *onlyItem()
    {
        EXPECT_EQ(form->VL->Items().Count(), 1);
        return form->VL->Items().Count() == 1 ? dynamic_cast<TSajat *>(form->VL->Items()[0]) : nullptr;
    }
};

TEST_F(CalendarItems, ItemCarriesItsOccasionAndIsRewrittenInPlace)
{
    addCourse({5, "K5", "Analízis"});
    TDataSet &occasion = addOccasionAt(40, 5, at(Monday1, 8, 0), at(Monday1, 9, 30), 999, "101110000000000");
    form->AddCalendarItem(occasion, courseRow(5), nullptr);
    TSajat *item = onlyItem();
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->AlkalomID, 40);
    EXPECT_EQ(item->KurzusID, 5);
    EXPECT_EQ(item->Length(), 90);
    EXPECT_EQ(item->StartText(), QStringLiteral("Hétfő 08:00"));
    EXPECT_EQ(item->Kod(), QStringLiteral("K5"));
    EXPECT_EQ(item->Nev(), QStringLiteral("Analízis"));
    EXPECT_EQ(item->GyakorisagJel(), QStringLiteral("(1,3-5)"));
    EXPECT_EQ(item->SelBGColor(), 0xF0CAA6u);
    EXPECT_EQ(item->BGColor(), 0xC0DCC0u);

    // A rewrite keeps the item, its ids, colours and teachers.
    item->SetOktatok(QStringLiteral("Régi Tanár"));
    item->SetBGColor(clYellow);
    occasion.Edit();
    occasion.FieldByName("kezd_ido")->SetAsDateTime(at(Monday1 + 2, 12, 0));
    occasion.FieldByName("veg_ido")->SetAsDateTime(at(Monday1 + 2, 12, 45));
    occasion.FieldByName("gyakorisag")->SetAsInteger(2);
    occasion.Post();
    EXPECT_EQ(messagesOf([&] { form->UpdateCalendarItem(occasion, courseRow(5), nullptr); }), QStringList{});
    ASSERT_EQ(onlyItem(), item);
    EXPECT_EQ(item->StartText(), QStringLiteral("Szerda 12:00"));
    EXPECT_EQ(item->Length(), 45);
    EXPECT_EQ(item->GyakorisagJel(), QStringLiteral("#"));
    EXPECT_EQ(item->Oktatok(), QStringLiteral("Régi Tanár"));
    EXPECT_EQ(item->BGColor(), clYellow);
    EXPECT_EQ(item->AlkalomID, 40);

    // An end past midnight gives the shortest item; the rewrite through the course finds it.
    setField(occasion, "veg_ido", at(Monday1 + 3, 0, 30));
    form->UpdateOccasionInCalendar(occasion);
    EXPECT_EQ(item->Length(), 5);

    // The first item of an occasion is found; an occasion without one is told once.
    form->AddCalendarItem(addOccasionAt(41, 5, at(Monday1, 10, 0), at(Monday1, 11, 0)), courseRow(5), nullptr);
    form->AddCalendarItem(DM->MT_alkalom, courseRow(5), nullptr);
    EXPECT_EQ(form->FindCalendarItem(41), form->VL->Items()[1]);
    EXPECT_EQ(form->FindCalendarItem(40), item);
    EXPECT_EQ(form->FindCalendarItem(42), nullptr);
    TDataSet &missing = addOccasionAt(42, 5, at(Monday1, 8, 0), at(Monday1, 9, 30));
    EXPECT_EQ(messagesOf([&] { form->UpdateCalendarItem(missing, courseRow(5), nullptr); }),
              QStringList{QStringLiteral("A Calendar-ban nem találom az alkalmat!")});
    EXPECT_EQ(form->VL->Items().Count(), 3);

    // An occasion of a course outside the window is left off, and not looked for.
    form->AddOccasionToCalendar(addOccasionAt(56, 999, at(Monday1, 8, 0), at(Monday1, 9, 0)));
    EXPECT_EQ(messagesOf([&] { form->UpdateOccasionInCalendar(DM->MT_alkalom); }), QStringList{});
    EXPECT_EQ(form->VL->Items().Count(), 3);
}

TEST_F(CalendarItems, TitleComesFromTheCourseThenItsSubjectElseTellsWhatIsMissing)
{
    struct Case {
        bool course;
        const char *title;
        int targyId;
        const char *expected;
    };
    int alkalomId = 40;
    for (const Case &c : {Case{false, "", 3, "Hiányzó kurzus!"}, Case{true, "Saját név", 3, "Saját név"},
                          Case{true, "", 3, "Geometria"}, Case{true, "", 0, "Nulladik"},
                          Case{true, "", 77, "A tárgy vagy egyedi foglalás nem található!!!"},
                          Case{true, "", -1, "A tárgy vagy egyedi foglalás nem található!!!"}}) {
        form->VL->Items().Clear();
        DM->MT_kurzus.EmptyTable();
        DM->MT_targy.EmptyTable();
        addSubject(0, "NUL", "Nulladik");
        addSubject(3, "GEO", "Geometria");
        addSubject(2, "MT", "Más tárgy");
        if (c.course)
            addCourse({5, "K5", c.title, c.targyId});
        TDataSet &occasion = addOccasionAt(++alkalomId, 5, at(Monday1, 10, 0), at(Monday1, 11, 0));
        form->AddCalendarItemForCourse(occasion, courseRow(5));
        ASSERT_NE(onlyItem(), nullptr) << c.expected;
        EXPECT_EQ(onlyItem()->Nev(), QString::fromUtf8(c.expected));
        EXPECT_EQ(onlyItem()->KurzusID, c.course ? 5 : -1) << c.expected;
    }
}

TEST_F(CalendarItems, BoxShowsCodeTitleRoomMarkerAndTheFirstThreeLinksTeachers)
{
    addCourse({5, "K1", "Algebra"});
    addRoom(8, "Fő", "A101", "", 0);
    for (int id : {1, 3, 4})
        addTeacher(id, ("T" + std::to_string(id)).c_str());
    // The second link names no teacher but counts towards the three; the fourth is not read.
    for (int id : {1, 2, 3, 4})
        linkTeacher(5, id);
    linkTeacher(6, 4);
    addOccasionAt(53, 5, at(Monday1, 7, 45), at(Monday1, 9, 15), 1, "101010101010101", 8);
    form->MT_alkalom_temp.GotoCurrent(DM->MT_alkalom);
    form->AddOccasionToCalendar(form->MT_alkalom_temp);
    ASSERT_NE(onlyItem(), nullptr);
    EXPECT_EQ(onlyItem()->Subject(), QStringLiteral("K1; Algebra; ; +; T1, T3")) << "room texts are off";

    form->VL->Items().Clear();
    form->RoomTextOn = true;
    form->AddOccasionToCalendar(form->MT_alkalom_temp);
    ASSERT_NE(onlyItem(), nullptr);
    EXPECT_EQ(onlyItem()->Subject(), QStringLiteral("K1; Algebra; Fő-A101; +; T1, T3"));
    EXPECT_TRUE(onlyItem()->Comment().contains(QStringLiteral("\nHétfő 07:45-09:15\n")));
    TField *kiiras = form->MT_alkalom_temp.FieldByName("kiiras");
    EXPECT_EQ(kiiras->Text(), "Not display");
    for (const auto &[room, shown] : {std::pair{77, "Nincs meg a terem"}, std::pair{0, "Nincs meg a terem"},
                                      std::pair{-1, "Nincs terem"}}) {
        setField(form->MT_alkalom_temp, "terem_id", room);
        EXPECT_EQ(kiiras->DisplayText(), shown) << room;
    }
}

TEST(WeekTest, WeekIsFoundOnlyFromPositionsAtOrBeforeIt)
{
    for (int k = 1; k <= 15; ++k)
        EXPECT_EQ(HasWeekFrom("000100000000000", k), k <= 4) << "from " << k;
    EXPECT_FALSE(HasWeekFrom("111", 4));
    EXPECT_FALSE(HasWeekFrom("", 1));
}

class ViewRebuild : public MainWindow {
protected:
    void SetUp() override
    {
        MainWindow::SetUp();
        addFaculty();
    }
    Ids listedUnder(QAction *entry)
    {
        entry->trigger();
        return sortedCourses();
    }
    void expectSharedTablesHandedBack()
    {
        EXPECT_FALSE(DM->MT_kurzusorarend.Filtered());
        EXPECT_FALSE(DM->MT_kurzusoktato.Filtered());
        EXPECT_FALSE(DM->MT_kurzustargy.Filtered());
        EXPECT_EQ(DM->MT_kurzusoktato.MasterSource(), nullptr);
        EXPECT_EQ(DM->MT_kurzustargy.MasterSource(), nullptr);
    }
};

TEST_F(ViewRebuild, TimetableListsItsCoursesSortedByCaptionAndDrawsTheirOccasions)
{
    showTimetable(1);
    // "!" marks a course without subject; the list ends sorted by caption.
    EXPECT_EQ(listedCourses(), (Ids{11, 13, 12, 10}));
    EXPECT_EQ(rowOf(11)->text(0), QStringLiteral("!FIZ-1"));
    EXPECT_EQ(rowOf(10)->text(1), QStringLiteral("Matematika")) << "an unnamed course takes its subject's name";
    EXPECT_EQ(rowOf(10)->text(2), QStringLiteral("30"));
    EXPECT_EQ(rowOf(10)->text(5), QStringLiteral("1"));
    EXPECT_EQ(rowOf(10)->text(6), QStringLiteral("3"));
    // The attached course 12 shows its head's occasions under its own id and code.
    EXPECT_EQ(items(), (Items{{10, 100}, {10, 101}, {11, 110}, {12, 100}, {12, 101}}));
    for (TCustomCalendarItem *item : form->VL->Items()) {
        const auto *occasion = static_cast<TSajat *>(item);
        if (occasion->KurzusID == 12) {
            EXPECT_EQ(occasion->Kod(), QStringLiteral("KEM-1"));
        }
    }
    expectSharedTablesHandedBack();
    EXPECT_EQ(DM->MT_kurzusorarend.RecordCount(), 5);
    EXPECT_FALSE(form->RefreshBusy);

    // A chosen timetable wins over the working mode; an empty one or no selection lists nothing.
    form->WorkMode = 2;
    form->SelectionId = 5;
    form->TimetableId = 2;
    form->RefreshView();
    EXPECT_EQ(listedCourses(), (Ids{14}));
    EXPECT_EQ(items(), (Items{{14, 140}}));
    for (const auto &[timetable, selection] : {std::pair{3, 3}, std::pair{-1, -1}}) {
        form->TimetableId = timetable;
        form->SelectionId = selection;
        form->RefreshView();
        EXPECT_EQ(form->LV->topLevelItemCount(), 0) << timetable;
        EXPECT_EQ(form->VL->Items().Count(), 0) << timetable;
        EXPECT_TRUE(form->Edit1->text().isEmpty()) << "the panels are loaded for no course";
    }
}

TEST_F(ViewRebuild, ListFilterEntriesListTheCoursesTheyNameOnlyForAChosenTimetable)
{
    showSelection(3, 1);
    form->PM_LV2->trigger();
    EXPECT_EQ(form->ListFilter, 3) << "no timetable chosen";
    EXPECT_EQ(listedCourses(), (Ids{10}));

    showTimetable(1);
    EXPECT_EQ(listedUnder(form->PM_LV2), (Ids{13})) << "Nincs alkalom";
    EXPECT_EQ(listedUnder(form->PM_LV3), (Ids{11, 12, 13})) << "Nincs Oktató";
    EXPECT_EQ(listedUnder(form->PM_LV1), (Ids{10, 12})) << "Nincs terem";
    EXPECT_EQ(listedUnder(form->PM_LV4), (Ids{11, 12, 13})) << "Nincs létszámkorlát: 0, empty and -5";
    EXPECT_EQ(listedUnder(form->Nincstrgyfelels1), (Ids{10, 12, 13})) << "Nincs tárgyfelelős";
    EXPECT_EQ(listedUnder(form->PM_LV0), (Ids{10, 11, 12, 13})) << "Összes";
    form->tobbalkalomCB->setChecked(true);
    EXPECT_EQ(sortedCourses(), (Ids{10, 12})) << "only courses of two or more occasions";
}

TEST_F(ViewRebuild, ChosenWeekListsCoursesWithAnOccasionThenOrFromThenOn)
{
    // Course 15 runs in weeks 1-2 and 9; occasion 101 in weeks 1-4 only.
    addCourse({15, "GEO-1", "Geometria", 3, 10}, {1});
    addOccasion(150, 15, Monday1 + 4, 8, 10, "000000001000000", 5);
    addOccasion(151, 15, Monday1 + 4, 12, 14, "110000000000000", 5);
    form->AlkalomCB->setChecked(false);
    form->TimetableId = form->SelectionId = 1;
    for (const auto &[week, listed] :
         {std::pair{5, Ids{10, 11, 12}}, std::pair{9, Ids{10, 11, 12, 15}}, std::pair{15, Ids{10, 11, 12}},
          std::pair{1, Ids{10, 11, 12, 15}}}) {
        form->HetekCB->setCurrentIndex(week);
        EXPECT_EQ(sortedCourses(), listed) << "week " << week;
    }
    form->HetekCB->setCurrentIndex(4);
    EXPECT_EQ(items(), (Items{{10, 100}, {10, 101}, {11, 110}, {12, 100}, {12, 101}}));
    form->HetekCB->setCurrentIndex(5);
    EXPECT_EQ(items(), (Items{{10, 100}, {11, 110}, {12, 100}}));

    // Every occasion: weeks from the chosen one on count, and every occasion is drawn.
    form->AlkalomCB->setChecked(true);
    EXPECT_EQ(items().count({15, 150}) + items().count({15, 151}) + items().count({10, 101}), 3u);
    form->HetekCB->setCurrentIndex(10);
    EXPECT_EQ(rowOf(15), nullptr);

    // The timetable picked in its selector draws each listed course's own occasions, all of them.
    form->AlkalomCB->setChecked(false);
    form->HetekCB->setCurrentIndex(0);
    showSelection(1, 1);
    EXPECT_EQ(sortedCourses(), (Ids{10, 11, 12, 13, 15}));
    EXPECT_EQ(items(), (Items{{10, 100}, {10, 101}, {11, 110}, {15, 150}, {15, 151}}));
    form->HetekCB->setCurrentIndex(5);
    EXPECT_EQ(sortedCourses(), (Ids{10, 11}));
    EXPECT_EQ(items(), (Items{{10, 100}, {10, 101}, {11, 110}}));
}

TEST_F(ViewRebuild, RoomTeacherAndSubjectListTheirCoursesWithTheirOccasions)
{
    form->AlkalomCB->setChecked(false);
    showSelection(2, 5);
    EXPECT_EQ(sortedCourses(), (Ids{10, 11}));
    EXPECT_EQ(rowOf(10)->text(0), QStringLiteral("MAT-1/r")) << "rooms list the short course code";
    EXPECT_EQ(rowOf(10)->text(5), QStringLiteral("-1"));
    EXPECT_EQ(items(), (Items{{10, 100}, {11, 110}}));
    EXPECT_EQ(itemOf(100)->Kiiras(), QStringLiteral("B-101"));
    form->AlkalomCB->setChecked(true);
    form->RefreshView();
    EXPECT_EQ(items(), (Items{{10, 100}, {10, 101}, {11, 110}})) << "every occasion draws the other rooms too";

    showSelection(3, 1);
    EXPECT_EQ(listedCourses(), (Ids{10}));
    EXPECT_EQ(rowOf(10)->text(5), QStringLiteral("1"));
    EXPECT_EQ(items(), (Items{{10, 100}, {10, 101}}));
    EXPECT_EQ(itemOf(100)->Oktatok(), QStringLiteral("Kovács Anna"));
    EXPECT_EQ(itemOf(100)->Kiiras(), QStringLiteral("B-101"));
    expectSharedTablesHandedBack();
    addTeacher(0, "Nulla Tanár");
    linkTeacher(13, 0);
    showSelection(3, 0);
    EXPECT_EQ(listedCourses(), (Ids{13})) << "zero is an id like any other";

    showSelection(4, 3);
    EXPECT_EQ(sortedCourses(), (Ids{10, 12}));
    EXPECT_EQ(rowOf(12)->text(6), QStringLiteral("3"));
    EXPECT_EQ(items(), (Items{{10, 100}, {10, 101}})) << "each course's own occasions";
    expectSharedTablesHandedBack();
}

TEST_F(ViewRebuild, FailedRebuildHandsTheSharedTablesBack)
{
    form->MT_alkalom_temp.Close();
    form->TimetableId = 1;
    EXPECT_ANY_THROW(form->RefreshView());
    expectSharedTablesHandedBack();
    EXPECT_FALSE(form->RefreshBusy);
    EXPECT_TRUE(form->VL->updatesEnabled());
}

// The whole sample data, each view held against a plain walk over the tables it shows.
class SampleViews : public MainWindow {
protected:
    SampleViews() { keepSampleData = true; }

    template <class Visit> static void walk(TztrMemTable &table, Visit visit)
    {
        TztrMemTable rows;
        rows.SetAttachedTo(&table);
        rows.Open();
        for (rows.First(); !rows.Eof(); rows.Next())
            visit(rows);
    }
    static int idOf(TDataSet &rows, const char *field) { return rows.FieldByName(field)->AsInteger(); }
    std::vector<std::pair<int, int>> itemSequence() const
    {
        std::vector<std::pair<int, int>> result;
        for (TCustomCalendarItem *item : form->VL->Items())
            result.emplace_back(static_cast<TSajat *>(item)->KurzusID, static_cast<TSajat *>(item)->AlkalomID);
        return result;
    }
};

TEST_F(SampleViews, EveryRoomListsWhatAWalkOverEveryCourseFinds)
{
    std::map<int, std::vector<std::pair<int, int>>> occasions; // course: (occasion, room)
    walk(DM->MT_alkalom, [&](TDataSet &row) {
        occasions[idOf(row, "kurzus_id")].emplace_back(idOf(row, "alkalom_id"), idOf(row, "terem_id"));
    });
    Ids courses, rooms;
    walk(DM->MT_kurzus, [&](TDataSet &row) { courses.push_back(idOf(row, "kurzus_id")); });
    walk(DM->MT_terem, [&](TDataSet &row) { rooms.push_back(idOf(row, "terem_id")); });
    int roomsInUse = 0;
    for (const int room : rooms) {
        for (const bool everyOccasion : {false, true}) {
            Ids rows;
            std::vector<std::pair<int, int>> expected;
            for (const int course : courses) {
                const auto &held = occasions[course];
                if (std::none_of(held.begin(), held.end(), [room](auto o) { return o.second == room; }))
                    continue;
                rows.push_back(course);
                for (const auto &[occasion, itsRoom] : held) {
                    if (everyOccasion || itsRoom == room)
                        expected.emplace_back(course, occasion);
                }
            }
            form->AlkalomCB->setChecked(everyOccasion);
            showSelection(2, room);
            std::sort(rows.begin(), rows.end());
            EXPECT_EQ(sortedCourses(), rows) << "room " << room;
            EXPECT_EQ(itemSequence(), expected) << "room " << room << (everyOccasion ? ", every occasion" : "");
            // Left filtered to the last course, as a walk over every course leaves it.
            EXPECT_EQ(form->MT_alkalom_teremtemp.Filter(), "(kurzus_id=" + std::to_string(courses.back()) + ")");
            roomsInUse += rows.empty() ? 0 : 1;
        }
    }
    EXPECT_GT(roomsInUse, 10);
}

TEST_F(SampleViews, EveryTimetableDrawsWhatAWalkOverItsLinksFindsAndSelectsACourse)
{
    std::map<int, Ids> occasions, teachersOf, coursesOf;
    walk(DM->MT_alkalom, [&](TDataSet &row) { occasions[idOf(row, "kurzus_id")].push_back(idOf(row, "alkalom_id")); });
    std::map<int, int> headOf;
    walk(DM->MT_kurzus, [&](TDataSet &row) { headOf[idOf(row, "kurzus_id")] = idOf(row, "kurzus_id_csatolt"); });
    std::map<int, QString> teacherName;
    walk(DM->MT_oktato, [&](TDataSet &row) {
        teacherName[idOf(row, "oktato_id")] = QString::fromStdString(cp1250ToUtf8(row.FieldByName("oktato_nev")->AsString()));
    });
    walk(DM->MT_kurzusoktato, [&](TDataSet &row) { teachersOf[idOf(row, "kurzus_id")].push_back(idOf(row, "oktato_id")); });
    walk(DM->MT_kurzusorarend, [&](TDataSet &row) { coursesOf[idOf(row, "orarend_id")].push_back(idOf(row, "kurzus_id")); });
    // The first three links of a course name its teachers, a link to no teacher included.
    const auto teacherText = [&](int kurzusId) {
        QStringList names;
        const Ids &links = teachersOf[kurzusId];
        for (std::size_t i = 0; i < std::min<std::size_t>(links.size(), 3); ++i) {
            if (teacherName.count(links[i]))
                names << teacherName[links[i]];
        }
        return names.join(QStringLiteral(", "));
    };
    int named = 0, selected = 0;
    for (const auto &[timetable, courses] : coursesOf) {
        Ids rows;
        std::vector<std::pair<int, int>> expected;
        std::vector<QString> teachers;
        for (const int course : courses) {
            if (!headOf.count(course))
                continue;
            rows.push_back(course);
            const int shown = headOf[course] > 0 ? headOf[course] : course;
            for (const int occasion : occasions[shown]) {
                expected.emplace_back(course, occasion);
                teachers.push_back(teacherText(shown));
                named += teachers.back().isEmpty() ? 0 : 1;
            }
        }
        showTimetable(timetable);
        std::sort(rows.begin(), rows.end());
        EXPECT_EQ(sortedCourses(), rows) << "timetable " << timetable;
        EXPECT_EQ(itemSequence(), expected) << "timetable " << timetable;
        std::vector<QString> shownTeachers;
        for (TCustomCalendarItem *item : form->VL->Items())
            shownTeachers.push_back(static_cast<TSajat *>(item)->Oktatok());
        EXPECT_EQ(shownTeachers, teachers) << "timetable " << timetable;

        // The occasion counter shows the selected course's occasions and where the panel stands.
        QTreeWidgetItem *current = form->LV->currentItem();
        const int course = current ? current->text(4).toInt() : -1;
        const int shown = headOf[course] > 0 ? headOf[course] : course;
        if (!current || occasions[shown].empty())
            continue;
        const QStringList counter = form->DBEdit7->text().split(QLatin1Char('/'));
        ASSERT_EQ(counter.size(), 2) << "timetable " << timetable;
        EXPECT_EQ(counter[0].toInt(), int(occasions[shown].size())) << "timetable " << timetable;
        EXPECT_GE(counter[1].toInt(), 1);
        EXPECT_LE(counter[1].toInt(), int(occasions[shown].size()));
        ++selected;
    }
    EXPECT_GT(named, 10);
    EXPECT_GT(selected, 3);
}

TEST_F(SampleViews, LinkedCoursesFollowTheCourseTableAfterATeacherOrSubjectView)
{
    std::map<int, int> perTeacher, perSubject;
    walk(DM->MT_kurzusoktato, [&](TDataSet &row) { ++perTeacher[idOf(row, "oktato_id")]; });
    walk(DM->MT_kurzustargy, [&](TDataSet &row) { ++perSubject[idOf(row, "targy_id")]; });
    const auto busiest = [](const std::map<int, int> &counts) {
        return std::max_element(counts.begin(), counts.end(), [](auto a, auto b) { return a.second < b.second; })->first;
    };
    for (const auto &[mode, id] : {std::pair{3, busiest(perTeacher)}, std::pair{4, busiest(perSubject)}}) {
        showSelection(mode, id);
        ASSERT_GT(form->LV->topLevelItemCount(), 1);
        const int current = DM->MT_kurzus.FieldByName("kurzus_id")->AsInteger();
        int linked = 0, expected = 0;
        TztrMemTable &detail = DM->MT_kurzus_csatolt;
        for (detail.First(); !detail.Eof(); detail.Next(), ++linked)
            EXPECT_EQ(detail.FieldByName("kurzus_id_csatolt")->AsInteger(), current) << "mode " << mode;
        walk(DM->MT_kurzus, [&](TDataSet &row) { expected += idOf(row, "kurzus_id_csatolt") == current ? 1 : 0; });
        EXPECT_EQ(linked, expected) << "mode " << mode;
    }
}
