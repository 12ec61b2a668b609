#include "CalendarTestSupport.h"

#include "platform/SysUtils.h"

using namespace calendartest;

TEST(CalendarColumnsAndRows, FollowTheDaysAndWeeksAndMapMinutesToRowsOfAScaleOrOfCustomTimes)
{
    TveltoCalendar calendar;
    calendar.SetHetek(16);
    EXPECT_EQ(calendar.ColCount(), 106);
    EXPECT_EQ(calendar.ColumnOfDay(106), 105);
    EXPECT_THROW(calendar.DayOfColumn(0), ERangeError);
    EXPECT_THROW(calendar.DayOfColumn(106), ERangeError);
    const std::pair<int, const char *> headers[] = {{1, "Hétfő"},      {7, "Vasárnap"}, {8, "2:Hétfő"},
                                                    {49, "7:Vasárnap"}, {52, "8:Szerda"}, {105, "15:Vasárnap"}};
    for (const auto &[col, header] : headers)
        EXPECT_EQ(calendar.ColumnHeader(col), QString::fromUtf8(header)) << col;
    calendar.SetHetek(0);
    EXPECT_EQ(calendar.ColCount(), 8);
    calendar.SetDays({vlMonday, vlTuesday, vlWednesday, vlThursday, vlFriday});
    calendar.SetHetek(2);
    const int days[] = {-1, 2, 3, 4, 5, 6, 9, 10, 11, 12, 13, -1};
    for (int col = 1; col <= 11; ++col)
        EXPECT_EQ(calendar.DayOfColumn(col), days[col]) << "column " << col;
    EXPECT_EQ(calendar.ColumnOfDay(7), -1);
    try {
        calendar.SetDays({});
        ADD_FAILURE() << "an empty day set was accepted";
    } catch (const Exception &error) {
        EXPECT_STREQ(error.what(), "Nincs kiválasztva Nap!");
    }
    EXPECT_EQ(calendar.ColCount(), 11);
    EXPECT_EQ(calendar.Days(), TveltoCalendarDays({vlMonday, vlTuesday, vlWednesday, vlThursday, vlFriday}));
    EXPECT_EQ(calendar.DayOfColumn(1), -1);

    // A scale becomes a divisor of the day: 45 stays (32 lesson-long rows), 46 becomes 48.
    const std::pair<int, int> scales[] = {{45, 45}, {46, 48}, {7, 8}, {50, 60}, {100, 120}, {0, 5}, {2000, 1440}};
    for (const auto &[given, scale] : scales) {
        calendar.SetScale(given);
        EXPECT_EQ(calendar.Scale(), scale) << "scale " << given;
        EXPECT_EQ(calendar.RowCount(), 1440 / scale + 1);
    }
    calendar.SetScale(5);
    EXPECT_EQ(calendar.Rows()[97].Label, QStringLiteral("08:05"));
    calendar.SetScale(-1);
    EXPECT_EQ(calendar.RowCount(), 1);
    applyRows(calendar, 3);
    const int custom[][3] = {{400, 0, -1}, {464, 1, -1}, {466, 1, 1},  {560, 1, 1},  {569, 2, 1},
                             {571, 2, 2},  {764, 3, 3},  {765, -1, 3}, {900, -1, 3}};
    for (const auto &[minute, startRow, endRow] : custom) {
        EXPECT_EQ(calendar.RowOfStartMinute(minute), startRow) << "start " << minute;
        EXPECT_EQ(calendar.RowOfEndMinute(minute), endRow) << "end " << minute;
    }
    EXPECT_EQ(calendar.RowStartMinute(4), -1);
    calendar.AddRow(1000, 10, QStringLiteral("12345678901234567890"));
    EXPECT_EQ(calendar.Rows()[3].Label, QStringLiteral("12345678901234567"));
}

