// Calendar items from occasions, and the view rebuild per working mode with its filters.

#include "app/brelvix_pasFixture.h"

#include <map>

using namespace mainwindowtest;

namespace {

// What an item carries: its ids, start, length, code, title, frequency marker and teachers.
QString describe(const TSajat *item)
{
    return QStringLiteral("%1/%2 %3+%4 ").arg(item->AlkalomID).arg(item->KurzusID).arg(item->StartText()).arg(item->Length()) +
           QStringList{item->Kod(), item->Nev(), item->GyakorisagJel(), item->Oktatok()}.join("; ");
}

} // namespace

TEST_F(MainWindow, CalendarItemCarriesItsOccasionAndIsRewrittenInPlace)
{
    addCourse({5, "K5", "Analízis"});
    TDataSet *course = form->MT_kurzus_temp.Locate("kurzus_id", 5, {}) ? &form->MT_kurzus_temp : nullptr;
    TDataSet &occasion = addOccasion(40, 5, at(Monday1, 8, 0), at(Monday1, 9, 30), "101110000000000", 0, 999);
    form->AddCalendarItem(occasion, course, nullptr);
    TSajat *item = itemOf(40);
    EXPECT_EQ(describe(item), QStringLiteral("40/5 Hétfő 08:00+90 K5; Analízis; (1,3-5); "));
    EXPECT_EQ(std::pair(item->SelBGColor(), item->BGColor()), std::pair(TColor(0xF0CAA6), TColor(0xC0DCC0)));
    // A rewrite keeps the item, its colours and teachers.
    item->SetOktatok(QStringLiteral("T1"));
    item->SetBGColor(clYellow);
    setFields(occasion, {{"kezd_ido", at(Monday1 + 2, 12, 0)}, {"veg_ido", at(Monday1 + 2, 12, 45)}, {"gyakorisag", 2}});
    EXPECT_EQ(messagesOf([&] { form->UpdateCalendarItem(occasion, course, nullptr); }), QStringList{});
    ASSERT_EQ(form->VL->Items().Count(), 1);
    EXPECT_EQ(describe(item), QStringLiteral("40/5 Szerda 12:00+45 K5; Analízis; #; T1"));
    EXPECT_EQ(item->BGColor(), clYellow);
    // An end past midnight gives the shortest item. The first item of an occasion is found.
    setFields(occasion, {{"veg_ido", at(Monday1 + 3, 0, 30)}});
    form->UpdateOccasionInCalendar(occasion);
    form->AddCalendarItem(addOccasion(41, 5, at(Monday1, 10, 0), at(Monday1, 11, 0)), course, nullptr);
    form->AddCalendarItem(DM->MT_alkalom, course, nullptr);
    EXPECT_TRUE(item->Length() == 5 && form->FindCalendarItem(41) == form->VL->Items()[1] && !form->FindCalendarItem(42));
    TDataSet &missing = addOccasion(42, 5, at(Monday1, 8, 0), at(Monday1, 9, 30));
    EXPECT_EQ(messagesOf([&] { form->UpdateCalendarItem(missing, course, nullptr); }),
              QStringList{QStringLiteral("A Calendar-ban nem találom az alkalmat!")});
    // An occasion of a course outside the window is left off, and not looked for.
    form->AddOccasionToCalendar(addOccasion(56, 999, at(Monday1, 8, 0), at(Monday1, 9, 0)));
    EXPECT_EQ(messagesOf([&] { form->UpdateOccasionInCalendar(DM->MT_alkalom); }), QStringList{});
    EXPECT_EQ(form->VL->Items().Count(), 3);

    // The title comes from the course, then its subject, else says what is missing.
    addSubject(0, "NUL", "Nulladik");
    addSubject(3, "GEO", "Geometria");
    const QString missingSubject = QStringLiteral("A tárgy vagy egyedi foglalás nem található!!!");
    int alkalomId = 60;
    for (const auto &[courseId, title, targyId, expected] :
         {std::tuple{9, "", 3, QStringLiteral("-1 Hiányzó kurzus!")}, std::tuple{6, "Saját", 3, QStringLiteral("6 Saját")},
          std::tuple{7, "", 3, QStringLiteral("7 Geometria")}, std::tuple{8, "", 0, QStringLiteral("8 Nulladik")},
          std::tuple{20, "", 77, "20 " + missingSubject}, std::tuple{21, "", -1, "21 " + missingSubject}}) {
        if (courseId != 9)
            addCourse({courseId, std::to_string(courseId).c_str(), title, targyId});
        TDataSet *row = form->MT_kurzus_temp.Locate("kurzus_id", courseId, {}) ? &form->MT_kurzus_temp : nullptr;
        form->AddCalendarItemForCourse(addOccasion(++alkalomId, courseId, at(Monday1, 10, 0), at(Monday1, 11, 0)), row);
        EXPECT_EQ(QString::number(itemOf(alkalomId)->KurzusID) + ' ' + itemOf(alkalomId)->Nev(), expected);
    }
}

