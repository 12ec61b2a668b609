// The operations that walk every course (the membership dialog, the course-occasion links, the
// export) on the sample data: their searches go through indexes, and what they show and write
// must be what plain searches over the same tables give.

#include "brelvix_pasFixture.h"
#include "dialogs/targybeemeles.h"
#include "support/TempFolder.h"

#include <QCryptographicHash>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

using namespace mainwindowtest;

std::string fileText(const std::filesystem::path &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Every index of the table but the one its rows are read in: each search scans the table.
void searchByScanOnly(TztrMemTable &table)
{
    TztrIndexes &indexes = table.Indexes();
    for (int i = indexes.Count() - 1; i >= 0; --i) {
        TztrIndex *index = indexes.Index(i);
        if (!index->IsRowOrder() && index != table.CurrentIndex())
            indexes.Delete(index);
    }
}

// Every form of the program on a copy of the sample data, which the export writes into.
class SampleData : public testing::Test
{
protected:
    void SetUp() override
    {
        std::filesystem::copy(BRELVIX_SAMPLEDATA_DIR, folder.path());
        openForms();
    }
    void openForms()
    {
        forms = std::make_unique<TProgramForms>(
            TDMEnvironment{[this] { return folder.withSeparator(); }, [](std::string &) { return false; }});
        Form1->show();
    }
    void TearDown() override { forms.reset(); }

    static void searchEveryTableByScan()
    {
        for (TztrMemTable *table :
             {&DM->MT_kurzusorarend, &DM->MT_kurzusalkalom, &DM->MT_targy, &DM->MT_kurzusminta,
              &DM->MT_oktato, &DM->MT_terem, &DM->MT_kurzusoktato, &DM->MT_kurzustargy, &DM->MT_alkalom})
            searchByScanOnly(*table);
    }

    // The rows both lists show, for every timetable, with the box clear and ticked, the dialog
    // opened from the main window's button.
    QStringList membershipLists()
    {
        QStringList shown;
        std::vector<int> timetables;
        for (DM->MT_orarend.First(); !DM->MT_orarend.Eof(); DM->MT_orarend.Next())
            timetables.push_back(DM->MT_orarend.FieldByName("orarend_id")->AsInteger());
        EXPECT_GE(timetables.size(), 2u);
        for (const bool ticked : {false, true}) {
            for (int timetable : timetables) {
                Form1->TimetableId = timetable;
                answeringModals([] { QTest::mouseClick(Form1->B_beemeles, Qt::LeftButton); },
                                [&](QWidget &modal) {
                                    ASSERT_EQ(&modal, beemeles);
                                    if (beemeles->CheckBox1->isChecked() != ticked)
                                        QTest::mouseClick(beemeles->CheckBox1, Qt::LeftButton);
                                    shown << QString::number(timetable) << drawn(*beemeles->DBGrid1)
                                          << drawn(*beemeles->DBGrid2)
                                          << rowsOf(beemeles->MT_kurzus1_temp,
                                                    {"kurzus_id", "kurzus_kod_osszetett", "megnevezes"})
                                          << "|"
                                          << rowsOf(beemeles->MT_kurzus2_temp,
                                                    {"kurzus_id", "kurzus_kod_osszetett", "megnevezes"});
                                    QTest::mouseClick(beemeles->megse, Qt::LeftButton);
                                });
            }
        }
        return shown;
    }

    static QStringList regeneratedLinks()
    {
        DM->MT_kurzusalkalom.EmptyTable();
        DM->KurzusalkalomGeneralas();
        return rowsOf(DM->MT_kurzusalkalom, {"kurzus_id", "alkalom_id"});
    }

    std::pair<std::string, std::string> exportFiles()
    {
        orarend->ExportTablak();
        DM->ExportMentes();
        return {fileText(folder / "KK_export.txt"), fileText(folder / "KK_export_ALKALOM.txt")};
    }

    TempFolder folder;
    std::unique_ptr<TProgramForms> forms;
};

// A whole university's data, generated the same way every time.
class LargeData : public SampleData
{
protected:
    void SetUp() override
    {
        const std::string command =
            std::string(BRELVIX_MAKE_SAMPLEDATA) + " --large --out '" + folder.path().string() + "' >/dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        openForms();
    }
};

QByteArray sha256Of(const std::string &text)
{
    return QCryptographicHash::hash(QByteArrayView(text.data(), qsizetype(text.size())),
                                    QCryptographicHash::Sha256)
        .toHex();
}

} // namespace

TEST_F(SampleData, TheMembershipListsAreThoseOfPlainSearches)
{
    const QStringList indexed = membershipLists();
    searchEveryTableByScan();
    const QStringList scanned = membershipLists();
    EXPECT_EQ(indexed, scanned);
    // Both sides of some timetable are filled, and some courses belong to no timetable.
    EXPECT_GT(indexed.size(), 600);
}

TEST_F(SampleData, TheRegeneratedLinksAreThoseOfPlainSearches)
{
    const QStringList indexed = regeneratedLinks();
    // A second run finds every link in place.
    DM->KurzusalkalomGeneralas();
    EXPECT_EQ(rowsOf(DM->MT_kurzusalkalom, {"kurzus_id", "alkalom_id"}), indexed);
    searchEveryTableByScan();
    EXPECT_EQ(regeneratedLinks(), indexed);
    EXPECT_GT(indexed.size(), DM->MT_alkalom.RecordCount());
}

TEST_F(SampleData, TheExportFilesAreThoseOfPlainSearches)
{
    const auto indexed = exportFiles();
    searchEveryTableByScan();
    const auto scanned = exportFiles();
    EXPECT_EQ(indexed.first, scanned.first);
    EXPECT_EQ(indexed.second, scanned.second);
    EXPECT_GT(std::count(indexed.second.begin(), indexed.second.end(), '\n'), 1000);
}

// The files the export wrote on this data when it filtered the links course by course, and the
// generator that made the data has not changed since.
TEST_F(LargeData, TheExportFilesAreThoseOfTheCourseByCourseExport)
{
    const auto [courses, schedule] = exportFiles();
    EXPECT_EQ(courses.size(), 5592458u);
    EXPECT_EQ(schedule.size(), 106721135u);
    EXPECT_EQ(sha256Of(courses), "ea587149c77ca99eb742008b1aa3f82d348e6ddb9648f51c40b726e976aa0f73");
    EXPECT_EQ(sha256Of(schedule), "4836c94d02717c0e9d73866c061c8ad0c75087bb534afbdefe506ab60a6221fd");
}
