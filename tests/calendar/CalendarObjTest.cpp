#include "CalendarTestSupport.h"

#include <QPainter>
#include <QPointer>

#include <optional>

using namespace calendartest;

namespace {

struct Change {
    TCustomCalendarItem *item;
    double start;
    double end;
    int length;
};

// Monday to Friday over two weeks with the double-period rows: column 6 is Monday of week 2.
class MouseEditing : public testing::Test {
protected:
    void SetUp() override
    {
        calendar = shownCalendar(1200, 700);
        calendar->SetDays({vlMonday, vlTuesday, vlWednesday, vlThursday, vlFriday});
        calendar->SetHetek(2);
        applyDoublePeriods(*calendar);
        fit(*calendar);
        calendar->OnMoving = [this](TveltoCalendar &, TCustomCalendarItem *item, TDateTime start, TDateTime end,
                                    int length, bool &accept) {
            moves.push_back({item, start, end, length});
            accept = acceptChanges;
        };
        calendar->OnResizing = [this](TveltoCalendar &, TCustomCalendarItem *item, TDateTime start, TDateTime end,
                                      int length, bool &accept) {
            resizes.push_back({item, start, end, length});
            accept = acceptChanges;
        };
        calendar->OnClick = [this](TveltoCalendar &, TCustomCalendarItem *item) { clicks.push_back(item); };
        calendar->OnDetails = [this](TveltoCalendar &, TCustomCalendarItem *item) { details.push_back(item); };
    }

    QWidget *grid() const { return calendar->viewport(); }
    QPoint cellCentre(int col, int row) const { return calendar->CellRect(col, row).center(); }

    // The pressed box holds the mouse, so moves and the release go to it wherever the pointer is;
    // points are given on the grid and mapped to the box as it stands at that moment.
    void pressOn(TCustomCalendarItem *item, Qt::KeyboardModifiers keys, QPoint onGrid)
    {
        box = item->Obj();
        QTest::mousePress(box, Qt::LeftButton, keys, box->mapFrom(grid(), onGrid));
    }
    void moveTo(QPoint onGrid) { QTest::mouseMove(box, box->mapFrom(grid(), onGrid)); }
    void releaseAt(Qt::KeyboardModifiers keys, QPoint onGrid)
    {
        QTest::mouseRelease(box, Qt::LeftButton, keys, box->mapFrom(grid(), onGrid));
    }

    // A drag as the user makes it: press on the box in one cell, move in steps, release.
    void drag(TCustomCalendarItem *item, Qt::KeyboardModifiers keys, QPoint from, QPoint to)
    {
        pressOn(item, keys, from);
        moveTo(from + (to - from) / 2);
        moveTo(to);
        releaseAt(keys, to);
    }

    std::unique_ptr<TveltoCalendar> calendar;
    QPointer<TveltoCalendarObj> box;
    bool acceptChanges = true;
    std::vector<Change> moves;
    std::vector<Change> resizes;
    std::vector<TCustomCalendarItem *> clicks;
    std::vector<TCustomCalendarItem *> details;
};

} // namespace

TEST_F(MouseEditing, CtrlDragMovesTheItemOntoWholeRowsOfTheDropCell)
{
    TCustomCalendarItem *item = addItem(*calendar, at(2, 7, 45), 90);
    TCustomCalendarItem *partial = addItem(*calendar, at(3, 7, 50), 150);
    EXPECT_EQ(partial->Obj()->CellRange(), (TGridRect{2, 1, 2, 2}));
    drag(item, Qt::ControlModifier, cellCentre(1, 1), cellCentre(7, 3));
    // Onto the first day column, which takes drops like any other.
    drag(partial, Qt::ControlModifier, cellCentre(2, 1), cellCentre(1, 4));
    ASSERT_EQ(moves.size(), 2u);
    EXPECT_EQ(moves[0].item, item);
    EXPECT_DOUBLE_EQ(moves[0].start, 10 + 675 / 1440.0);
    EXPECT_DOUBLE_EQ(moves[0].end, 10 + 765 / 1440.0);
    EXPECT_EQ(moves[0].length, 90);
    EXPECT_DOUBLE_EQ(double(item->Start()), 10 + 675 / 1440.0);
    EXPECT_EQ(item->Obj()->CellRange(), (TGridRect{7, 3, 7, 3}));
    EXPECT_EQ(item->Obj()->DragMode(), TveltoCalendarObj::dmNone);
    // Part of two rows becomes the whole of the two rows it lands on.
    EXPECT_DOUBLE_EQ(moves[1].start, 2 + 780 / 1440.0);
    EXPECT_DOUBLE_EQ(moves[1].end, 2 + 975 / 1440.0);
    EXPECT_EQ(partial->Length(), 195);
    EXPECT_TRUE(clicks.empty());
}