TEST_F(MainWindow, CalendarItemBoxShowsTheRoomOnlyWhileSwitchedOnAndTheFirstThreeLinksTeachers)
{
    addCourse({5, "K1", "Algebra"});
    appendRow(DM->MT_terem, {{"terem_id", 8}, {"terem_hely", "Fő"}, {"terem_kod", "A101"}});
    for (int id : {1, 3, 4})
        addTeacher(id, ("T" + std::to_string(id)).c_str());
    // The second link names no teacher but counts towards the three; the fourth is not read.
    for (int id : {1, 2, 3, 4})
        linkTeacher(5, id);
    linkTeacher(6, 4);
    addOccasion(53, 5, at(Monday1, 7, 45), at(Monday1, 9, 15), "101010101010101", 8, 1);
    form->MT_alkalom_temp.GotoCurrent(DM->MT_alkalom);
    form->AddOccasionToCalendar(form->MT_alkalom_temp);
    EXPECT_EQ(itemOf(53)->Subject(), QStringLiteral("K1; Algebra; ; +; T1, T3"));
    form->VL->Items().Clear();
    form->RoomTextOn = true;
    form->AddOccasionToCalendar(form->MT_alkalom_temp);
    EXPECT_EQ(itemOf(53)->Subject(), QStringLiteral("K1; Algebra; Fő-A101; +; T1, T3"));
    EXPECT_TRUE(itemOf(53)->Comment().contains(QStringLiteral("\nHétfő 07:45-09:15\n")));
    TField *kiiras = form->MT_alkalom_temp.FieldByName("kiiras");
    EXPECT_EQ(kiiras->Text(), "Not display");
    for (const auto &[room, shown] : {std::pair{77, "Nincs meg a terem"}, std::pair{0, "Nincs meg a terem"}, std::pair{-1, "Nincs terem"}}) {
        setFields(form->MT_alkalom_temp, {{"terem_id", room}});
        EXPECT_EQ(kiiras->DisplayText(), shown) << room;
    }
    EXPECT_TRUE(HasWeekFrom("000100000000000", 1) && HasWeekFrom("000100000000000", 4) && !HasWeekFrom("000100000000000", 5));
    EXPECT_FALSE(HasWeekFrom("111", 4) || HasWeekFrom("", 1));
    EXPECT_TRUE(HasWeekFrom("001", 3)) << "the last week of a mask is looked at";
}

class ViewRebuild : public Faculty {
protected:
    void expectSharedTablesHandedBack()
    {
        EXPECT_FALSE(DM->MT_kurzusorarend.Filtered() || DM->MT_kurzusoktato.Filtered() || DM->MT_kurzustargy.Filtered());
        EXPECT_TRUE(DM->MT_kurzusoktato.MasterSource() == nullptr && DM->MT_kurzustargy.MasterSource() == nullptr);
    }
};

