// The main window's calendar items built from occasion rows, and the helpers they share.

#include "app/brelvix_pasFixture.h"

using namespace mainwindowtest;

namespace {

class MainWindowItems : public MainWindow {
protected:
    // The course row on its own cursor, as the callers hand it over.
    TDataSet *courseRow(int id)
    {
        TztrMemTable &courses = form->MT_kurzus_temp;
        for (courses.First(); !courses.Eof(); courses.Next()) {
            if (courses.FieldByName("kurzus_id")->AsInteger() == id)
                return &courses;
        }
        return nullptr;
    }
    TSajat *onlyItem()
    {
        EXPECT_EQ(form->VL->Items().Count(), 1);
        return form->VL->Items().Count() == 1 ? dynamic_cast<TSajat *>(form->VL->Items()[0]) : nullptr;
    }
    void addCourse(int id, int targyId, const char *code, const char *title)
    {
        MainWindow::addCourse({id, code, title, targyId});
    }
    TDataSet &addOccasion(int id, int kurzusId, TDateTime start, TDateTime end, int gyakorisag = 0,
                          const char *hetek = "111111111111111", int teremId = 0)
    {
        return addOccasionAt(id, kurzusId, start, end, gyakorisag, hetek, teremId);
    }
};

} // namespace

TEST_F(MainWindowItems, WindowSharesTheDataModulesRecords)
{
    addCourse(7, -1, "K7", "Hetedik");
    EXPECT_EQ(form->MT_kurzus_temp.AttachedTo(), &DM->MT_kurzus);
    EXPECT_EQ(form->MT_alkalom_temp.AttachedTo(), &DM->MT_alkalom);
    EXPECT_EQ(form->MT_kurzusoktato_temp2.AttachedTo(), &DM->MT_kurzusoktato);
    form->MT_kurzus_temp.First();
    EXPECT_EQ(form->MT_kurzus_temp.RecordCount(), 1);
    EXPECT_EQ(form->MT_kurzus_temp.FieldByName("kurzus_id")->AsInteger(), 7);
}

TEST_F(MainWindowItems, ItemTakesIdsTimesCodeWeeksAndColours)
{
    addCourse(5, -1, "K5", "Analízis");
    TDataSet &occasion = addOccasion(40, 5, at(Monday1, 8, 0), at(Monday1, 9, 30), 999, "101110000000000");
    form->AddCalendarItem(occasion, courseRow(5), nullptr);

    TSajat *item = onlyItem();
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->AlkalomID, 40);
    EXPECT_EQ(item->KurzusID, 5);
    EXPECT_EQ(item->Length(), 90);
    EXPECT_NEAR(double(item->Start()), double(at(Monday1, 8, 0)), 1e-9);
    EXPECT_EQ(item->Kod(), QStringLiteral("K5"));
    EXPECT_EQ(item->Nev(), QStringLiteral("Analízis"));
    EXPECT_EQ(item->GyakorisagJel(), QStringLiteral("(1,3-5)"));
    EXPECT_EQ(item->SelBGColor(), 0xF0CAA6u);
    EXPECT_EQ(item->BGColor(), 0xC0DCC0u);
}

TEST_F(MainWindowItems, EndPastMidnightGivesTheShortestItem)
{
    addCourse(5, -1, "K5", "Analízis");
    form->AddCalendarItem(addOccasion(41, 5, at(Monday1, 23, 0), at(Monday1 + 1, 0, 30)), courseRow(5),
                          nullptr);
    ASSERT_NE(onlyItem(), nullptr);
    EXPECT_EQ(onlyItem()->Length(), 5);
}

TEST_F(MainWindowItems, TitleComesFromTheCourseThenItsSubjectElseTellsWhatIsMissing)
{
    struct Case {
        bool course;
        const char *title;
        bool subject;
        const char *expected;
    };
    int alkalomId = 40;
    for (const Case &c :
         {Case{false, "", false, "Hiányzó kurzus!"}, Case{true, "Saját név", true, "Saját név"},
          Case{true, "", true, "Lineáris algebra"},
          Case{true, "", false, "A tárgy vagy egyedi foglalás nem található!!!"}}) {
        form->VL->Items().Clear();
        DM->MT_kurzus.EmptyTable();
        DM->MT_targy.EmptyTable();
        if (c.course)
            addCourse(5, 3, "K5", c.title);
        if (c.subject)
            addSubject(3, "LA", "Lineáris algebra");
        DM->MT_targy.First();
        TDataSet &occasion =
            addOccasion(++alkalomId, c.course ? 5 : 99, at(Monday1, 10, 0), at(Monday1, 11, 0));
        form->AddCalendarItem(occasion, c.course ? courseRow(5) : nullptr,
                              c.subject ? &DM->MT_targy : nullptr);
        ASSERT_NE(onlyItem(), nullptr) << c.expected;
        EXPECT_EQ(onlyItem()->Nev(), QString::fromUtf8(c.expected));
        EXPECT_EQ(onlyItem()->KurzusID, c.course ? 5 : -1) << c.expected;
    }
}