TEST_F(MouseEditing, RefusedChangesLeaveTheItemAndPutTheBoxBack)
{
    TCustomCalendarItem *other = addItem(*calendar, at(2, 7, 45), 90);
    TCustomCalendarItem *item = addItem(*calendar, at(2, 7, 45), 90);
    const QRect lane = item->Obj()->geometry();
    acceptChanges = false;
    drag(item, Qt::ControlModifier, lane.center(), cellCentre(4, 5));
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_DOUBLE_EQ(moves[0].start, 5 + 885 / 1440.0);
    drag(item, Qt::ShiftModifier, lane.center(), cellCentre(1, 3));
    ASSERT_EQ(resizes.size(), 1u);
    EXPECT_EQ(resizes[0].length, 300);
    EXPECT_DOUBLE_EQ(double(item->Start()), double(at(2, 7, 45)));
    EXPECT_EQ(item->Length(), 90);
    EXPECT_EQ(item->Obj()->geometry(), lane);
    EXPECT_NE(other->Obj()->geometry(), lane);
}

TEST_F(MouseEditing, BoxFollowsThePointerOverWholeCellsDuringTheDrag)
{
    TCustomCalendarItem *item = addItem(*calendar, at(2, 9, 30), 90);
    pressOn(item, Qt::ControlModifier, cellCentre(1, 2));
    moveTo(cellCentre(3, 4));
    EXPECT_EQ(item->Obj()->DragMode(), TveltoCalendarObj::dmMove);
    EXPECT_TRUE(item->Obj()->Moved());
    const QRect cell = calendar->CellRect(3, 4);
    EXPECT_EQ(item->Obj()->geometry(), QRect(cell.left() - 1, cell.top() - 1, cell.width(), cell.height()));
    EXPECT_DOUBLE_EQ(double(item->Start()), double(at(2, 9, 30)));
    releaseAt(Qt::ControlModifier, cellCentre(3, 4));
}

TEST_F(MouseEditing, CtrlPressAndReleaseWithoutMovingRaisesNothing)
{
    TCustomCalendarItem *item = addItem(*calendar, at(2, 7, 45), 90);
    const QPoint point = item->Obj()->rect().center();
    QTest::mousePress(item->Obj(), Qt::LeftButton, Qt::ControlModifier, point);
    QTest::mouseMove(item->Obj(), point + QPoint(2, 2));
    QTest::mouseRelease(item->Obj(), Qt::LeftButton, Qt::ControlModifier, point + QPoint(2, 2));
    EXPECT_TRUE(moves.empty());
    EXPECT_TRUE(clicks.empty());
    EXPECT_DOUBLE_EQ(double(item->Start()), double(at(2, 7, 45)));
}

TEST_F(MouseEditing, ShiftDragStretchesTheBottomAndKeepsTheStart)
{
    applyHalfHoursFrom0745(*calendar);
    fit(*calendar);
    TCustomCalendarItem *item = addItem(*calendar, at(2, 7, 50), 30);
    EXPECT_EQ(item->Obj()->CellRange(), (TGridRect{1, 1, 1, 2}));
    // Row 6 is 10:15-10:45.
    drag(item, Qt::ShiftModifier, cellCentre(1, 2), cellCentre(1, 6));
    ASSERT_EQ(resizes.size(), 1u);
    EXPECT_EQ(resizes[0].length, 180);
    EXPECT_DOUBLE_EQ(resizes[0].start, 2 + 465 / 1440.0);
    EXPECT_DOUBLE_EQ(resizes[0].end, 2 + 645 / 1440.0);
    EXPECT_EQ(item->Length(), 180);
    EXPECT_EQ(minuteOfDay(item->Start()), 470);
    EXPECT_TRUE(moves.empty());
}

TEST_F(MouseEditing, ResizeAboveTheTopRowKeepsOneRow)
{
    TCustomCalendarItem *item = addItem(*calendar, at(2, 9, 30), 195);
    EXPECT_EQ(item->Obj()->CellRange(), (TGridRect{1, 2, 1, 3}));
    drag(item, Qt::ShiftModifier, cellCentre(1, 3), cellCentre(1, 1));
    ASSERT_EQ(resizes.size(), 1u);
    EXPECT_EQ(resizes[0].length, 90);
    EXPECT_EQ(item->Length(), 90);
}