TEST_F(ViewRebuild, TimetableListsItsCoursesSortedByCaptionWithTheListFiltersAndDrawsTheirOccasions)
{
    showTimetable(1);
    // "!" marks a course without subject; an unnamed course takes its subject's name.
    EXPECT_EQ(listedCourses(), (Ids{11, 13, 12, 10}));
    QStringList row;
    for (int column = 0; column < 7; ++column)
        row << rowOf(10)->text(column);
    EXPECT_EQ(row.join('|') + ' ' + rowOf(11)->text(0), QStringLiteral("MAT-1|Matematika|30||10|1|3 !FIZ-1"));
    // The attached course 12 shows its head's occasions under its own id and code.
    EXPECT_EQ(items(), (Items{{10, 100}, {10, 101}, {11, 110}, {12, 100}, {12, 101}}));
    EXPECT_EQ(form->VL->Items()[3]->Subject().left(7), QStringLiteral("KEM-1; "));
    expectSharedTablesHandedBack();
    EXPECT_FALSE(form->RefreshBusy);
    // Course 15's subject has the id 0, which is a subject like any other.
    addCourse({15, "NUL-1", "", 0, 10}, {1});
    for (const auto &[entry, listed] :
         {std::pair{form->PM_LV2, Ids{13, 15}}, std::pair{form->PM_LV3, Ids{11, 12, 13, 15}}, std::pair{form->PM_LV1, Ids{10, 12}},
          std::pair{form->PM_LV4, Ids{11, 12, 13}}, std::pair{form->Nincstrgyfelels1, Ids{10, 12, 13, 15}},
          std::pair{form->PM_LV0, Ids{10, 11, 12, 13, 15}}}) {
        entry->trigger();
        EXPECT_EQ(sortedCourses(), listed) << entry->text().toStdString();
    }
    EXPECT_EQ(rowOf(15)->text(0), QStringLiteral("NUL-1"));
    form->tobbalkalomCB->setChecked(true);
    EXPECT_EQ(sortedCourses(), (Ids{10, 12})) << "only courses of two or more occasions";
    form->tobbalkalomCB->setChecked(false);

    // A chosen timetable wins over the working mode; an empty one or no selection lists nothing.
    form->WorkMode = 2;
    showTimetable(2);
    EXPECT_EQ(items(), (Items{{14, 140}}));
    for (const int id : {3, -1}) {
        showTimetable(id);
        EXPECT_EQ(form->LV->topLevelItemCount() + form->VL->Items().Count(), 0) << id;
        EXPECT_EQ(editRow(), QStringLiteral("|||"));
    }
    // The filter menu works only for a timetable chosen through the dialog.
    showSelection(3, 1);
    form->PM_LV2->trigger();
    EXPECT_TRUE(form->ListFilter == 3 && listedCourses() == Ids{10});
}

TEST_F(ViewRebuild, ChosenWeekListsCoursesWithAnOccasionThenOrFromThenOn)
{
    // Course 15 runs in weeks 1-2 and 9; occasion 101 in weeks 1-4 only.
    addCourse({15, "GEO-1", "Geometria", 3, 10}, {1});
    addOccasion(150, 15, at(Monday1 + 4, 8, 0), at(Monday1 + 4, 10, 0), "000000001000000", 5);
    addOccasion(151, 15, at(Monday1 + 4, 12, 0), at(Monday1 + 4, 14, 0), "110000000000000", 5);
    form->AlkalomCB->setChecked(false);
    form->TimetableId = form->SelectionId = 1;
    for (const auto &[week, listed] : {std::pair{5, Ids{10, 11, 12}}, std::pair{9, Ids{10, 11, 12, 15}},
                                       std::pair{15, Ids{10, 11, 12}}, std::pair{1, Ids{10, 11, 12, 15}}}) {
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
    EXPECT_EQ(rowOf(10)->text(0) + rowOf(10)->text(5) + itemOf(100)->Kiiras(), QStringLiteral("MAT-1/r-1B-101")) << "short code, no timetable";
    EXPECT_EQ(items(), (Items{{10, 100}, {11, 110}}));
    form->AlkalomCB->setChecked(true);
    EXPECT_EQ(items(), (Items{{10, 100}, {10, 101}, {11, 110}})) << "every occasion draws the other rooms too";

    showSelection(3, 1);
    EXPECT_TRUE(listedCourses() == Ids{10} && rowOf(10)->text(5) == "1");
    EXPECT_EQ(items(), (Items{{10, 100}, {10, 101}}));
    EXPECT_EQ(itemOf(100)->Subject(), QStringLiteral("MAT-1; Matematika; B-101; Kovács Anna"));
    expectSharedTablesHandedBack();
    addTeacher(0, "Nulla Tanár");
    linkTeacher(13, 0);
    showSelection(3, 0);
    EXPECT_EQ(listedCourses(), (Ids{13})) << "zero is an id like any other";

    showSelection(4, 3);
    EXPECT_TRUE(sortedCourses() == Ids({10, 12}) && rowOf(12)->text(6) == "3");
    EXPECT_EQ(items(), (Items{{10, 100}, {10, 101}})) << "each course's own occasions";
    expectSharedTablesHandedBack();

    // The occasion panel is hidden while a selection is walked, and passes on a focus inside it.
    auto *panelEdit = form->DBCtrlGrid1->findChild<QLineEdit *>();
    ASSERT_NE(panelEdit, nullptr);
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form));
    QTest::mouseClick(panelEdit, Qt::LeftButton);
    ASSERT_EQ(form->focusWidget(), panelEdit);
    showSelection(3, 1);
    EXPECT_FALSE(form->DBCtrlGrid1->isAncestorOf(form->focusWidget()));
    EXPECT_TRUE(form->DBCtrlGrid1->isVisible());

    form->MT_alkalom_temp.Close();
    EXPECT_ANY_THROW(showTimetable(1));
    expectSharedTablesHandedBack();
    EXPECT_TRUE(!form->RefreshBusy && form->VL->updatesEnabled()) << "a failed rebuild hands everything back";
    EXPECT_ANY_THROW(showSelection(3, 1));
    EXPECT_TRUE(form->DBCtrlGrid1->isVisible()) << "and the occasion panel";
}

