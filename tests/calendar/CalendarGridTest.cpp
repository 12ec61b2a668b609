#include "CalendarTestSupport.h"

#include "platform/SysUtils.h"

using namespace calendartest;

namespace {

QColor pixel(const QImage &image, QPoint point)
{
    return image.pixelColor(point);
}

} // namespace

TEST(CalendarDefaults, ShowsOneWeekOfHourlyRows)
{
    TveltoCalendar calendar;
    EXPECT_EQ(calendar.Scale(), 60);
    EXPECT_EQ(calendar.Days(), TveltoCalendarDays::all());
    EXPECT_EQ(calendar.ColCount(), 8);
    EXPECT_EQ(calendar.RowCount(), 25);
    EXPECT_FALSE(calendar.ReadOnly());
    EXPECT_TRUE(calendar.Options() & goRangeSelect);
}

TEST(CalendarColumns, WeeksAreClampedToOneToFifteen)
{
    TveltoCalendar calendar;
    calendar.SetHetek(0);
    EXPECT_EQ(calendar.Hetek(), 1);
    calendar.SetHetek(16);
    EXPECT_EQ(calendar.Hetek(), 15);
    EXPECT_EQ(calendar.ColCount(), 106);
    EXPECT_EQ(calendar.DayOfColumn(1), 2);
    EXPECT_EQ(calendar.DayOfColumn(105), 106);
    EXPECT_EQ(calendar.ColumnOfDay(106), 105);
    EXPECT_THROW(calendar.DayOfColumn(0), ERangeError);
    EXPECT_THROW(calendar.DayOfColumn(106), ERangeError);
}

TEST(CalendarColumns, WeekdaysOverTwoWeeksSkipTheWeekend)
{
    TveltoCalendar calendar;
    calendar.SetDays({vlMonday, vlTuesday, vlWednesday, vlThursday, vlFriday});
    calendar.SetHetek(2);
    EXPECT_EQ(calendar.ColCount(), 11);
    const int expected[] = {2, 3, 4, 5, 6, 9, 10, 11, 12, 13};
    for (int col = 1; col <= 10; ++col)
        EXPECT_EQ(calendar.DayOfColumn(col), expected[col - 1]) << "column " << col;
    EXPECT_EQ(calendar.DayOfColumn(11), -1);
    EXPECT_EQ(calendar.ColumnOfDay(7), -1);
    EXPECT_EQ(calendar.ColumnOfDay(9), 6);
}

TEST(CalendarColumns, EmptyDaySetIsRefusedAndKeepsColumnCount)
{
    TveltoCalendar calendar;
    calendar.SetDays({vlMonday, vlFriday});
    try {
        calendar.SetDays({});
        FAIL() << "an empty day set was accepted";
    } catch (const Exception &error) {
        EXPECT_STREQ(error.what(), "Nincs kiválasztva Nap!");
    }
    EXPECT_EQ(calendar.ColCount(), 3);
    EXPECT_EQ(calendar.Days(), TveltoCalendarDays({vlMonday, vlFriday}));
    EXPECT_EQ(calendar.DayOfColumn(1), -1);
    EXPECT_EQ(calendar.ColumnOfDay(2), -1);
    calendar.SetDays({vlFriday});
    EXPECT_EQ(calendar.DayOfColumn(1), 6);
}

TEST(CalendarColumns, HeadersNameWeekdayWithWeekPrefixFromWeekTwo)
{
    TveltoCalendar calendar;
    calendar.SetHetek(15);
    EXPECT_EQ(calendar.ColumnHeader(1), QStringLiteral("Hétfő"));
    EXPECT_EQ(calendar.ColumnHeader(7), QStringLiteral("Vasárnap"));
    EXPECT_EQ(calendar.ColumnHeader(8), QStringLiteral("2:Hétfő"));
    EXPECT_EQ(calendar.ColumnHeader(calendar.ColumnOfDay(16)), QStringLiteral("3:Hétfő"));
    EXPECT_EQ(calendar.ColumnHeader(calendar.ColumnOfDay(50)), QStringLiteral("7:Vasárnap"));
    EXPECT_EQ(calendar.ColumnHeader(calendar.ColumnOfDay(51)), QStringLiteral("8:Hétfő"));
    EXPECT_EQ(calendar.ColumnHeader(calendar.ColumnOfDay(53)), QStringLiteral("8:Szerda"));
    EXPECT_EQ(calendar.ColumnHeader(105), QStringLiteral("15:Vasárnap"));
}

