// Indexes put in order after a load: whatever order the lines come in, an index walks the records
// by their keys, equal keys in the order of the file, and a descending index walks exactly the
// reverse.

#include "ztrStreamTestTables.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <numeric>
#include <string>
#include <tuple>
#include <vector>

using namespace streamtest;

namespace {

struct Occasion
{
    int course;
    int room;
    int startMinute;
};

constexpr int MinutesPerDay = 1440;

// Before 1900 a moment's day counts down while its time of day still counts up.
int minuteInTime(const Occasion &occasion)
{
    const int day = occasion.startMinute / MinutesPerDay;
    return day * MinutesPerDay + std::abs(occasion.startMinute % MinutesPerDay);
}

std::string fileOf(const std::vector<Occasion> &occasions)
{
    TztrMemTable table;
    table.FieldDefs().Add("alkalom_id", ftInteger);
    table.FieldDefs().Add("kurzus_id", ftInteger);
    table.FieldDefs().Add("terem_id", ftInteger);
    table.FieldDefs().Add("kezd_ido", ftDateTime);
    // Short keys, a key longer than an index entry holds, and a descending one.
    table.IndexDefs().Add("kurzus", "kurzus_id", {});
    table.IndexDefs().Add("terem_kezd", "terem_id;kezd_ido", {});
    table.IndexDefs().Add("terem_kezd_kurzus", "terem_id;kezd_ido;kurzus_id", {});
    table.IndexDefs().Add("kurzus_le", "kurzus_id", {ixDescending});
    table.Open();
    for (std::size_t line = 0; line < occasions.size(); ++line) {
        table.Append();
        table.FieldByName("alkalom_id")->SetAsInteger(static_cast<int>(line));
        table.FieldByName("kurzus_id")->SetAsInteger(occasions[line].course);
        table.FieldByName("terem_id")->SetAsInteger(occasions[line].room);
        table.FieldByName("kezd_ido")->SetAsDateTime(occasions[line].startMinute / double(MinutesPerDay));
        table.Post();
    }
    return savedAsCSV(table);
}

std::vector<int> linesByIndex(TztrMemTable &table, const std::string &index)
{
    table.SetIndexName(index);
    std::vector<int> lines;
    for (table.First(); !table.Eof(); table.Next())
        lines.push_back(table.FieldByName("alkalom_id")->AsInteger());
    return lines;
}

// The lines in the order a stable sort by the key gives.
template <typename Key> std::vector<int> linesSortedBy(const std::vector<Occasion> &occasions, Key key)
{
    std::vector<int> lines(occasions.size());
    std::iota(lines.begin(), lines.end(), 0);
    std::stable_sort(lines.begin(), lines.end(),
                     [&](int a, int b) { return key(occasions[a]) < key(occasions[b]); });
    return lines;
}

std::vector<Occasion> shuffled(int count, int courses)
{
    std::vector<Occasion> occasions;
    for (int i = 0; i < count; ++i)
        occasions.push_back({i * 7919 % courses - courses / 2, i * 31 % 13, (i * 104729 % 5000) * 15});
    return occasions;
}

std::vector<Occasion> inKeyOrder(int count)
{
    std::vector<Occasion> occasions;
    for (int i = 0; i < count; ++i)
        occasions.push_back({i / 3, i / 50, i * 15});
    return occasions;
}

std::vector<Occasion> reversed(std::vector<Occasion> occasions)
{
    std::reverse(occasions.begin(), occasions.end());
    return occasions;
}

struct Case
{
    const char *what;
    std::vector<Occasion> occasions;
};

const std::vector<Case> Cases{
    {"lines in key order", inKeyOrder(600)},
    {"lines in reverse key order", reversed(inKeyOrder(600))},
    {"shuffled lines, many equal keys", shuffled(1000, 40)},
    {"shuffled lines, negative keys and moments before 1900",
     [] {
         std::vector<Occasion> occasions = shuffled(700, 300);
         for (Occasion &occasion : occasions)
             occasion.startMinute -= 40000;
         return occasions;
     }()},
    {"one key for every line", std::vector<Occasion>(300, Occasion{5, 2, 600})},
};

} // namespace

TEST(LoadedIndexOrder, WalksEveryIndexByItsKeysWithEqualKeysInFileOrder)
{
    for (const Case &c : Cases) {
        SCOPED_TRACE(c.what);
        TztrMemTable table;
        TztrCSVStreamFormat csv;
        configureAsCSV(csv);
        loadFromText(table, csv, fileOf(c.occasions));
        ASSERT_EQ(table.RecordCount(), static_cast<int>(c.occasions.size()));

        const std::vector<int> byCourse =
            linesSortedBy(c.occasions, [](const Occasion &o) { return o.course; });
        EXPECT_EQ(linesByIndex(table, "kurzus"), byCourse);
        EXPECT_EQ(linesByIndex(table, "terem_kezd"), linesSortedBy(c.occasions, [](const Occasion &o) {
                      return std::tuple(o.room, minuteInTime(o));
                  }));
        EXPECT_EQ(linesByIndex(table, "terem_kezd_kurzus"), linesSortedBy(c.occasions, [](const Occasion &o) {
                      return std::tuple(o.room, minuteInTime(o), o.course);
                  }));
        EXPECT_EQ(linesByIndex(table, "kurzus_le"), std::vector<int>(byCourse.rbegin(), byCourse.rend()));
    }
}