TEST_F(ViewRebuild, ItemsShowTheirOccasionCoursesTeachersAndLeaveTheLinksOnTheLastItemsCourse)
{
    // Course 10 has four links, the third naming no teacher; the last items drawn, course 12's,
    // show course 10's occasions.
    addTeacher(3, "Szabó Csilla");
    for (int id : {2, 99, 3})
        linkTeacher(10, id);
    const auto teachersByCourse = [this] {
        std::map<int, QString> shown;
        for (TCustomCalendarItem *item : form->VL->Items())
            shown[static_cast<TSajat *>(item)->KurzusID] = static_cast<TSajat *>(item)->Oktatok();
        return shown;
    };
    TztrMemTable &links = form->MT_kurzusoktato_temp2;
    showTimetable(1);
    const QString course10 = QStringLiteral("Kovács Anna, Nagy Béla");
    EXPECT_EQ(teachersByCourse(), (std::map<int, QString>{{10, course10}, {11, ""}, {12, course10}}));
    EXPECT_TRUE(links.Filter() == "kurzus_id=10" && links.Filtered() && !links.Eof());
    EXPECT_EQ(links.FieldByName("oktato_id")->AsInteger(), 3) << "the fourth link, not read";

    // Each rebuild reads the names afresh. Course 13 is drawn last now.
    addOccasion(130, 13, at(Monday1 + 4, 8, 0), at(Monday1 + 4, 9, 0));
    DM->MT_oktato.Locate("oktato_id", 2, {});
    setFields(DM->MT_oktato, {{"oktato_nev", "Nagy Ede"}});
    addTeacher(4, "Tóth Dénes");
    for (int id : {1, 2, 3, 4})
        linkTeacher(13, id);
    showTimetable(1);
    EXPECT_EQ(teachersByCourse()[12], QStringLiteral("Kovács Anna, Nagy Ede"));
    EXPECT_EQ(teachersByCourse()[13], QStringLiteral("Kovács Anna, Nagy Ede, Szabó Csilla"));
    EXPECT_TRUE(links.Filter() == "kurzus_id=13" && links.Filtered() && !links.Eof());
    EXPECT_EQ(links.FieldByName("oktato_id")->AsInteger(), 4);

    // Every branch shows what drawing each occasion on its own shows.
    for (const auto &[mode, id] : {std::pair{3, 2}, std::pair{4, 3}, std::pair{2, 5}}) {
        showSelection(mode, id);
        std::map<int, QString> drawn;
        for (TCustomCalendarItem *item : form->VL->Items())
            drawn[static_cast<TSajat *>(item)->AlkalomID] = static_cast<TSajat *>(item)->Oktatok();
        ASSERT_FALSE(drawn.empty()) << mode;
        std::map<int, QString> single;
        form->VL->Items().Clear();
        for (const auto &[alkalomId, shown] : drawn) {
            form->MT_alkalom_temp.SetFiltered(false);
            ASSERT_TRUE(form->MT_alkalom_temp.Locate("alkalom_id", alkalomId, {}));
            form->AddOccasionToCalendar(form->MT_alkalom_temp);
            single[alkalomId] = itemOf(alkalomId)->Oktatok();
        }
        EXPECT_EQ(drawn, single) << mode;
        expectSharedTablesHandedBack();
    }
}