TEST(CalendarWindow, PaintsTheCellsSelectsWithTheMouseAndShowsMarginCursors)
{
    auto calendar = shownCalendar();
    calendar->SetFixedColor(clSilver);
    calendar->SetCaption(QStringLiteral("2025-2026-1"));
    QWidget *grid = calendar->viewport();
    const QImage image = grid->grab().toImage();
    EXPECT_GT(ink(image, calendar->CellRect(0, 0).adjusted(0, 0, -2, -2)), 0) << "the caption shows in the corner";
    EXPECT_EQ(image.pixelColor(calendar->CellRect(1, 0).topLeft() + QPoint(1, 1)), toQColor(clSilver));
    EXPECT_EQ(image.pixelColor(calendar->CellRect(7, 0).topLeft() + QPoint(1, 1)), toQColor(clWhite));
    // Day cells: white margins ending in black lines, a grey bottom line; selected, margins too.
    const QRect cell = calendar->CellRect(3, 9);
    const int left = cell.x(), right = cell.x() + cell.width(), top = cell.top() + 2, y = cell.bottom() - 2;
    const QColor day = toQColor(0x80FFFF), navy = toQColor(clNavy), white = Qt::white, black = Qt::black;
    const struct { int x, y; QColor unselected, selected; } pixels[] = {
        {left + 1, top, white, navy}, {left + 4, y, black, black},   {left + 5, top, day, navy},
        {right - 7, y, day, navy},    {right - 6, y, black, black}, {right - 3, top, white, navy},
        {right - 1, y, black, black}, {cell.center().x(), cell.bottom(), toQColor(clGray), toQColor(clGray)}};
    for (const auto &p : pixels)
        EXPECT_EQ(image.pixelColor(p.x, p.y), p.unselected) << p.x - left << "," << p.y - cell.top();
    QTest::mouseClick(grid, Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(calendar->CurrentDay(), 4);
    EXPECT_EQ(calendar->SelStartMinute(), 480);
    const QImage clicked = grid->grab().toImage();
    for (const auto &p : pixels)
        EXPECT_EQ(clicked.pixelColor(p.x, p.y), p.selected) << p.x - left << "," << p.y - cell.top();
    EXPECT_EQ(clicked.pixelColor(calendar->CellRect(4, 9).center()), day);
    QTest::mousePress(grid, Qt::LeftButton, {}, calendar->CellRect(2, 9).center());
    QTest::mouseMove(grid, calendar->CellRect(2, 11).center());
    QTest::mouseRelease(grid, Qt::LeftButton, {}, calendar->CellRect(2, 11).center());
    EXPECT_EQ(calendar->Selection(), (TGridRect{2, 9, 2, 11}));
    EXPECT_EQ(calendar->SelEndMinute(), 660);

    // The first time row has its margins too; the time column has none.
    const QRect first = calendar->CellRect(2, 1);
    const int end = first.x() + first.width(), mid = first.center().y();
    const std::pair<QPoint, Qt::CursorShape> cursors[] = {
        {{first.x(), mid}, Qt::CrossCursor},      {{first.x() + 4, mid}, Qt::CrossCursor},
        {{first.x() + 5, mid}, Qt::SplitHCursor}, {{first.x() + 6, mid}, Qt::ArrowCursor},
        {{end - 6, mid}, Qt::ArrowCursor},        {{end - 5, mid}, Qt::SplitHCursor},
        {{end - 4, mid}, Qt::CrossCursor},        {{2, mid}, Qt::ArrowCursor}};
    for (const auto &[point, shape] : cursors) {
        QTest::mouseMove(grid, point);
        EXPECT_EQ(grid->cursor().shape(), shape) << point.x() - first.x();
    }
    calendar->SetVonalzoBal(0);
    QTest::mouseMove(grid, QPoint(first.x(), mid));
    EXPECT_EQ(grid->cursor().shape(), Qt::ArrowCursor);
    // Without a left margin the selected cell leaves the line of the cell before it alone.
    EXPECT_EQ(grid->grab().toImage().pixelColor(first.x() - 1, calendar->CellRect(2, 10).center().y()), black);
}

TEST(CalendarItems, KeepTheirBoxInStepAndGoWithoutLeavingASelectedItem)
{
    TveltoCalendar calendar;
    TCustomCalendarItem *item = calendar.Items().Add();
    EXPECT_EQ(item->Obj()->Item(), item);
    EXPECT_TRUE(item->Obj()->isHidden());
    // Five-minute steps, three and four minutes rounding up, within 5..1440.
    const std::pair<int, int> lengths[] = {{62, 60}, {63, 65}, {0, 5},  {5000, 1440}, {1, 5},
                                           {4, 5},   {7, 5},   {8, 10}, {1442, 1440}, {-20, 5}};
    for (const auto &[given, stored] : lengths) {
        item->SetLength(given);
        EXPECT_EQ(item->Length(), stored) << "length " << given;
    }
    item->SetBGColor(clMoneyGreen);
    item->SetSelBGColor(clSilver);
    item->SetSubject(QStringLiteral("Analízis"));
    item->SetComment(QStringLiteral("K1\r\nAlgebra"));
    item->SetSelect(true);
    EXPECT_EQ(item->Obj()->BGColor(), clMoneyGreen);
    EXPECT_EQ(item->Obj()->SelBGColor(), clSilver);
    EXPECT_EQ(item->Obj()->Caption(), QStringLiteral("Analízis"));
    EXPECT_EQ(item->Obj()->toolTip(), QStringLiteral("K1\r\nAlgebra"));
    EXPECT_TRUE(item->Obj()->Select());

    addItem(calendar, at(5, 8, 0), 60);
    TCustomCalendarItem *last = addItem(calendar, at(6, 8, 0), 60);
    calendar.SetSelectedItem(item);
    calendar.Items().Delete(1);
    EXPECT_EQ(calendar.SelectedItem(), item);
    delete item;
    EXPECT_EQ(calendar.SelectedItem(), nullptr);
    EXPECT_EQ(calendar.Items()[0], last);
    calendar.SetSelectedItem(last);
    calendar.Items().Clear();
    EXPECT_EQ(calendar.Items().Count(), 0);
    EXPECT_EQ(calendar.SelectedItem(), nullptr);
}

// A new calendar has a single time row until its owner sets the rows; an item that row does not
// hold gets no place rather than a range past the grid.
TEST(CalendarRows, ANewCalendarHasOneTimeRowUntilItsRowsAreSet)
{
    TveltoCalendar calendar;
    EXPECT_EQ(calendar.RowCount(), 2);
    EXPECT_EQ(calendar.FixedRows(), 1);
    EXPECT_EQ(calendar.ColCount(), 8);
    TCustomCalendarItem *morning = addItem(calendar, at(2, 8, 0), 60);
    TCustomCalendarItem *midnight = addItem(calendar, at(3, 0, 0), 60);
    EXPECT_EQ(morning->Obj()->CellRange(), (TGridRect{-1, -1, -1, -1}));
    EXPECT_TRUE(morning->Obj()->isHidden());
    EXPECT_EQ(midnight->Obj()->CellRange(), (TGridRect{2, 1, 2, 1}));
    calendar.SetScale(60);
    EXPECT_EQ(calendar.RowCount(), 25);
    EXPECT_EQ(morning->Obj()->CellRange(), (TGridRect{1, 9, 1, 9}));
}

TEST(CalendarColumnsAndRows, MinutesMapToHourlyRowsAndToTheEdgesOfCustomRows)
{
    TveltoCalendar calendar;
    calendar.SetScale(60);
    // {minute, row it starts in, row it ends in}.
    const int hourly[][3] = {{480, 9, 8}, {539, 9, 9}, {540, 10, 9}, {541, 10, 10}};
    for (const auto &[minute, startRow, endRow] : hourly) {
        EXPECT_EQ(calendar.RowOfStartMinute(minute), startRow) << "start " << minute;
        EXPECT_EQ(calendar.RowOfEndMinute(minute), endRow) << "end " << minute;
    }
    EXPECT_EQ(std::pair(calendar.RowStartMinute(9), calendar.RowEndMinute(9)), std::pair(480, 540));
    calendar.SetScale(5);
    EXPECT_EQ(calendar.Rows()[1].Label, QStringLiteral("00:05"));
    EXPECT_EQ(calendar.Rows()[96].Label, QStringLiteral("08:00"));
    // A row's own start and the minute before the next row's start.
    applyRows(calendar, 3);
    const int custom[][3] = {{465, 1, -1}, {570, 2, 1}, {674, 3, 2}};
    for (const auto &[minute, startRow, endRow] : custom) {
        EXPECT_EQ(calendar.RowOfStartMinute(minute), startRow) << "start " << minute;
        EXPECT_EQ(calendar.RowOfEndMinute(minute), endRow) << "end " << minute;
    }
    EXPECT_EQ(std::pair(calendar.RowStartMinute(2), calendar.RowEndMinute(3)), std::pair(570, 765));
}

TEST(CalendarWindow, KeyReleasesReachOnKeyUpWithTheirModifiersAndKeysOnABoxRaiseNoKeyDown)
{
    auto calendar = shownCalendar();
    std::vector<std::pair<int, Qt::KeyboardModifiers>> released;
    int keyDowns = 0;
    calendar->OnKeyUp = [&](TmyCustomGrid &, int &key, Qt::KeyboardModifiers modifiers) {
        released.emplace_back(key, modifiers);
    };
    calendar->OnKeyDown = [&](TmyCustomGrid &, int &, Qt::KeyboardModifiers) { ++keyDowns; };
    calendar->setFocus();
    QTest::keyRelease(calendar.get(), Qt::Key_P, Qt::ControlModifier);
    // The modifier's own release follows.
    ASSERT_FALSE(released.empty());
    EXPECT_EQ(released[0].first, int(Qt::Key_P));
    EXPECT_TRUE(released[0].second & Qt::ControlModifier);
    TCustomCalendarItem *item = addItem(*calendar, at(2, 8, 0), 60);
    clickItem(*calendar, item);
    ASSERT_TRUE(item->Obj()->hasFocus());
    QTest::keyPress(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(keyDowns, 0);
}
