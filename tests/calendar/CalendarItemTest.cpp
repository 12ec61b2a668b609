#include "CalendarTestSupport.h"

#include <QHelpEvent>
#include <QScreen>
#include <QToolTip>

using namespace calendartest;

namespace {

// What the calendar shows of a box, at a point of the box.
QColor pixel(const TveltoCalendarObj *box, QPoint at) { return box->grab().toImage().pixelColor(at); }
QColor background(const TveltoCalendarObj *box) { return pixel(box, QPoint(20, box->height() - 3)); }
QColor topEdge(const TveltoCalendarObj *box) { return pixel(box, QPoint(box->width() / 2, 1)); }

class ItemBoxes : public testing::Test {
protected:
    void SetUp() override
    {
        applyRows(*calendar, 7);
        fit(*calendar);
    }

    std::unique_ptr<TveltoCalendar> calendar = shownCalendar(1000, 600);
    CalendarMouse mouse{*calendar};
};

} // namespace

TEST(CalendarItems, ItemsOutsideACalendarHaveNoBoxAndTakeEverySetting)
{
    TCalendarItems plain;
    TCustomCalendarItem *item = plain.Add();
    EXPECT_EQ(item->Obj(), nullptr);
    item->SetComment(QStringLiteral("megjegyzés"));
    item->SetSelect(true);
    item->SetBGColor(clSilver);
    item->SetLength(62);
    EXPECT_EQ(std::tuple(item->Comment(), item->Select(), item->BGColor(), item->Length()),
              std::tuple(QStringLiteral("megjegyzés"), true, clSilver, 60));
    EXPECT_EQ(item->Color(), TColor(0xFF0000)) << "blue";
}

// A copy shows the source's texts at the source's time, in its own colours and unmarked.
TEST_F(ItemBoxes, ACopyTakesTheTextsAndTimesButKeepsItsOwnColoursAndMark)
{
    TCustomCalendarItem *source = addItem(*calendar, at(3, 9, 30), 90, QStringLiteral("Analízis"));
    source->SetComment(QStringLiteral("K1\r\nAlgebra"));
    source->SetBGColor(clMoneyGreen);
    source->SetSelect(true);
    TCustomCalendarItem *copy = addItem(*calendar, at(5, 13, 0), 45, QStringLiteral("régi"));
    source->AssignTo(*copy);
    const TveltoCalendarObj *box = copy->Obj();
    EXPECT_EQ(copy->Obj()->Caption(), QStringLiteral("Analízis"));
    // The same day and rows, in the lane beside the source.
    const QRect place = source->Obj()->geometry();
    EXPECT_EQ(std::tuple(box->y(), box->height(), box->x() > place.right()), std::tuple(place.y(), place.height(), true));
    EXPECT_EQ(std::tuple(copy->Comment(), copy->Length()), std::tuple(QStringLiteral("K1\r\nAlgebra"), 90));
    EXPECT_EQ(background(box), QColor(Qt::white));
    EXPECT_EQ(background(source->Obj()), toQColor(0xF0CAA6));
}

TEST_F(ItemBoxes, MarkingTheCalendarMarksEveryBoxAndHoveringABoxShowsTheComment)
{
    TCustomCalendarItem *items[] = {addItem(*calendar, at(2, 7, 45), 90), addItem(*calendar, at(4, 11, 15), 90)};
    for (bool marked : {true, false}) {
        calendar->SetSelect(marked);
        for (TCustomCalendarItem *item : items)
            EXPECT_EQ(background(item->Obj()), marked ? toQColor(0xF0CAA6) : QColor(Qt::white)) << marked;
    }
    items[1]->SetComment(QStringLiteral("Kovács Anna\r\nA-103"));
    // Hovered where the box is drawn.
    QWidget *grid = calendar->viewport();
    const QPoint centre = items[1]->Obj()->geometry().center();
    QHelpEvent hover(QEvent::ToolTip, centre, grid->mapToGlobal(centre));
    QApplication::sendEvent(grid, &hover);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), QStringLiteral("Kovács Anna\r\nA-103"));
    QToolTip::hideText();
}

// While dragged a box is framed in the item's colour; dropped below the last row it goes back.
TEST_F(ItemBoxes, ADraggedBoxIsFramedInTheItemsColourAndADropPastTheLastRowChangesNothing)
{
    // Two rows from the second one: the last row cannot hold its second row.
    TCustomCalendarItem *item = addItem(*calendar, at(2, 9, 30), 195, QStringLiteral("A"));
    QStringList asked;
    calendar->OnMoving = [&](TveltoCalendar &, TCustomCalendarItem *, TDateTime, TDateTime, int, bool &) {
        asked << QStringLiteral("moving");
    };
    const TveltoCalendarObj *box = item->Obj();
    const QRect lane = box->geometry();
    const QPoint from = calendar->CellRect(1, 2).center();
    for (const auto &[colour, seen] : {std::pair{TColor(0xFF0000), QColor(Qt::blue)}, {clRed, QColor(Qt::red)}}) {
        item->SetColor(colour);
        EXPECT_NE(topEdge(box), seen);
        mouse.press(from, Qt::ControlModifier);
        mouse.move(from + QPoint(0, 30));
        EXPECT_EQ(topEdge(box), seen);
        const QPoint below = calendar->CellRect(1, 7).center();
        mouse.move(below);
        mouse.release(below, Qt::ControlModifier);
        EXPECT_EQ(box->geometry(), lane);
        EXPECT_NE(topEdge(box), seen);
    }
    EXPECT_EQ(double(item->Start()), double(at(2, 9, 30)));
    EXPECT_EQ(item->Length(), 195);
    EXPECT_TRUE(asked.isEmpty());
}