TEST_F(ViewRebuild, ARowOfTwoLinesIsDrawnTallerWhileRowsOfOneLineStayAlike)
{
    const auto heights = [this] {
        std::map<int, int> shown;
        for (int course : {10, 11, 12, 13})
            shown[course] = form->LV->visualItemRect(rowOf(course)).height();
        return shown;
    };
    showTimetable(1);
    const int line = heights()[10];
    ASSERT_GT(line, 0);
    EXPECT_EQ(heights(), (std::map<int, int>{{10, line}, {11, line}, {12, line}, {13, line}}));

    DM->MT_kurzus.Locate("kurzus_id", 12, {});
    setFields(DM->MT_kurzus, {{"megjegyzes", "első sor\nmásodik sor"}});
    showTimetable(1);
    EXPECT_GT(heights()[12], line) << "the remark's second line shows";
    EXPECT_TRUE(heights()[10] == line && heights()[11] == line && heights()[13] == line);

    // So does a title of two lines, and the remark of one line gives its row back.
    DM->MT_kurzus.Locate("kurzus_id", 12, {});
    setFields(DM->MT_kurzus, {{"megjegyzes", ""}});
    DM->MT_kurzus.Locate("kurzus_id", 10, {});
    setFields(DM->MT_kurzus, {{"megnevezes", "Matematika\nelőadás"}});
    showTimetable(1);
    EXPECT_GT(heights()[10], line);
    EXPECT_EQ(heights()[12], line);
}

TEST_F(ViewRebuild, ARowSortsByItsTextAsItIsNowWhenAColumnIsClicked)
{
    showTimetable(1);
    QHeaderView *header = form->LV->header();
    const auto clickColumn = [header](int column) {
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
    };
    rowOf(12)->setText(1, QStringLiteral("Kémia"));
    clickColumn(1);
    EXPECT_EQ(listedCourses(), (Ids{13, 11, 12, 10}));
    clickColumn(0);
    EXPECT_EQ(listedCourses(), (Ids{11, 13, 12, 10}));
    // A text changed after a sort counts at the next one, in either column.
    rowOf(10)->setText(0, QStringLiteral("ÁLG-1"));
    rowOf(13)->setText(1, QStringLiteral("Zoológia"));
    clickColumn(0);
    EXPECT_EQ(listedCourses(), (Ids{11, 13, 12, 10})) << "Á sorts after the letters a-z fold to";
    rowOf(10)->setText(0, QStringLiteral("ALG-1"));
    clickColumn(0);
    EXPECT_EQ(listedCourses(), (Ids{11, 10, 13, 12}));
    clickColumn(1);
    EXPECT_EQ(listedCourses(), (Ids{11, 12, 10, 13}));
}

TEST_F(ViewRebuild, TheFirstCourseWalkedIsSelectedAndInSightWhereTheSortPutsIt)
{
    // Course 20 comes first in the walk; its code sorts it last, then into the middle.
    addCourse({20, "ZZZ-1"}, {7});
    for (int id = 21; id < 61; ++id)
        addCourse({id, ("A-" + std::to_string(id)).c_str()}, {7});
    // As if selected at the top before the sort, the list moves only as far as needed to show it.
    const auto expectShownAtTheBottom = [this](const char *when) {
        ASSERT_EQ(form->LV->currentItem(), rowOf(20)) << when;
        const QRect view = form->LV->viewport()->rect();
        const QRect row = form->LV->visualItemRect(rowOf(20));
        EXPECT_TRUE(row.top() >= view.top() && row.bottom() <= view.bottom()) << when;
        EXPECT_GT(row.bottom() + row.height(), view.bottom()) << when;
    };
    showTimetable(7);
    expectShownAtTheBottom("sorted last");

    // Scrolled to the end first, the list still shows the row from above, not from below.
    QTest::keyClick(form->LV, Qt::Key_End);
    ASSERT_GT(form->LV->verticalScrollBar()->value(), 0);
    DM->MT_kurzus.Locate("kurzus_id", 20, {});
    setFields(DM->MT_kurzus, {{"kurzus_kod_osszetett", "A-405"}});
    showTimetable(7);
    expectShownAtTheBottom("sorted into the middle");

    // Sorted into the first rows, it is shown from the top.
    DM->MT_kurzus.Locate("kurzus_id", 20, {});
    setFields(DM->MT_kurzus, {{"kurzus_kod_osszetett", "0-1"}});
    QTest::keyClick(form->LV, Qt::Key_End);
    showTimetable(7);
    EXPECT_EQ(form->LV->currentItem(), rowOf(20));
    EXPECT_EQ(form->LV->verticalScrollBar()->value(), 0);
}