TEST(CalendarFixedRows, ScaleBecomesADivisorOfTheDay)
{
    TveltoCalendar calendar;
    // 45 divides the day (32 lesson-long rows) and stays.
    const std::pair<int, int> cases[] = {{45, 45}, {46, 48}, {7, 8}, {50, 60}, {100, 120}, {0, 5}, {2000, 1440}};
    for (const auto &[given, scale] : cases) {
        calendar.SetScale(given);
        EXPECT_EQ(calendar.Scale(), scale) << "scale " << given;
        EXPECT_EQ(calendar.RowCount(), 1440 / scale + 1);
    }
    calendar.SetScale(46);
    EXPECT_EQ(calendar.RowCount() - calendar.FixedRows(), 30);
    calendar.SetScale(0);
    EXPECT_EQ(calendar.RowCount() - calendar.FixedRows(), 288);
}

TEST(CalendarFixedRows, MapMinutesToZeroPaddedRowsByScale)
{
    TveltoCalendar calendar;
    EXPECT_EQ(calendar.RowOfStartMinute(480), 9);
    EXPECT_EQ(calendar.RowOfStartMinute(539), 9);
    EXPECT_EQ(calendar.RowOfEndMinute(540), 9);
    EXPECT_EQ(calendar.RowOfEndMinute(541), 10);
    EXPECT_EQ(calendar.RowStartMinute(9), 480);
    EXPECT_EQ(calendar.RowEndMinute(9), 540);
    calendar.SetScale(5);
    EXPECT_EQ(calendar.Rows()[1].Label, QStringLiteral("00:05"));
    EXPECT_EQ(calendar.Rows()[96].Label, QStringLiteral("08:00"));
}

TEST(CalendarCustomRows, StartEmptyAndEachAddedRowMakesTheHeaderFixed)
{
    TveltoCalendar calendar;
    calendar.SetScale(-1);
    EXPECT_EQ(calendar.Scale(), -1);
    EXPECT_EQ(calendar.RowCount(), 1);
    EXPECT_EQ(calendar.FixedRows(), 0);
    EXPECT_TRUE(calendar.Rows().empty());
    calendar.AddRow(465, 90, QStringLiteral("12345678901234567890"));
    EXPECT_EQ(calendar.RowCount(), 2);
    EXPECT_EQ(calendar.FixedRows(), 1);
    EXPECT_EQ(calendar.Rows()[0].Label, QStringLiteral("12345678901234567"));
    calendar.AddRow(570, 90, QStringLiteral("b"));
    calendar.AddRow(-1, 0, QString());
    EXPECT_EQ(calendar.RowCount(), 3);
}

TEST(CalendarCustomRows, MinutesMapToTheRowThatHoldsThem)
{
    TveltoCalendar calendar;
    calendar.SetScale(-1);
    for (int start : {465, 570, 675})
        calendar.AddRow(start, 90, QString::number(start));
    calendar.AddRow(-1, 0, QString());
    // {minute, row it starts in, row it ends in}; a row's end belongs to it, its start to the row.
    const int cases[][3] = {{400, 0, -1},   {465, 1, -1}, {466, 1, 1},  {560, 1, 1}, {569, 2, 1},
                            {570, 2, 1},    {571, 2, 2},  {764, 3, 3},  {765, -1, 3}, {900, -1, 3}};
    for (const auto &[minute, startRow, endRow] : cases) {
        EXPECT_EQ(calendar.RowOfStartMinute(minute), startRow) << "start " << minute;
        EXPECT_EQ(calendar.RowOfEndMinute(minute), endRow) << "end " << minute;
    }
    EXPECT_EQ(calendar.RowStartMinute(2), 570);
    EXPECT_EQ(calendar.RowEndMinute(3), 765);
}