TEST_F(ItemBoxes, ANewStartOrLengthMovesOrStretchesTheBoxAtOnce)
{
    TCustomCalendarItem *item = addItem(*calendar, at(2, 7, 45), 90, QStringLiteral("A"));
    const TveltoCalendarObj *box = item->Obj();
    const auto inCell = [&](int day, int row, QPoint point) {
        return calendar->CellRect(calendar->ColumnOfDay(day), row).contains(point);
    };
    EXPECT_TRUE(inCell(2, 1, box->geometry().center()));
    item->SetStart(at(4, 11, 15));
    EXPECT_TRUE(inCell(4, 3, box->geometry().center()));
    // Down to the end of the next row.
    item->SetLength(195);
    EXPECT_TRUE(inCell(4, 3, box->geometry().topLeft() + QPoint(2, 2)));
    EXPECT_TRUE(inCell(4, 4, box->geometry().bottomLeft() + QPoint(2, -2)));
    item->SetSubject(QStringLiteral("Új tárgy"));
    EXPECT_EQ(item->Obj()->Caption(), QStringLiteral("Új tárgy"));
}

namespace {

// Counts the layouts the calendar runs, to tell changes that move boxes from those that do not.
class CountingCalendar : public TveltoCalendar {
public:
    int layouts = 0;
    void LayoutItems(TCustomCalendarItem *item, bool rangeOnly) override
    {
        ++layouts;
        TveltoCalendar::LayoutItems(item, rangeOnly);
    }
};

} // namespace

TEST(CalendarItems, StartEmptyWithABlueFrameAndOnlyPlacementChangesLayTheCalendarOut)
{
    CountingCalendar calendar;
    TCustomCalendarItem *fresh = calendar.Items().Add();
    EXPECT_EQ(fresh->Length(), 0);
    EXPECT_EQ(fresh->Obj()->Color(), TColor(0xFF0000));
    EXPECT_EQ(fresh->Obj()->SelBGColor(), TColor(0xF0CAA6));
    EXPECT_EQ(fresh->Obj()->BGColor(), clWhite);

    TCustomCalendarItem *item = addItem(calendar, at(2, 8, 0), 60);
    int before = calendar.layouts;
    item->SetColor(clGreen);
    item->SetBGColor(clMoneyGreen);
    item->SetSelBGColor(clSilver);
    EXPECT_EQ(calendar.layouts, before);
    EXPECT_EQ(std::tuple(item->Obj()->Color(), item->Obj()->BGColor(), item->Obj()->SelBGColor()),
              std::tuple(clGreen, clMoneyGreen, clSilver));
    for (const auto &change : {std::function<void()>([&] { item->SetSubject(QStringLiteral("Új")); }),
                               std::function<void()>([&] { item->SetSelect(true); }),
                               std::function<void()>([&] { item->SetComment(QStringLiteral("K1")); }),
                               std::function<void()>([&] { item->SetStart(at(3, 8, 0)); })}) {
        before = calendar.layouts;
        change();
        EXPECT_GT(calendar.layouts, before);
    }
    EXPECT_EQ(std::tuple(item->Obj()->Caption(), item->Obj()->Select()), std::tuple(QStringLiteral("Új"), true));
}

// A few recoloured boxes are repainted one by one, many at once with the whole calendar: both
// show every new colour and leave the other boxes as they were.
TEST_F(ItemBoxes, RecolouringAFewOrManyBoxesShowsEveryNewColour)
{
    std::vector<TCustomCalendarItem *> items;
    for (int day = 2; day <= 8; ++day)
        for (int period = 0; period < 7; ++period)
            for (int lane = 0; lane < 2; ++lane)
                items.push_back(addItem(*calendar, at(day, 7, 45) + period * 105 / 1440.0, 90));
    // What the window shows, not a fresh painting of it: only what was repainted has changed.
    const auto shownColour = [&](const TCustomCalendarItem *item) {
        const QRect drawn = item->Obj()->geometry();
        const QPoint at = calendar->viewport()->mapTo(calendar.get(), QPoint(drawn.right() - 2, drawn.bottom() - 2));
        return calendar->screen()->grabWindow(calendar->winId()).toImage().pixelColor(at);
    };
    QApplication::processEvents();
    for (std::size_t few : {std::size_t(3), items.size()}) {
        const TColor colour = few == 3 ? clMoneyGreen : clSilver;
        for (std::size_t i = 0; i < few; ++i)
            items[i]->SetBGColor(colour);
        QApplication::processEvents();
        for (std::size_t i : {std::size_t(0), std::size_t(2), few - 1, items.size() / 2, items.size() - 1})
            EXPECT_EQ(shownColour(items[i]), i < few ? toQColor(colour) : QColor(Qt::white)) << few << " " << i;
    }
}
