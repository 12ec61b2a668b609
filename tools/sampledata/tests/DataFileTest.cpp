#include "DataFile.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <stdexcept>
#include <unistd.h>

using namespace sampledata;

namespace {

DataTable roomTable()
{
    DataTable table;
    table.fileName = "terem.csv";
    table.fields = {{"terem_id", ftAutoInc, 0},
                    {"terem_kod", ftString, 40},
                    {"terem_hely", ftString, 20},
                    {"terem_kapacitas", ftInteger, 0},
                    {"terem_telephely", ftString, 50}};
    table.indexes = {{"terem_id", "terem_id"}};
    table.rows = {
        {111, std::string("A-001"), std::string("1. emelet\nbal szárny"), 120, std::string("Kelmendor")},
        {112, std::string("A-002"), std::monostate{}, std::monostate{}, std::string("Kelmendor")}};
    return table;
}

DataTable oneFieldTable(FieldDef field, Value value)
{
    DataTable table;
    table.fileName = "proba.csv";
    table.fields = {std::move(field)};
    table.rows = {{std::move(value)}};
    return table;
}

std::string lastLine(const std::string &text)
{
    const std::string body = text.substr(0, text.size() - 2);
    return body.substr(body.rfind("\r\n") + 2);
}

class DataFileSaving : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folder = std::filesystem::temp_directory_path() / ("sampledata_test_" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    std::filesystem::path folder;
};

} // namespace

TEST(DataFileLayout, RoomTableMatchesTheFormatObjectByteForByte)
{
    const std::string expected = "@@FILE VERSION@@\t251\r\n"
                                 "@@TABLEDEF START@@\r\n"
                                 "terem_id=AutoInc,0,\"terem_id\",\"\",10,Data,\"\"\r\n"
                                 "terem_kod=String,40,\"terem_kod\",\"\",40,Data,\"\"\r\n"
                                 "terem_hely=String,20,\"terem_hely\",\"\",20,Data,\"\"\r\n"
                                 "terem_kapacitas=Integer,0,\"terem_kapacitas\",\"\",10,Data,\"\"\r\n"
                                 "terem_telephely=String,50,\"terem_telephely\",\"\",50,Data,\"\"\r\n"
                                 "@@INDEXDEF START@@\r\n"
                                 "terem_id=terem_id,terem_id\r\n"
                                 "@@INDEXDEF END@@\r\n"
                                 "@@TABLEDEF END@@\r\n"
                                 "terem_id\tterem_kod\tterem_hely\tterem_kapacitas\tterem_telephely\r\n"
                                 "111\tA-001\t1. emelet%nbal szárny\t120\tKelmendor\r\n"
                                 "112\tA-002\t\t\tKelmendor\r\n";
    EXPECT_EQ(formatDataFile(roomTable()), expected);
}

TEST(DataFileLayout, IndexSectionIsWrittenEvenWithoutIndexes)
{
    DataTable table = roomTable();
    table.indexes.clear();
    EXPECT_NE(formatDataFile(table).find("@@INDEXDEF START@@\r\n@@INDEXDEF END@@\r\n"), std::string::npos);
}

TEST(DataFileLayout, MultiFieldIndexKeepsItsSemicolonList)
{
    DataTable table = roomTable();
    table.indexes = {{"index5", "terem_hely;terem_kod"}};
    EXPECT_NE(formatDataFile(table).find("\r\nindex5=terem_hely;terem_kod,index5\r\n"), std::string::npos);
}

TEST(DataFileValues, EscapeCharacterAndControlBytesAreEscaped)
{
    const DataTable table =
        oneFieldTable({"megjegyzes", ftString, 100}, std::string("50% online\r\nx") + '\0' + "y");
    EXPECT_EQ(lastLine(formatDataFile(table)), "50%% online%c%nx%0y");
}

TEST(DataFileValues, DateTimeIsTheCalendarDayFromTheEndOf1899WithTimeOfDay)
{
    EXPECT_EQ(lastLine(formatDataFile(oneFieldTable({"kezd_ido", ftDateTime, 0}, DayMinute{2, 465}))),
              "01/01/1900 07:45:00");
    EXPECT_EQ(lastLine(formatDataFile(oneFieldTable({"veg_ido", ftDateTime, 0}, DayMinute{8, 1095}))),
              "07/01/1900 18:15:00");
    EXPECT_EQ(lastLine(formatDataFile(oneFieldTable({"kezd_ido", ftDateTime, 0}, DayMinute{50, 0}))),
              "18/02/1900");
}

TEST(DataFileValues, NegativeIntegersKeepTheirSign)
{
    EXPECT_EQ(lastLine(formatDataFile(oneFieldTable({"terem_id", ftInteger, 0}, -1))), "-1");
}

TEST(DataFileRefusals, TextLongerThanItsFieldIsRefused)
{
    // Accented letters count as one character each, as in the file.
    EXPECT_NO_THROW(formatDataFile(oneFieldTable({"tagozat", ftString, 5}, std::string("őűáéí"))));
    EXPECT_THROW(formatDataFile(oneFieldTable({"tagozat", ftString, 5}, std::string("őűáéíó"))),
                 std::runtime_error);
}

TEST(DataFileRefusals, TabInsideATextIsRefused)
{
    EXPECT_THROW(formatDataFile(oneFieldTable({"nev", ftString, 20}, std::string("a\tb"))),
                 std::runtime_error);
}

TEST(DataFileRefusals, ValueOfTheWrongKindIsRefused)
{
    EXPECT_THROW(formatDataFile(oneFieldTable({"szam", ftInteger, 0}, std::string("12"))),
                 std::runtime_error);
}

TEST(DataFileRefusals, RowOfTheWrongWidthIsRefused)
{
    DataTable table = roomTable();
    table.rows[1].pop_back();
    EXPECT_THROW(formatDataFile(table), std::runtime_error);
}

TEST_F(DataFileSaving, FileIsWrittenInCp1250)
{
    saveDataFiles(folder, {oneFieldTable({"nev", ftString, 20}, std::string("Őz Űr árvíztűrő"))});

    std::ifstream file(folder / "proba.csv", std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), {}};
    EXPECT_EQ(lastLine(bytes), "\xD5z \xDBr \xE1rv\xEDzt\xFBr\xF5");
}

TEST_F(DataFileSaving, CharacterOutsideCp1250StopsTheSaveBeforeAnyFileIsWritten)
{
    DataTable sound = roomTable();
    DataTable unsound = oneFieldTable({"nev", ftString, 20}, std::string("Peña"));
    EXPECT_THROW(saveDataFiles(folder, {sound, unsound}), std::runtime_error);
    EXPECT_FALSE(std::filesystem::exists(folder / sound.fileName));
    EXPECT_FALSE(std::filesystem::exists(folder / unsound.fileName));
}
