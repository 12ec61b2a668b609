#include "dialogs/orarentitle.h"

#include "dialogs/DialogTestSupport.h"

#include <QProgressBar>

namespace {

using namespace dialogtest;

TEST(ExportCodes, TimetableCodeLanguageAndTypeComeFromTheCodes)
{
    EXPECT_EQ(OrarendKodbol("PMABCDE-EA-00", "2025-2026-1"), "BCD2025-2026-1");
    // A lower-case letter counts as a letter; an accented one does not.
    for (const auto &[course, code] : {std::pair{"PM", "F"}, {"PMAB", "ABF"}, {"X", "XF"}, {"", "F"}, {"PMABCDZ", "BCDF"},
                                       {"PMA1234-GY-01", "A12F"}, {"XYZ123-LA-01", "XYZF"}, {"PMabcdef", "bcdF"}})
        EXPECT_EQ(OrarendKodbol(course, "F"), code) << course;
    EXPECT_EQ(OrarendKodbol(utf8ToCp1250("PMabcdáf"), "F"), "abcF");
    for (const auto &[subject, language] :
         {std::pair{"MSB123A45", "angol"}, {"SZB123M", "magyar"}, {"IDB123X", "Ismeretlen"}, {"EPB12", "Ismeretlen"},
          {"PMXYA", "angol"}, {"PMXYM", "magyar"}, {"msB123A", "Ismeretlen"}, {"ABC123A", "Ismeretlen"}, {"", "Ismeretlen"}})
        EXPECT_EQ(NyelvKodbol(subject), language) << subject;
    EXPECT_EQ(cp1250ToUtf8(TipusKodbol("PMABCDE-EA-00")), "Előadás");
    for (const auto &[course, type] : {std::pair{"X-GY-L", "Gyakorlat"}, {"X-LA", "Labor"}, {"Gyak", "Gyakorlat"},
                                       {"X-ea", "Ismeretlen"}, {"X-", "Ismeretlen"}, {"", "Ismeretlen"}})
        EXPECT_EQ(TipusKodbol(course), type) << course;
}

TEST(ExportTimes, LessonSlotsMatchWithinTwoMinutesAndMinutesAreWrittenAsClockTimes)
{
    const struct { int minute; bool end; int slot; } lessons[] = {{465, false, 1}, {463, false, 1}, {467, false, 1},
        {468, false, 999}, {1155, false, 14}, {555, true, 2}, {1200, true, 14}, {540, true, 999}};
    for (const auto &c : lessons)
        EXPECT_EQ(OraSorszam(c.minute, c.end), c.slot) << c.minute;
    EXPECT_TRUE(IdoEgyezik(100, 45, 147, true));
    EXPECT_FALSE(IdoEgyezik(100, 45, 148, true));
    EXPECT_FALSE(IdoEgyezik(100, 45, 147, false));
    for (const auto &[minute, clock] : {std::pair{465, "07:45"}, {5, "00:05"}, {1200, "20:00"}, {610, "10:10"}})
        EXPECT_EQ(PercbolIdo(minute), clock) << minute;
}

constexpr int Tuesday = Monday1 + 1;
constexpr int Thursday = Monday1 + 3;

class Export : public DialogOn<Torarend> {
protected:
    void SetUp() override
    {
        DialogOn::SetUp();
        addTimetable(1, "Első");
    }
    std::vector<MessageSeen> runExport() { return messagesOf([&] { click(dialog->BTNExport); }); }
    static TDateTime time(double minute) { return minute / 1440.0; }
    static std::string joined(TDataSet &table, const char *field)
    {
        std::string all;
        for (const std::string &value : texts(table, field))
            all += (all.empty() ? "" : " ") + value;
        return all;
    }
};

const std::string CourseHeader =
    "K_helyzet\tK_targykod\tK_felev\tK_kurzustkod\tK_kurzuskod\tK_maxletszam\tK_nyelv\tK_kurzustipus\t"
    "K_hetioraszam\tK_felevesoraszam\tK_tipusazonosito\tK_oktatokastorelkod\tK_oktatoszazalek\tK_oktatotipus\t"
    "megjegyzes\tORARKOD\tORARNEV\tTAGOZAT\tFELEV\tORARKEZDETE\tORARVEGE\tCSENGETESIREND\tORATKOD\tORATNEV\t"
    "AKTORAHOSSZA\tHETEK\tNAP\tORAELEJE\tORAVEGE\tTARGY_KURZUS\tTEREM\tOKTATO\tTEREMUTKOZHET\tOKTATOUTKOZHET\t"
    "KURZUSOKTATOIT_AZORAKHOZ\tHETIRENDSZERES\r\n";
const std::string ScheduleHeader =
    "ORARKOD\tORARNEV\tTAGOZAT\tFELEV\tORARKEZDETE\tORARVEGE\tCSENGETESIREND\tORATKOD\tORATNEV\tAKTORAHOSSZA\t"
    "HETEK\tNAP\tORAELEJE\tORAVEGE\tTARGY_KURZUS\tTEREM\tOKTATO\tTEREMUTKOZHET\tOKTATOUTKOZHET\t"
    "KURZUSOKTATOIT_AZORAKHOZ\tHETIRENDSZERES\r\n";

TEST_F(Export, WithoutAQualifyingCourseWritesOnlyTheHeadersAndStillTellsSo)
{
    addCourse({10, "ABC-EA", "", -1}, {1});
    addSubject(3, "MSX");
    addCourse({11, "DEF-EA", "", 3});
    // Before an export an empty bar would only look like a field to type into.
    EXPECT_TRUE(dialog->PB->isHidden() && dialog->PB2->isHidden());
    dialog->show();
    QApplication::processEvents();
    const QRect editBefore = dialog->Edit1->geometry();
    const std::vector<MessageSeen> seen = runExport();
    EXPECT_FALSE(dialog->PB->isHidden() || dialog->PB2->isHidden());
    QApplication::processEvents();
    EXPECT_EQ(dialog->Edit1->geometry(), editBefore) << "nothing moves when the bars show";
    EXPECT_EQ(textsOf(seen), QStringList{"Export egyenlőre nincs kész!!!"});
    EXPECT_EQ(readFile(folder, "KK_export.txt"), CourseHeader);
    EXPECT_EQ(readFile(folder, "KK_export_ALKALOM.txt"), ScheduleHeader);
}

TEST_F(Export, FilesHoldCourseTeacherSubjectAndScheduleRows)
{
    addSubject(3, "MSABCDAX", "Matek");
    addSubject(4, "PMBIOA", "Bio");
    for (const auto &[id, name, code] : {std::tuple{1, "Kovács Anna", "KA01"}, {2, "Nagy Béla", ".régi"}, {3, "Szabó Cecília", ""}})
        addTeacher(id, name, code);
    addRoom(5, "B", "101");
    addCourse({10, "PMABCDE-EA-00", "", 3, -1, 0, "első év"}, {1});
    addCourse({12, "XYZ123-LA-01", "", 4, 12, 10}, {1});
    for (const auto &[teacher, share] : {std::pair{1, 150}, {2, -5}, {3, 40}})
        linkTeacher(10, teacher, share);
    linkSubject(10, 3, 20);
    linkSubject(10, 4, -1);
    addOccasion(100, 10, Tuesday + double(time(465)), Tuesday + double(time(555)), 5, "000000110000001");
    // The attached course's own occasion is never scheduled.
    addOccasion(120, 12, Thursday + double(time(600)), Thursday + double(time(690)), 5);

    runExport();

    // The course's rows differ only in kind, subject, teacher and share; 21 empty schedule columns follow.
    const auto row = [](const std::string &kind, const std::string &subject, const std::string &teacher,
                        const std::string &share) {
        return kind + "\t" + subject + "\t2025/26/1\tMSABCDAX\tPMABCDE-EA-00\t999\tangol\tElőadás\t2\t28\t\t" +
               teacher + "\t" + share + "\t\telső év" + std::string(21, '\t') + "\r\n";
    };
    EXPECT_EQ(readFile(folder, "KK_export.txt"),
              CourseHeader + utf8ToCp1250(row("1 KURZUS", "MSABCDAX", "", "0") + row("3 OKTATO", "MSABCDAX", "KA01", "100") +
                                          row("3 OKTATO", "MSABCDAX", "Nagy Béla", "0") +
                                          row("3 OKTATO", "MSABCDAX", "Szabó Cecília", "40") +
                                          row("2 TARGY+", "PMBIOA", "", "0") +
                                          "1 KURZUS\tPMBIOA\t2025/26/1\tPMBIOA\tXYZ123-LA-01\t12\tangol\tLabor\t2\t28\t\t\t0\t\t" +
                                          std::string(21, '\t') + "\r\n"));
    EXPECT_EQ(readFile(folder, "KK_export_ALKALOM.txt"),
              ScheduleHeader + utf8ToCp1250("BCD2025-2026-1\tBCD2025-2026-1\tPMABCDE-EA-00\t2025/26/1\t2025.09.08\t"
                                            "2025.12.14\tZQF alapértelmezett 2\tMSABCDAX/PMABCDE-EA-00\t"
                                            "MSABCDAX/PMABCDE-EA-00\t2\t7\t2\t07:45\t09:15\t"
                                            "MSABCDAX{PMABCDE-EA-00};PMBIOA{XYZ123-LA-01}\tZQF-B101\t\tI\tI\tI\tI\r\n"));
}

// Day 1 is the Sunday before the first week, 2 its Monday; the occasion is of a scheduled course.
TEST_F(Export, ScheduleRowsGiveTheDayTheTaughtWeeksAndTheLessonSlots)
{
    addSubject(3, "MSABCDAX", "Matek");
    addCourse({10, "PMABCDE-EA-00", "", 3}, {1});
    const char *every = "111111111111111", *first = "100000000000000", *seventh = "000000100000000";
    // Day, times and lessons of the first row, then every week written.
    const struct { int day; double from, to; const char *hetek, *rows; } cases[] = {
        // The break (8th) and the exam (15th) weeks are left out, and the 7th from Thursday on.
        {Tuesday, 465, 555, every, "2 07:45-09:15 2: 1 2 3 4 5 6 7 9 10 11 12 13 14"},
        {Thursday, 465, 555, every, "4 07:45-09:15 2: 1 2 3 4 5 6 9 10 11 12 13 14"},
        {7, 600, 690, "010000000000000", "6 10:00-11:30 222: 2"},
        {1, 465, 555, first, "7 07:45-09:15 2: 1"},
        {8, 465, 555, seventh, ": "},
        {9, 465, 555, seventh, "0 07:45-09:15 2: 7"},
        // Off the lesson slots by more than two minutes.
        {Tuesday, 480, 540, first, "2 08:00-09:00 222: 1"},
        // A stored minute short of a multiple of five is moved up by one.
        {Tuesday, 464.5, 1199.5, first, "2 07:45-20:00 14: 1"},
        {Tuesday, 462.5, 555, first, "2 07:43-09:15 222: 1"},
    };
    for (const auto &c : cases) {
        DM->MT_alkalom.EmptyTable();
        addOccasion(100, 10, c.day + double(time(c.from)), c.day + double(time(c.to)), -1, c.hetek);
        runExport();
        TztrMemTable &rows = DM->MT_export_alkalom;
        rows.First();
        const std::string firstRow = rows.IsEmpty() ? "" : utf8Of(rows, "K_nap") + " " + utf8Of(rows, "K_oraeleje") + "-" +
                                                           utf8Of(rows, "K_oravege") + " " + utf8Of(rows, "K_orahossza");
        EXPECT_EQ(firstRow + ": " + joined(rows, "K_hetek"), c.rows) << c.day << " " << c.from;
    }
}

// Windows leave filters behind: the walked tables end unfiltered, the looked-up ones as they were.
TEST_F(Export, OnlyCoursesWithASubjectInATimetableAreWrittenEveryRunAfresh)
{
    addSubject(3, "MSX");
    addSubject(4, "FIZ");
    addRoom(5, "Kelmendor", "A-0123456789");
    addCourse({10, "AAA-EA", "", 3}, {1});
    addCourse({11, "BBB-EA", "", -1}, {1});
    addCourse({12, "CCC-EA", "", 3});
    addCourse({13, "DDD-EA", "", 99}, {1});
    addCourse({14, "EEE-EA", "", 4}, {1});
    for (int course : {10, 11, 12})
        addOccasion(course * 10, course, Tuesday + double(time(465)), Tuesday + double(time(555)), 5, "100000000000000");
    addOccasion(101, 10, Thursday + double(time(465)), Thursday + double(time(555)), 77, "100000000000000");
    linkTeacher(10, 1);
    for (const auto &[table, filter] : {std::pair{&DM->MT_alkalom, "kurzus_id=11"}, {&DM->MT_targy, "targy_id=4"},
                                        {&DM->MT_kurzus, "kurzus_id=11"}}) {
        table->SetFilter(filter);
        table->SetFiltered(true);
    }
    runExport();
    runExport();
    EXPECT_EQ(texts(DM->MT_export, "K_kurzuskod"), (std::vector<std::string>{"AAA-EA", "AAA-EA", "DDD-EA", "EEE-EA"}));
    EXPECT_EQ(texts(DM->MT_export, "K_targykod"), (std::vector<std::string>{"MSX", "MSX", "", "FIZ"}));
    EXPECT_EQ(texts(DM->MT_export_alkalom, "K_targy_kurzus"), (std::vector<std::string>{"MSX{AAA-EA}", "MSX{AAA-EA}"}));
    EXPECT_EQ(texts(DM->MT_export_alkalom, "K_teremkod"), (std::vector<std::string>{"ZQF-KelmendorA-01234", ""}));
    for (TztrMemTable *table : {&DM->MT_alkalom, &DM->MT_kurzusoktato, &DM->MT_kurzustargy})
        EXPECT_FALSE(table->Filtered()) << table->Name();
    EXPECT_TRUE(DM->MT_targy.Filtered() && DM->MT_kurzus.Filtered());
    EXPECT_EQ(dialog->PB2->value(), 5);
}

// Links of several courses lie mixed in their tables: each course takes its own in table order,
// and a link without a course, or a further subject without a subject, belongs to nothing.
TEST_F(Export, EachCourseTakesItsOwnLinksInTableOrder)
{
    addSubject(3, "MSX");
    addSubject(4, "FIZ");
    addSubject(5, "KEM");
    addTeacher(1, "Kovács Anna", "KA");
    addTeacher(2, "Nagy Béla", "NB");
    addCourse({10, "AAA-EA", "", 3}, {1});
    addCourse({11, "BBB-GY", "", 4}, {1});
    linkTeacher(10, 2);
    linkTeacher(11, 2);
    linkTeacher(10, 1);
    appendRow(DM->MT_kurzusoktato, {{"kurzus_id", Variant()}, {"oktato_id", 1}, {"szazalek", 100}});
    linkSubject(10, 5);
    linkSubject(11, 5);
    linkSubject(10, 3);
    appendRow(DM->MT_kurzustargy, {{"kurzus_id", 10}, {"targy_id", Variant()}});
    appendRow(DM->MT_kurzustargy, {{"kurzus_id", Variant()}, {"targy_id", 4}});
    linkSubject(10, 4);
    addOccasion(100, 11, Tuesday + double(time(465)), Tuesday + double(time(555)), -1, "100000000000000");
    addOccasion(101, 10, Tuesday + double(time(570)), Tuesday + double(time(660)), -1, "100000000000000");
    addOccasion(102, 11, Thursday + double(time(465)), Thursday + double(time(555)), -1, "100000000000000");
    appendRow(DM->MT_alkalom, {{"alkalom_id", 103}, {"kurzus_id", Variant()}, {"kezd_ido", Tuesday + double(time(465))},
                               {"veg_ido", Tuesday + double(time(555))}, text("hetek", "100000000000000")});
    runExport();
    EXPECT_EQ(joined(DM->MT_export, "K_helyzet"),
              "1 KURZUS 3 OKTATO 3 OKTATO 2 TARGY+ 2 TARGY+ 1 KURZUS 3 OKTATO 2 TARGY+");
    EXPECT_EQ(texts(DM->MT_export, "K_targykod"),
              (std::vector<std::string>{"MSX", "MSX", "MSX", "KEM", "FIZ", "FIZ", "FIZ", "KEM"}));
    EXPECT_EQ(texts(DM->MT_export, "K_oktatokastorelkod"),
              (std::vector<std::string>{"", "NB", "KA", "", "", "", "NB", ""}));
    EXPECT_EQ(joined(DM->MT_export_alkalom, "K_tagozat"), "AAA-EA BBB-GY BBB-GY");
    EXPECT_EQ(joined(DM->MT_export_alkalom, "K_nap"), "2 2 4");
}

TEST_F(Export, ExaminesNoCourseBeyondItsBudget)
{
    addSubject(3, "MSX");
    addCourse({1, "AAA-EA", "", 3}, {1});
    addCourse({2, "BBB-EA", "", 3}, {1});
    addCourse({3, "CCC-EA", "", 3}, {1});
    dialog->ExportTablak(2);
    EXPECT_EQ(texts(DM->MT_export, "K_kurzuskod"), (std::vector<std::string>{"AAA-EA", "BBB-EA"}));
    EXPECT_EQ(dialog->PB2->value(), 2);
}

} // namespace