TEST_F(MainWindowItems, FindCalendarItemGivesTheFirstItemOfTheOccasion)
{
    addCourse(5, -1, "K5", "Analízis");
    form->AddCalendarItem(addOccasion(46, 5, at(Monday1, 8, 0), at(Monday1, 9, 0)), courseRow(5), nullptr);
    form->AddCalendarItem(addOccasion(47, 5, at(Monday1, 10, 0), at(Monday1, 11, 0)), courseRow(5), nullptr);
    form->AddCalendarItem(DM->MT_alkalom, courseRow(5), nullptr);

    EXPECT_EQ(form->FindCalendarItem(47), form->VL->Items()[1]);
    EXPECT_EQ(form->FindCalendarItem(46), form->VL->Items()[0]);
    EXPECT_EQ(form->FindCalendarItem(48), nullptr);
}

TEST_F(MainWindowItems, UpdateRewritesTheItemAndKeepsItsIdsAndColours)
{
    addCourse(5, -1, "K5", "Analízis");
    TDataSet &occasion = addOccasion(48, 5, at(Monday1, 8, 0), at(Monday1, 9, 30));
    form->AddCalendarItem(occasion, courseRow(5), nullptr);
    TSajat *item = onlyItem();
    ASSERT_NE(item, nullptr);
    item->SetOktatok(QStringLiteral("Régi Tanár"));
    item->SetBGColor(clYellow);

    occasion.Edit();
    occasion.FieldByName("kezd_ido")->SetAsDateTime(at(Monday1 + 2, 12, 0));
    occasion.FieldByName("veg_ido")->SetAsDateTime(at(Monday1 + 2, 12, 45));
    occasion.FieldByName("gyakorisag")->SetAsInteger(2);
    occasion.Post();
    EXPECT_EQ(messagesOf([&] { form->UpdateCalendarItem(occasion, courseRow(5), nullptr); }), QStringList{});

    EXPECT_EQ(form->VL->Items().Count(), 1);
    EXPECT_EQ(item->StartText(), QStringLiteral("Szerda 12:00"));
    EXPECT_EQ(item->Length(), 45);
    EXPECT_EQ(item->GyakorisagJel(), QStringLiteral("#"));
    EXPECT_EQ(item->Oktatok(), QStringLiteral("Régi Tanár")) << "editing an occasion changes no teacher";
    EXPECT_EQ(item->BGColor(), clYellow);
    EXPECT_EQ(item->AlkalomID, 48);
    EXPECT_EQ(item->KurzusID, 5);
}

TEST_F(MainWindowItems, UpdateOfAnOccasionNotOnTheCalendarTellsItOnce)
{
    addCourse(5, -1, "K5", "Analízis");
    TDataSet &occasion = addOccasion(49, 5, at(Monday1, 8, 0), at(Monday1, 9, 30));
    EXPECT_EQ(messagesOf([&] { form->UpdateCalendarItem(occasion, courseRow(5), nullptr); }),
              QStringList{QStringLiteral("A Calendar-ban nem találom az alkalmat!")});
    EXPECT_EQ(form->VL->Items().Count(), 0);
}

TEST_F(MainWindowItems, RoomTextIsLookedUpOnlyWhileSwitchedOnAndTellsAMissingRoom)
{
    addRoom(8, "Fő épület", "A101", "", 0);
    addOccasion(50, 1, at(Monday1, 8, 0), at(Monday1, 9, 30), 0, "111111111111111", 8);
    addOccasion(51, 1, at(Monday1, 8, 0), at(Monday1, 9, 30), 0, "111111111111111", 77);
    addOccasion(52, 1, at(Monday1, 8, 0), at(Monday1, 9, 30), 0, "111111111111111", -1);
    TztrMemTable &occasions = form->MT_alkalom_temp;
    occasions.First();
    TField *kiiras = occasions.FieldByName("kiiras");
    EXPECT_EQ(kiiras->DisplayText(), "");
    form->RoomTextOn = true;
    EXPECT_EQ(cp1250ToUtf8(kiiras->DisplayText()), "Fő épület-A101");
    EXPECT_EQ(kiiras->Text(), "Not display");
    occasions.Next();
    EXPECT_EQ(occasions.FieldByName("kiiras")->DisplayText(), "Nincs meg a terem");
    occasions.Next();
    EXPECT_EQ(occasions.FieldByName("kiiras")->DisplayText(), "Nincs terem");
}

