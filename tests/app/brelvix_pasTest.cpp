// The main window's calendar items built from occasion rows, and the helpers they share.

#include "sajat/SajatVCI.h"
#include "app/brelvix_pas.h"
#include "data/datam.h"
#include "platform/Cp1250.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr int Monday1 = 2;

TDateTime at(int day, int hour, int minute)
{
    return day + (hour * 60 + minute) / 1440.0;
}

// Fields of one row, texts in UTF-8.
struct Value {
    const char *field;
    Variant value;
};

Value text(const char *field, const char *utf8)
{
    return {field, Variant(utf8ToCp1250(utf8))};
}

void appendRow(TDataSet &table, std::initializer_list<Value> values)
{
    table.Append();
    for (const Value &v : values)
        table.FieldByName(v.field)->SetAsVariant(v.value);
    table.Post();
}

// The main window on a data module loaded from the sample data, with the tables the calendar
// items are made from emptied, so that each test states the rows it needs.
class MainWindowItems : public testing::Test {
protected:
    void SetUp() override
    {
        dm = std::make_unique<TDM>(TDMEnvironment{[] { return std::string(BRELVIX_SAMPLEDATA_DIR "/"); },
                                                  [](std::string &) { return false; }});
        DM = dm.get();
        for (TztrMemTable *table : {&DM->MT_kurzus, &DM->MT_alkalom, &DM->MT_kurzusoktato, &DM->MT_oktato,
                                    &DM->MT_targy, &DM->MT_terem})
            table->EmptyTable();
        form = std::make_unique<TForm1>();
    }
    void TearDown() override
    {
        form.reset();
        DM = nullptr;
    }

    void addCourse(int id, int targyId, const char *kod, const char *megnevezes)
    {
        appendRow(DM->MT_kurzus, {{"kurzus_id", id},
                                  {"targy_id", targyId},
                                  text("kurzus_kod_osszetett", kod),
                                  text("megnevezes", megnevezes)});
    }
    // Leaves DM.MT_alkalom on the new occasion.
    TDataSet &addOccasion(int id, int kurzusId, TDateTime start, TDateTime end, int gyakorisag = 0,
                          const char *hetek = "111111111111111", int teremId = 0)
    {
        appendRow(DM->MT_alkalom, {{"alkalom_id", id},
                                   {"kurzus_id", kurzusId},
                                   {"terem_id", teremId},
                                   {"kezd_ido", start},
                                   {"veg_ido", end},
                                   {"gyakorisag", gyakorisag},
                                   text("hetek", hetek)});
        return DM->MT_alkalom;
    }
    void addSubject(int id, const char *nev) { appendRow(DM->MT_targy, {{"targy_id", id}, text("targy_nev", nev)}); }
    void addTeacher(int id, const char *nev) { appendRow(DM->MT_oktato, {{"oktato_id", id}, text("oktato_nev", nev)}); }
    void linkTeacher(int kurzusId, int oktatoId)
    {
        appendRow(DM->MT_kurzusoktato, {{"kurzus_id", kurzusId}, {"oktato_id", oktatoId}, {"szazalek", 100}});
    }
    void addRoom(int id, const char *hely, const char *kod)
    {
        appendRow(DM->MT_terem, {{"terem_id", id}, text("terem_hely", hely), text("terem_kod", kod)});
    }
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

    std::unique_ptr<TDM> dm;
    std::unique_ptr<TForm1> form;
};

// What a plain message box showed before the test answered it.
struct SeenMessages {
    int count = 0;
    QString text;
};

// Answers every plain message box the routine shows, counting them.
template <class Routine>
SeenMessages answeringMessages(Routine routine)
{
    SeenMessages seen;
    QTimer answerer;
    QObject::connect(&answerer, &QTimer::timeout, [&seen] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        ++seen.count;
        seen.text = box->text();
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    });
    answerer.start(0);
    routine();
    return seen;
}

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
    TDataSet &occasion = addOccasion(41, 5, at(Monday1, 23, 0), at(Monday1 + 1, 0, 30));
    form->AddCalendarItem(occasion, courseRow(5), nullptr);
    ASSERT_NE(onlyItem(), nullptr);
    EXPECT_EQ(onlyItem()->Length(), 5);
}

TEST_F(MainWindowItems, TitleTellsAMissingCourse)
{
    TDataSet &occasion = addOccasion(42, 99, at(Monday1, 10, 0), at(Monday1, 11, 0));
    form->AddCalendarItem(occasion, nullptr, nullptr);
    ASSERT_NE(onlyItem(), nullptr);
    EXPECT_EQ(onlyItem()->Nev(), QStringLiteral("Hiányzó kurzus!"));
    EXPECT_EQ(onlyItem()->KurzusID, -1);
}

TEST_F(MainWindowItems, TitleIsTheCoursesOwnNameBeforeTheSubjects)
{
    addCourse(5, 3, "K5", "Saját név");
    addSubject(3, "Tárgynév");
    DM->MT_targy.First();
    TDataSet &occasion = addOccasion(43, 5, at(Monday1, 10, 0), at(Monday1, 11, 0));
    form->AddCalendarItem(occasion, courseRow(5), &DM->MT_targy);
    ASSERT_NE(onlyItem(), nullptr);
    EXPECT_EQ(onlyItem()->Nev(), QStringLiteral("Saját név"));
}