// Something listening on the export tables takes every row through the usual append and post,
// and the files come out the same.
TEST_F(Export, TablesWithAListenerGetTheSameRowsThroughThePost)
{
    addSubject(3, "MSABCDAX", "Matek");
    addTeacher(1, "Kovács Anna", "KA01");
    addRoom(5, "B", "101");
    addCourse({10, "PMABCDE-EA-00", "", 3}, {1});
    linkTeacher(10, 1, 60);
    addOccasion(100, 10, Tuesday + double(time(465)), Tuesday + double(time(555)), 5);
    runExport();
    const std::string courses = readFile(folder, "KK_export.txt");
    const std::string schedule = readFile(folder, "KK_export_ALKALOM.txt");

    int posted = 0;
    for (TztrMemTable *table : {&DM->MT_export, &DM->MT_export_alkalom})
        table->AfterPost = [&posted](TDataSet &) { ++posted; };
    runExport();
    for (TztrMemTable *table : {&DM->MT_export, &DM->MT_export_alkalom})
        table->AfterPost = nullptr;
    EXPECT_GE(posted, 3) << "at least a course row, its teacher's row and one schedule row";
    EXPECT_NE(schedule, ScheduleHeader);
    EXPECT_EQ(readFile(folder, "KK_export.txt"), courses);
    EXPECT_EQ(readFile(folder, "KK_export_ALKALOM.txt"), schedule);
}