TEST_F(MouseEditing, DropOutsideTheDayCellsPutsTheBoxBackWithoutAsking)
{
    TCustomCalendarItem *item = addItem(*calendar, at(3, 7, 50), 90);
    const QRect lane = item->Obj()->geometry();
    // Over the time column, then over the header row.
    for (const QPoint drop : {calendar->CellRect(0, 1).center(), calendar->CellRect(2, 0).center()}) {
        drag(item, Qt::ControlModifier, cellCentre(2, 1), drop);
        EXPECT_TRUE(moves.empty());
        EXPECT_EQ(minuteOfDay(item->Start()), 470);
        EXPECT_EQ(item->Obj()->geometry(), lane);
    }
}

TEST_F(MouseEditing, FixedRowsStartNoDragAndTheReleaseIsAClick)
{
    calendar->SetScale(60);
    fit(*calendar);
    TCustomCalendarItem *item = addItem(*calendar, at(2, 8, 0), 60);
    const QRect place = item->Obj()->geometry();
    drag(item, Qt::ControlModifier, cellCentre(1, 9), cellCentre(2, 11));
    EXPECT_TRUE(moves.empty());
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0], item);
    EXPECT_EQ(item->Obj()->geometry(), place);
    drag(item, Qt::ShiftModifier, cellCentre(1, 9), cellCentre(1, 11));
    EXPECT_TRUE(resizes.empty());
    EXPECT_EQ(clicks.size(), 2u);
}

TEST_F(MouseEditing, ClickSelectsTheItemAndReportsDetailsAndClick)
{
    TCustomCalendarItem *first = addItem(*calendar, at(2, 7, 45), 90);
    TCustomCalendarItem *second = addItem(*calendar, at(3, 7, 45), 90);
    QTest::mouseClick(first->Obj(), Qt::LeftButton, {}, first->Obj()->rect().center());
    EXPECT_EQ(calendar->SelectedItem(), first);
    EXPECT_TRUE(first->Obj()->hasFocus());
    QTest::mouseClick(second->Obj(), Qt::LeftButton, {}, second->Obj()->rect().center());
    EXPECT_EQ(calendar->SelectedItem(), second);
    EXPECT_EQ(details, (std::vector<TCustomCalendarItem *>{first, second}));
    EXPECT_EQ(clicks, (std::vector<TCustomCalendarItem *>{first, second}));
}

TEST_F(MouseEditing, DoubleClickReportsDetailsAndStartsNoDrag)
{
    TCustomCalendarItem *item = addItem(*calendar, at(2, 7, 45), 90);
    QTest::mouseClick(item->Obj(), Qt::LeftButton, {}, item->Obj()->rect().center());
    details.clear();
    box = item->Obj();
    QTest::mouseDClick(box, Qt::LeftButton, Qt::ControlModifier, box->rect().center());
    EXPECT_EQ(details, (std::vector<TCustomCalendarItem *>{item}));
    EXPECT_EQ(item->Obj()->DragMode(), TveltoCalendarObj::dmNone);
    moveTo(cellCentre(3, 3));
    releaseAt(Qt::ControlModifier, cellCentre(3, 3));
    EXPECT_TRUE(moves.empty());
    EXPECT_DOUBLE_EQ(double(item->Start()), double(at(2, 7, 45)));
}

TEST_F(MouseEditing, ReadOnlyCalendarOnlyReportsClicks)
{
    calendar->SetReadOnly(true);
    TCustomCalendarItem *item = addItem(*calendar, at(2, 7, 45), 90);
    const QRect place = item->Obj()->geometry();
    pressOn(item, Qt::ControlModifier, item->Obj()->geometry().center());
    EXPECT_EQ(calendar->SelectedItem(), nullptr);
    moveTo(cellCentre(3, 3));
    releaseAt(Qt::ControlModifier, cellCentre(3, 3));
    EXPECT_TRUE(moves.empty());
    EXPECT_EQ(clicks, (std::vector<TCustomCalendarItem *>{item}));
    EXPECT_EQ(item->Obj()->geometry(), place);
}

TEST_F(MouseEditing, OwnerMayRemoveEveryItemWhileAnsweringAMove)
{
    TCustomCalendarItem *item = addItem(*calendar, at(2, 7, 45), 90);
    addItem(*calendar, at(2, 7, 45), 90);
    calendar->OnMoving = [](TveltoCalendar &sender, TCustomCalendarItem *, TDateTime, TDateTime, int, bool &accept) {
        sender.Items().Clear();
        accept = true;
    };
    drag(item, Qt::ControlModifier, item->Obj()->geometry().center(), cellCentre(2, 2));
    EXPECT_EQ(calendar->Items().Count(), 0);
    EXPECT_EQ(calendar->SelectedItem(), nullptr);
}