TEST(CalendarDrawing, SundayHeaderIsWhiteAndDayCellsShowTheirColours)
{
    auto calendar = shownCalendar(1000, 600);
    calendar->SetFixedColor(clSilver);
    calendar->SetCaption(QStringLiteral("2025-2026-1"));
    fit(*calendar);
    const QImage image = calendar->viewport()->grab().toImage();
    const QRect corner = calendar->CellRect(0, 0);
    int ink = 0;
    for (int x = corner.left(); x < corner.right() - 1; ++x)
        for (int y = corner.top(); y < corner.bottom() - 1; ++y)
            ink += pixel(image, QPoint(x, y)).lightness() < 100;
    EXPECT_GT(ink, 0) << "the caption shows in the corner";
    const QRect monday = calendar->CellRect(1, 0);
    const QRect sunday = calendar->CellRect(7, 0);
    EXPECT_EQ(pixel(image, monday.topLeft() + QPoint(1, 1)), toQColor(clSilver));
    EXPECT_EQ(pixel(image, sunday.topLeft() + QPoint(1, 1)), toQColor(clWhite));
    const QRect cell = calendar->CellRect(2, 5);
    EXPECT_EQ(pixel(image, cell.center()), toQColor(0x80FFFF));
    EXPECT_EQ(pixel(image, cell.topLeft() + QPoint(1, 2)), toQColor(clWhite));
    EXPECT_EQ(pixel(image, QPoint(cell.right() - 2, cell.top() + 2)), toQColor(clWhite));
    EXPECT_EQ(pixel(image, QPoint(cell.center().x(), cell.bottom())), toQColor(clGray));
    // The margin strips end in a black line down the whole cell.
    EXPECT_EQ(pixel(image, QPoint(cell.left() + 4, cell.bottom() - 2)), toQColor(clBlack));
    EXPECT_EQ(pixel(image, QPoint(cell.x() + cell.width() - 6, cell.bottom() - 2)), toQColor(clBlack));
}

TEST(CalendarSelection, ClickingAndDraggingOverDayCellsSelectsTheirTimeSpan)
{
    auto calendar = shownCalendar(1000, 600);
    fit(*calendar);
    const QRect cell = calendar->CellRect(3, 9);
    QTest::mouseClick(calendar->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(calendar->CurrentDay(), 4);
    EXPECT_EQ(calendar->SelStartMinute(), 480);
    EXPECT_EQ(calendar->SelEndMinute(), 540);
    const QImage image = calendar->viewport()->grab().toImage();
    EXPECT_EQ(pixel(image, cell.center()), toQColor(clNavy));
    // The margin strips take the selection colour too, their black line stays.
    EXPECT_EQ(pixel(image, QPoint(cell.left() + 1, cell.center().y())), toQColor(clNavy));
    EXPECT_EQ(pixel(image, QPoint(cell.left() + 4, cell.bottom() - 2)), toQColor(clBlack));
    EXPECT_EQ(pixel(image, calendar->CellRect(4, 9).center()), toQColor(0x80FFFF));
    QTest::mousePress(calendar->viewport(), Qt::LeftButton, {}, calendar->CellRect(2, 9).center());
    QTest::mouseMove(calendar->viewport(), calendar->CellRect(2, 11).center());
    QTest::mouseRelease(calendar->viewport(), Qt::LeftButton, {}, calendar->CellRect(2, 11).center());
    EXPECT_EQ(calendar->Selection(), (TGridRect{2, 9, 2, 11}));
    EXPECT_EQ(calendar->SelStartMinute(), 480);
    EXPECT_EQ(calendar->SelEndMinute(), 660);
}

TEST(CalendarCursor, MarginStripsShowCrossAndTheirLinesTheSplitCursor)
{
    auto calendar = shownCalendar(1000, 600);
    fit(*calendar);
    // The first time row has its margins too.
    const QRect cell = calendar->CellRect(2, 1);
    const int right = cell.x() + cell.width();
    const int y = cell.center().y();
    const auto cursorAt = [&](int x, int y) {
        QTest::mouseMove(calendar->viewport(), QPoint(x, y));
        return calendar->viewport()->cursor().shape();
    };
    EXPECT_EQ(cursorAt(cell.x() + 2, y), Qt::CrossCursor);
    EXPECT_EQ(cursorAt(cell.x() + 5, y), Qt::SplitHCursor);
    EXPECT_EQ(cursorAt(cell.center().x(), y), Qt::ArrowCursor);
    EXPECT_EQ(cursorAt(right - 5, y), Qt::SplitHCursor);
    EXPECT_EQ(cursorAt(right - 2, y), Qt::CrossCursor);
}

TEST(CalendarKeys, KeyReleaseReachesOnKeyUp)
{
    auto calendar = shownCalendar();
    std::vector<std::pair<int, Qt::KeyboardModifiers>> released;
    calendar->OnKeyUp = [&](TmyCustomGrid &, int &key, Qt::KeyboardModifiers modifiers) {
        released.emplace_back(key, modifiers);
    };
    calendar->setFocus();
    QTest::keyRelease(calendar.get(), Qt::Key_P, Qt::ControlModifier);
    ASSERT_FALSE(released.empty());
    EXPECT_EQ(released.front().first, int(Qt::Key_P));
    EXPECT_TRUE(released.front().second & Qt::ControlModifier);
}
