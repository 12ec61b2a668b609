// The five row layouts the data module sets a calendar up with.

#include "calendar/veltoCalendar.h"
#include "data/datam.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

struct Row {
    int start;
    int length;
    QString label;
    bool operator==(const Row &) const = default;
};

void PrintTo(const Row &row, std::ostream *out)
{
    *out << row.start << "+" << row.length << " \"" << row.label.toStdString() << "\"";
}

std::vector<Row> rowsOf(const TveltoCalendar &calendar)
{
    std::vector<Row> rows;
    for (const TveltoCalendarRow &row : calendar.Rows())
        rows.push_back({row.Start, row.Length, row.Label});
    return rows;
}

// One data module on the sample data for the whole suite: loading it is the slow part.
class Presets : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dm = std::make_unique<TDM>(TDMEnvironment{[] { return std::string(BRELVIX_SAMPLEDATA_DIR "/"); },
                                                  [](std::string &) { return false; }});
    }
    static void TearDownTestSuite() { dm.reset(); }

    void SetUp() override { dm->SzunetSor = false; }

    static std::unique_ptr<TDM> dm;
    TveltoCalendar calendar;
};

std::unique_ptr<TDM> Presets::dm;

} // namespace

TEST_F(Presets, LessonPresetsListEveryPeriodWithItsTimes)
{
    dm->BeosztasDupla(calendar);
    EXPECT_EQ(rowsOf(calendar), (std::vector<Row>{
                                    {465, 90, " 1- 2 07:45-09:15"}, {570, 90, " 3- 4 09:30-11:00"},
                                    {675, 90, " 5- 6 11:15-12:45"}, {780, 90, " 7- 8 13:00-14:30"},
                                    {885, 90, " 9-10 14:45-16:15"}, {990, 90, "11-12 16:30-18:00"},
                                    {1095, 90, "13-14 18:15-19:45"},
                                }));
    EXPECT_EQ(calendar.RowCount(), 8) << "one header row above the seven periods";

    const std::vector<Row> single{
        {465, 45, " 1 07:45-08:30"},  {510, 45, " 2 08:30-09:15"},  {570, 45, " 3 09:30-10:15"},
        {615, 45, " 4 10:15-11:00"},  {675, 45, " 5 11:15-12:00"},  {720, 45, " 6 12:00-12:45"},
        {795, 45, " 7 13:15-14:00"},  {840, 45, " 8 14:00-14:45"},  {900, 45, " 9 15:00-15:45"},
        {945, 45, "10 15:45-16:30"},  {1005, 45, "11 16:45-17:30"}, {1050, 45, "12 17:30-18:15"},
        {1110, 45, "13 18:30-19:15"}, {1155, 45, "14 19:15-20:00"},
    };
    dm->BeosztasSajat(calendar);
    EXPECT_EQ(rowsOf(calendar), single);

    // The break row sits between the sixth and seventh lesson.
    std::vector<Row> withBreak = single;
    withBreak.insert(withBreak.begin() + 6, Row{765, 30, "SZÜNET"});
    dm->SzunetSor = true;
    dm->BeosztasSajat(calendar);
    EXPECT_EQ(rowsOf(calendar), withBreak);
}

TEST_F(Presets, EvenPresetsRunWithoutGapsBetweenTheirFirstAndLastRow)
{
    const struct {
        void (TDM::*preset)(TveltoCalendar &);
        std::size_t count;
        Row first, second, last;
    } cases[] = {
        {&TDM::BeosztasOras, 13, {420, 60, "07:00"}, {480, 60, "08:00"}, {1140, 60, "19:00"}},
        {&TDM::BeosztasFeloras, 25, {450, 30, "07:30"}, {480, 30, "08:00"}, {1170, 30, "19:30"}},
        {&TDM::BeosztasFeloras15, 25, {465, 30, "07:45"}, {495, 30, "08:15"}, {1185, 30, "19:45"}},
    };
    for (const auto &c : cases) {
        (dm.get()->*c.preset)(calendar);
        const std::vector<Row> rows = rowsOf(calendar);
        ASSERT_EQ(rows.size(), c.count) << c.first.label.toStdString();
        EXPECT_EQ(rows[0], c.first);
        EXPECT_EQ(rows[1], c.second);
        EXPECT_EQ(rows.back(), c.last);
        for (std::size_t i = 1; i < rows.size(); ++i)
            EXPECT_EQ(rows[i].start, rows[i - 1].start + rows[i - 1].length) << "row " << i;
    }
}

TEST_F(Presets, EveryPresetGivesCustomRowsThatPlaceItems)
{
    for (auto preset : {&TDM::BeosztasDupla, &TDM::BeosztasOras, &TDM::BeosztasFeloras, &TDM::BeosztasFeloras15,
                        &TDM::BeosztasSajat}) {
        (dm.get()->*preset)(calendar);
        EXPECT_EQ(calendar.Scale(), -1);
        const TveltoCalendarRow &first = calendar.Rows().front();
        EXPECT_EQ(calendar.RowOfStartMinute(first.Start), 1);
        EXPECT_EQ(calendar.RowStartMinute(1), first.Start);
    }
}