TEST_F(MouseEditing, KeysOnABoxStayWithTheBoxButReleasesReachTheCalendar)
{
    TCustomCalendarItem *item = addItem(*calendar, at(2, 7, 45), 90);
    QTest::mouseClick(grid(), Qt::LeftButton, {}, cellCentre(3, 3));
    QTest::mouseClick(item->Obj(), Qt::LeftButton, {}, item->Obj()->rect().center());
    int keyDowns = 0;
    std::vector<int> released;
    calendar->OnKeyDown = [&](TmyCustomGrid &, int &, Qt::KeyboardModifiers) { ++keyDowns; };
    calendar->OnKeyUp = [&](TmyCustomGrid &, int &key, Qt::KeyboardModifiers) { released.push_back(key); };
    QTest::keyPress(item->Obj(), Qt::Key_Down);
    QTest::keyRelease(item->Obj(), Qt::Key_S);
    EXPECT_EQ(keyDowns, 0);
    EXPECT_EQ(released, std::vector<int>{int(Qt::Key_S)});
    EXPECT_EQ(calendar->Selection(), (TGridRect{3, 3, 3, 3}));
    EXPECT_TRUE(item->Obj()->hasFocus());
}

TEST(ItemBoxPainting, StripShowsTheSelectedItemAndBackgroundTheMark)
{
    auto calendar = shownCalendar(1000, 600);
    fit(*calendar);
    TCustomCalendarItem *item = addItem(*calendar, at(2, 8, 0), 120, QString());
    item->SetBGColor(clMoneyGreen);
    const auto shot = [&] { return item->Obj()->grab().toImage(); };
    const QPoint strip(3, item->Obj()->height() / 2);
    const QPoint inside(item->Obj()->width() - 4, item->Obj()->height() - 3);
    EXPECT_EQ(shot().pixelColor(strip), toQColor(clWhite));
    EXPECT_EQ(shot().pixelColor(inside), toQColor(clMoneyGreen));
    calendar->SetSelectedItem(item);
    EXPECT_EQ(shot().pixelColor(strip), toQColor(clBlue));
    item->SetSelect(true);
    EXPECT_EQ(shot().pixelColor(inside), toQColor(0xF0CAA6));
}

TEST(ItemBoxPainting, CaptionRunningPastTheTextAreaStillShowsInsideTheBox)
{
    auto calendar = shownCalendar(1000, 600);
    fit(*calendar);
    TCustomCalendarItem *item = addItem(*calendar, at(2, 8, 0), 120, QStringLiteral("Lineáris algebra gyakorlat"));
    TveltoCalendarObj *box = item->Obj();
    // Narrow and tall: the caption reads upwards and wraps into a second column, which starts
    // inside the text area (7 to 27) and runs on towards the frame.
    box->resize(34, 100);
    const QImage shot = box->grab().toImage();
    int ink = 0;
    for (int x = 28; x <= 31; ++x)
        for (int y = 2; y < box->height() - 2; ++y)
            ink += shot.pixelColor(x, y).lightness() < 128;
    EXPECT_GT(ink, 0);
}

TEST(WrappedText, NarrowAreaStillDrawsEveryCharacter)
{
    QImage image(40, 400, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter canvas(&image);
    DrawWrappedText(canvas, QRect(0, 0, 1, 400), false, QStringLiteral("Mikroökonómia"));
    const int lineHeight = canvas.fontMetrics().height();
    canvas.end();
    int lowestInk = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) != QColor(Qt::white))
                lowestInk = y;
        }
    }
    // One character per line: the thirteenth line starts twelve line heights down.
    EXPECT_GT(lowestInk, 12 * lineHeight);
}

TEST(WrappedText, RotatedTextWrapsIntoColumnsReadingUpwards)
{
    QImage image(200, 60, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter canvas(&image);
    DrawWrappedText(canvas, QRect(0, 0, 200, 60), true, QStringLiteral("Lineáris algebra gyakorlat"));
    canvas.end();
    int inkedColumns = 0;
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            if (image.pixelColor(x, y) != QColor(Qt::white)) {
                ++inkedColumns;
                break;
            }
        }
    }
    EXPECT_GT(inkedColumns, QFontMetrics(QFont()).height());
}