TEST_F(MainWindowItems, BoxShowsCodeTitleRoomMarkerAndTeachers)
{
    addCourse(5, -1, "K1", "Algebra");
    addRoom(8, "Fő", "A101", "", 0);
    addTeacher(1, "T1");
    addTeacher(2, "T2");
    linkTeacher(5, 1);
    linkTeacher(5, 2);
    form->RoomTextOn = true;
    addOccasion(53, 5, at(Monday1, 7, 45), at(Monday1, 9, 15), 1, "101010101010101", 8);
    form->MT_alkalom_temp.GotoCurrent(DM->MT_alkalom);
    form->AddOccasionToCalendar(form->MT_alkalom_temp);

    TSajat *item = onlyItem();
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->Subject(), QStringLiteral("K1; Algebra; Fő-A101; +; T1, T2"));
    EXPECT_TRUE(item->Comment().contains(QStringLiteral("\nHétfő 07:45-09:15\n")));
}

TEST_F(MainWindowItems, AtMostThreeLinksAreReadAndAMissingTeacherIsSkipped)
{
    addCourse(5, -1, "K5", "Analízis");
    for (int id : {1, 3, 4, 5})
        addTeacher(id, ("Tanár " + std::to_string(id)).c_str());
    for (int id : {1, 2, 3, 4, 5})
        linkTeacher(5, id);
    addCourse(6, -1, "K6", "Másik");
    linkTeacher(6, 4);

    form->AddCalendarItemForCourse(addOccasion(54, 5, at(Monday1, 8, 0), at(Monday1, 9, 0)), courseRow(5));
    ASSERT_NE(onlyItem(), nullptr);
    EXPECT_EQ(onlyItem()->Oktatok(), QStringLiteral("Tanár 1, Tanár 3"));
}

TEST_F(MainWindowItems, CourseSubjectIsLookedUpForTheTitle)
{
    addCourse(5, 3, "K5", "");
    addSubject(2, "MT", "Más tárgy");
    addSubject(3, "GEO", "Geometria");
    form->AddCalendarItemForCourse(addOccasion(55, 5, at(Monday1, 8, 0), at(Monday1, 9, 0)), courseRow(5));
    ASSERT_NE(onlyItem(), nullptr);
    EXPECT_EQ(onlyItem()->Nev(), QStringLiteral("Geometria"));
}

TEST_F(MainWindowItems, OccasionOfACourseOutsideTheWindowIsLeftOff)
{
    form->AddOccasionToCalendar(addOccasion(56, 999, at(Monday1, 8, 0), at(Monday1, 9, 0)));
    EXPECT_EQ(form->VL->Items().Count(), 0);
    EXPECT_EQ(messagesOf([&] { form->UpdateOccasionInCalendar(DM->MT_alkalom); }), QStringList{})
        << "an occasion left off is not looked for";
}

TEST_F(MainWindowItems, UpdateOccasionInCalendarRewritesItsItem)
{
    addCourse(5, -1, "K5", "Analízis");
    TDataSet &occasion = addOccasion(57, 5, at(Monday1, 8, 0), at(Monday1, 9, 0));
    form->AddOccasionToCalendar(occasion);
    occasion.Edit();
    occasion.FieldByName("veg_ido")->SetAsDateTime(at(Monday1, 10, 0));
    occasion.Post();
    form->UpdateOccasionInCalendar(occasion);
    ASSERT_NE(onlyItem(), nullptr);
    EXPECT_EQ(onlyItem()->Length(), 120);
}

TEST(WeekTest, WeekIsFoundOnlyFromPositionsAtOrBeforeIt)
{
    const std::string mask = "000100000000000";
    for (int k = 1; k <= 15; ++k)
        EXPECT_EQ(HasWeekFrom(mask, k), k <= 4) << "from " << k;
    EXPECT_FALSE(HasWeekFrom("111", 4));
    EXPECT_FALSE(HasWeekFrom("", 1));
    EXPECT_TRUE(HasWeekFrom("001", 3));
}
