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

TEST_F(Presets, DoublePeriodsAreSevenRowsOfNinetyMinutes)
{
    dm->BeosztasDupla(calendar);
    const std::vector<Row> expected{
        {465, 90, QStringLiteral(" 1- 2 07:45-09:15")}, {570, 90, QStringLiteral(" 3- 4 09:30-11:00")},
        {675, 90, QStringLiteral(" 5- 6 11:15-12:45")}, {780, 90, QStringLiteral(" 7- 8 13:00-14:30")},
        {885, 90, QStringLiteral(" 9-10 14:45-16:15")}, {990, 90, QStringLiteral("11-12 16:30-18:00")},
        {1095, 90, QStringLiteral("13-14 18:15-19:45")},
    };
    EXPECT_EQ(rowsOf(calendar), expected);
}

TEST_F(Presets, HoursAreThirteenRowsFromSevenToNineteen)
{
    dm->BeosztasOras(calendar);
    const std::vector<Row> rows = rowsOf(calendar);
    ASSERT_EQ(rows.size(), 13u);
    EXPECT_EQ(rows.front(), (Row{420, 60, QStringLiteral("07:00")}));
    EXPECT_EQ(rows[3], (Row{600, 60, QStringLiteral("10:00")}));
    EXPECT_EQ(rows.back(), (Row{1140, 60, QStringLiteral("19:00")}));
}

TEST_F(Presets, HalfHoursRunFromHalfPastSevenToHalfPastSevenInTheEvening)
{
    dm->BeosztasFeloras(calendar);
    const std::vector<Row> rows = rowsOf(calendar);
    ASSERT_EQ(rows.size(), 25u);
    EXPECT_EQ(rows.front(), (Row{450, 30, QStringLiteral("07:30")}));
    EXPECT_EQ(rows[1], (Row{480, 30, QStringLiteral("08:00")}));
    EXPECT_EQ(rows.back(), (Row{1170, 30, QStringLiteral("19:30")}));
}

TEST_F(Presets, QuarterShiftedHalfHoursRunFromSevenFortyFive)
{
    dm->BeosztasFeloras15(calendar);
    const std::vector<Row> rows = rowsOf(calendar);
    ASSERT_EQ(rows.size(), 25u);
    EXPECT_EQ(rows.front(), (Row{465, 30, QStringLiteral("07:45")}));
    EXPECT_EQ(rows[1], (Row{495, 30, QStringLiteral("08:15")}));
    EXPECT_EQ(rows.back(), (Row{1185, 30, QStringLiteral("19:45")}));
}

TEST_F(Presets, EvenRowsFollowEachOtherWithoutGaps)
{
    for (auto preset : {&TDM::BeosztasOras, &TDM::BeosztasFeloras, &TDM::BeosztasFeloras15}) {
        (dm.get()->*preset)(calendar);
        const std::vector<Row> rows = rowsOf(calendar);
        for (std::size_t i = 1; i < rows.size(); ++i)
            EXPECT_EQ(rows[i].start, rows[i - 1].start + rows[i - 1].length) << "row " << i;
    }
}

TEST_F(Presets, SingleLessonsAreFourteenRowsWithoutTheBreak)
{
    dm->BeosztasSajat(calendar);
    const std::vector<Row> expected{
        {465, 45, QStringLiteral(" 1 07:45-08:30")},   {510, 45, QStringLiteral(" 2 08:30-09:15")},
        {570, 45, QStringLiteral(" 3 09:30-10:15")},   {615, 45, QStringLiteral(" 4 10:15-11:00")},
        {675, 45, QStringLiteral(" 5 11:15-12:00")},   {720, 45, QStringLiteral(" 6 12:00-12:45")},
        {795, 45, QStringLiteral(" 7 13:15-14:00")},   {840, 45, QStringLiteral(" 8 14:00-14:45")},
        {900, 45, QStringLiteral(" 9 15:00-15:45")},   {945, 45, QStringLiteral("10 15:45-16:30")},
        {1005, 45, QStringLiteral("11 16:45-17:30")},  {1050, 45, QStringLiteral("12 17:30-18:15")},
        {1110, 45, QStringLiteral("13 18:30-19:15")},  {1155, 45, QStringLiteral("14 19:15-20:00")},
    };
    EXPECT_EQ(rowsOf(calendar), expected);
}

TEST_F(Presets, BreakRowSitsBetweenTheSixthAndSeventhLesson)
{
    dm->SzunetSor = true;
    dm->BeosztasSajat(calendar);
    const std::vector<Row> rows = rowsOf(calendar);
    ASSERT_EQ(rows.size(), 15u);
    EXPECT_EQ(rows[5].label, QStringLiteral(" 6 12:00-12:45"));
    EXPECT_EQ(rows[6], (Row{765, 30, QStringLiteral("SZÜNET")}));
    EXPECT_EQ(rows[7].label, QStringLiteral(" 7 13:15-14:00"));
}

TEST_F(Presets, EachPresetReplacesTheRowsOfThePreviousOne)
{
    dm->BeosztasFeloras(calendar);
    dm->BeosztasDupla(calendar);
    EXPECT_EQ(calendar.Rows().size(), 7u);
    EXPECT_EQ(calendar.RowCount(), 8) << "one header row above the seven periods";
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
