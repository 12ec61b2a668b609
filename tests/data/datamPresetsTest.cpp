// The five row layouts every calendar of the program is set up with.

#include "DataFolder.h"
#include "calendar/veltoCalendar.h"

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

class Presets : public DataFolder {
protected:
    TDM dm{environment()};
    TveltoCalendar calendar;
};

} // namespace

TEST_F(Presets, LessonPresetsListEveryPeriodWithItsTimesAndTheBreakWhenAsked)
{
    dm.BeosztasDupla(calendar);
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
    dm.BeosztasSajat(calendar);
    EXPECT_EQ(rowsOf(calendar), single);
    std::vector<Row> withBreak = single;
    withBreak.insert(withBreak.begin() + 6, Row{765, 30, "SZÜNET"});
    dm.SzunetSor = true;
    dm.BeosztasSajat(calendar);
    EXPECT_EQ(rowsOf(calendar), withBreak);
}

// The computed presets run without gaps; every preset gives custom rows, on which items can be
// moved and resized, and the preset numbers pick them in order.
TEST_F(Presets, ComputedPresetsRunWithoutGapsAndEveryPresetGivesCustomRows)
{
    const struct {
        void (TDM::*preset)(TveltoCalendar &);
        std::size_t count;
        Row first, last;
    } cases[] = {
        {&TDM::BeosztasDupla, 7, {465, 90, " 1- 2 07:45-09:15"}, {1095, 90, "13-14 18:15-19:45"}},
        {&TDM::BeosztasOras, 13, {420, 60, "07:00"}, {1140, 60, "19:00"}},
        {&TDM::BeosztasFeloras, 25, {450, 30, "07:30"}, {1170, 30, "19:30"}},
        {&TDM::BeosztasFeloras15, 25, {465, 30, "07:45"}, {1185, 30, "19:45"}},
        {&TDM::BeosztasSajat, 14, {465, 45, " 1 07:45-08:30"}, {1155, 45, "14 19:15-20:00"}},
    };
    for (int number = 0; number < 5; ++number) {
        const auto &c = cases[number];
        (dm.*c.preset)(calendar);
        const std::vector<Row> rows = rowsOf(calendar);
        ASSERT_EQ(rows.size(), c.count) << number;
        EXPECT_EQ(rows.front(), c.first);
        EXPECT_EQ(rows.back(), c.last);
        for (std::size_t i = 1; number >= 1 && number <= 3 && i < rows.size(); ++i)
            EXPECT_EQ(rows[i].start, rows[i - 1].start + rows[i - 1].length) << number << " row " << i;
        EXPECT_EQ(calendar.Scale(), -1);
        EXPECT_EQ(calendar.RowOfStartMinute(c.first.start), 1);
        TveltoCalendar picked;
        dm.applyTimeRowPreset(number, picked);
        EXPECT_EQ(rowsOf(picked), rows) << number;
    }
}
