// Moments a file holds load to the same values, and are refused with the same message, whether
// their text has the form the table writes or any other form the date reader accepts.

#include "memtable/ztrMemCSVStreamFormat.h"
#include "ztrStreamTestTables.h"
#include "ztrTestTables.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace streamtest;

namespace {

// The header of a file of one moment per line, written by the table itself.
std::string emptyMomentFile()
{
    TztrMemTable table;
    table.FieldDefs().Add("sor", ftInteger);
    table.FieldDefs().Add("kezd_ido", ftDateTime);
    table.Open();
    return savedAsCSV(table);
}

std::string momentFile(const std::vector<std::string> &texts)
{
    std::string file = emptyMomentFile();
    for (std::size_t i = 0; i < texts.size(); ++i)
        file += std::to_string(i) + "\t" + texts[i] + "\r\n";
    return file;
}

// Loads straight into the store, or through Post; the refusal's message, empty when none.
std::string load(TztrMemTable &table, const std::filesystem::path &file, bool throughPost)
{
    return messageOf([&] { loadCSVFile(table, file, throughPost); });
}

std::vector<double> moments(TztrMemTable &table)
{
    std::vector<double> values;
    for (table.First(); !table.Eof(); table.Next())
        values.push_back(table.FieldByName("kezd_ido")->AsFloat());
    return values;
}

} // namespace

TEST(LoadedMoment, EveryFormLoadsToTheValueAPostedRecordGets)
{
    const std::vector<std::string> texts{
        "07/09/2026 07:45:00", "7/9/2026 7:45:00", "07/09/2026 07:45", "07/09/2026", " 07/09/2026 07:45:00",
        "07/09/2026  07:45:00", "07/09/2026 7:45:00 PM", "29/02/2024 23:59:59", "30/12/1899 00:00:00",
        "30/12/1899 12:00:00", "29/12/1899 18:00:00", "01/01/0001 00:00:01", "31/12/9999 23:59:59",
        "01/01/999 06:30:00", "07:45:00",
    };
    TempFolder folder;
    writeFile(folder / "kezd.csv", momentFile(texts));
    TztrMemTable direct, posted;
    ASSERT_EQ(load(direct, folder / "kezd.csv", false), "");
    ASSERT_EQ(load(posted, folder / "kezd.csv", true), "");

    ASSERT_EQ(direct.RecordCount(), static_cast<int>(texts.size()));
    EXPECT_EQ(moments(direct), moments(posted));
    // A day before the base day counts its time away from zero.
    direct.Locate("sor", 10, {});
    EXPECT_EQ(direct.FieldByName("kezd_ido")->AsFloat(), -1.75);
}

TEST(LoadedMoment, AMomentThatIsNoneIsRefusedAsThroughPost)
{
    for (const char *text : {"29/02/1900 07:45:00", "07/09/2026 24:00:00", "07/09/2026 07:60:00",
                             "07/09/2026 07:45:60", "00/09/2026 07:45:00", "07/09/10000 07:45:00",
                             "07/09/2026 07:45:00:00", "07/09/2026 07:45:00x"}) {
        SCOPED_TRACE(text);
        TempFolder folder;
        writeFile(folder / "kezd.csv", momentFile({"07/09/2026 07:45:00", text}));
        TztrMemTable direct, posted;
        const std::string message = load(direct, folder / "kezd.csv", false);
        EXPECT_NE(message, "");
        EXPECT_EQ(message, load(posted, folder / "kezd.csv", true));
        EXPECT_EQ(moments(direct), moments(posted));
    }
}