TEST_F(MainWindowItems, UnnamedCourseTakesTheSubjectsName)
{
    addCourse(5, 3, "K5", "");
    addSubject(3, "Lineáris algebra");
    DM->MT_targy.First();
    TDataSet &occasion = addOccasion(44, 5, at(Monday1, 10, 0), at(Monday1, 11, 0));
    form->AddCalendarItem(occasion, courseRow(5), &DM->MT_targy);
    ASSERT_NE(onlyItem(), nullptr);
    EXPECT_EQ(onlyItem()->Nev(), QStringLiteral("Lineáris algebra"));
}

TEST_F(MainWindowItems, UnnamedCourseWithoutSubjectGetsTheDiagnosticTitle)
{
    addCourse(5, 3, "K5", "");
    TDataSet &occasion = addOccasion(45, 5, at(Monday1, 10, 0), at(Monday1, 11, 0));
    form->AddCalendarItem(occasion, courseRow(5), nullptr);
    ASSERT_NE(onlyItem(), nullptr);
    EXPECT_EQ(onlyItem()->Nev(), QStringLiteral("A tárgy vagy egyedi foglalás nem található!!!"));
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
    const SeenMessages seen = answeringMessages([&] { form->UpdateCalendarItem(occasion, courseRow(5), nullptr); });

    EXPECT_EQ(seen.count, 0);
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
    const SeenMessages seen = answeringMessages([&] { form->UpdateCalendarItem(occasion, courseRow(5), nullptr); });
    EXPECT_EQ(seen.count, 1);
    EXPECT_EQ(seen.text, QStringLiteral("A Calendar-ban nem találom az alkalmat!"));
    EXPECT_EQ(form->VL->Items().Count(), 0);
}

TEST_F(MainWindowItems, RoomTextIsLookedUpOnlyWhileSwitchedOn)
{
    addRoom(8, "Fő épület", "A101");
    addOccasion(50, 1, at(Monday1, 8, 0), at(Monday1, 9, 30), 0, "111111111111111", 8);
    form->MT_alkalom_temp.GotoCurrent(DM->MT_alkalom);
    TField *kiiras = form->MT_alkalom_temp.FieldByName("kiiras");
    EXPECT_EQ(kiiras->DisplayText(), "");
    form->RoomTextOn = true;
    EXPECT_EQ(cp1250ToUtf8(kiiras->DisplayText()), "Fő épület-A101");
    EXPECT_EQ(kiiras->Text(), "Not display");
}

TEST_F(MainWindowItems, RoomTextTellsAMissingRoom)
{
    addOccasion(51, 1, at(Monday1, 8, 0), at(Monday1, 9, 30), 0, "111111111111111", 77);
    addOccasion(52, 1, at(Monday1, 8, 0), at(Monday1, 9, 30), 0, "111111111111111", -1);
    form->RoomTextOn = true;
    TztrMemTable &occasions = form->MT_alkalom_temp;
    occasions.First();
    EXPECT_EQ(occasions.FieldByName("kiiras")->DisplayText(), "Nincs meg a terem");
    occasions.Next();
    EXPECT_EQ(occasions.FieldByName("kiiras")->DisplayText(), "Nincs terem");
}

TEST_F(MainWindowItems, BoxShowsCodeTitleRoomMarkerAndTeachers)
{
    addCourse(5, -1, "K1", "Algebra");
    addRoom(8, "Fő", "A101");
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
    addSubject(2, "Más tárgy");
    addSubject(3, "Geometria");
    form->AddCalendarItemForCourse(addOccasion(55, 5, at(Monday1, 8, 0), at(Monday1, 9, 0)), courseRow(5));
    ASSERT_NE(onlyItem(), nullptr);
    EXPECT_EQ(onlyItem()->Nev(), QStringLiteral("Geometria"));
}

TEST_F(MainWindowItems, OccasionOfACourseOutsideTheWindowIsLeftOff)
{
    form->AddOccasionToCalendar(addOccasion(56, 999, at(Monday1, 8, 0), at(Monday1, 9, 0)));
    EXPECT_EQ(form->VL->Items().Count(), 0);
    const SeenMessages seen = answeringMessages([&] { form->UpdateOccasionInCalendar(DM->MT_alkalom); });
    EXPECT_EQ(seen.count, 0) << "an occasion left off is not looked for";
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

TEST(WeekTest, OnlyWeekFourIsFoundFromWeeksOneToFour)
{
    const std::string mask = "000100000000000";
    for (int k = 1; k <= 4; ++k)
        EXPECT_TRUE(HasWeekFrom(mask, k)) << "from " << k;
    for (int k = 5; k <= 15; ++k)
        EXPECT_FALSE(HasWeekFrom(mask, k)) << "from " << k;
}

TEST(WeekTest, PositionBeyondTheMaskFindsNothing)
{
    EXPECT_FALSE(HasWeekFrom("111", 4));
    EXPECT_FALSE(HasWeekFrom("", 1));
    EXPECT_TRUE(HasWeekFrom("001", 3));
}
