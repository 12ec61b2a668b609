#include "CalendarTestSupport.h"

#include "calendar/CalendarFitting.h"

#include <QHelpEvent>
#include <QMenu>
#include <QPainter>
#include <QToolTip>

using namespace calendartest;

namespace {

// Mon-Fri over one week with the planner's double periods; what the owner hears is logged.
class BoxRouting : public testing::Test {
protected:
    void SetUp() override
    {
        calendar->SetDays({vlMonday, vlTuesday, vlWednesday, vlThursday, vlFriday});
        applyRows(*calendar, 7);
        fit(*calendar);
        calendar->OnClick = [this](TveltoCalendar &, TCustomCalendarItem *it) { events << "click " + it->Subject(); };
        calendar->OnDetails = [this](TveltoCalendar &, TCustomCalendarItem *it) { events << "info " + it->Subject(); };
        calendar->OnMoving = [this](TveltoCalendar &, TCustomCalendarItem *it, TDateTime, TDateTime, int, bool &accept) {
            events << "moving " + it->Subject();
            accept = true;
        };
        first = addItem(*calendar, at(2, 7, 45), 90, QStringLiteral("A"));
        second = addItem(*calendar, at(3, 9, 30), 90, QStringLiteral("B"));
    }

    QPoint centreOf(const TCustomCalendarItem *item) const { return item->Obj()->geometry().center(); }
    // Hovers the mouse over a point of the viewport, on whatever stands there.
    void hover(QPoint at)
    {
        QWidget *target = calendar->viewport()->childAt(at);
        target = target ? target : calendar->viewport();
        QHelpEvent help(QEvent::ToolTip, target->mapFrom(calendar->viewport(), at), calendar->viewport()->mapToGlobal(at));
        QApplication::sendEvent(target, &help);
    }
    QColor strip(const TCustomCalendarItem *item) const
    {
        const QRect drawn = item->Obj()->geometry();
        return calendar->viewport()->grab().toImage().pixelColor(drawn.left() + 3, drawn.bottom() - 2);
    }
    std::string takeEvents() { return std::exchange(events, {}).join(QStringLiteral("; ")).toStdString(); }

    std::unique_ptr<TveltoCalendar> calendar = shownCalendar(1000, 600);
    CalendarMouse mouse{*calendar};
    TCustomCalendarItem *first = nullptr;
    TCustomCalendarItem *second = nullptr;
    QStringList events;
};

} // namespace

TEST_F(BoxRouting, MenusAndHintsComeFromTheBoxUnderTheMouseAndOnlyWhenItHasThem)
{
    // A menu given after the items reaches their boxes; read-only, a right click focuses nothing.
    QMenu menu;
    menu.addAction(QStringLiteral("Részletek"));
    calendar->SetItemPopupMenu(&menu);
    calendar->SetReadOnly(true);
    mouse.rightClick(centreOf(first));
    EXPECT_TRUE(menu.isVisible());
    menu.hide();
    EXPECT_FALSE(first->Obj()->hasFocus());

    // Without a menu, the focused box opens none.
    calendar->SetReadOnly(false);
    calendar->SetItemPopupMenu(nullptr);
    clickItem(*calendar, first);
    ASSERT_TRUE(first->Obj()->hasFocus());
    mouse.rightClick(centreOf(first));
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);

    // A box without a comment hides the hint of the box before it, focused or not.
    second->SetComment(QStringLiteral("Kovács Anna"));
    hover(centreOf(second));
    ASSERT_TRUE(QToolTip::isVisible());
    hover(centreOf(first));
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); })) << "focused";
    first->SetComment(QStringLiteral("Nagy Béla"));
    second->SetComment(QString());
    hover(centreOf(first));
    ASSERT_TRUE(QToolTip::isVisible());
    hover(centreOf(second));
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); })) << "drawn with the cells";
    // Read-only, the right press was still a click.
    EXPECT_EQ(takeEvents(), "click A; info A; click A; click A");
}

TEST_F(BoxRouting, TheOwnerMovesTheFocusBetweenBoxesAndADraggedBoxStillTakesTheMouse)
{
    std::vector<std::string> boxEvents;
    first->Obj()->OnClick = [&](TveltoCalendarObj &) { boxEvents.push_back("click A"); };
    first->Obj()->OnDblClick = [&](TveltoCalendarObj &) { boxEvents.push_back("double A"); };
    clickItem(*calendar, first);
    ASSERT_TRUE(first->Obj()->hasFocus());
    EXPECT_EQ(strip(first), toQColor(clBlue));
    // The owner picks another item: it is selected and reported, the first one shows unselected.
    second->Obj()->setFocus();
    EXPECT_TRUE(second->Obj()->hasFocus());
    EXPECT_EQ(calendar->SelectedItem(), second);
    EXPECT_EQ(strip(first), QColor(Qt::white));
    EXPECT_EQ(takeEvents(), "info A; click A; info B");

    // A quiet move of the focus onto the control reports nothing.
    calendar->moveFocusQuietly(*calendar);
    calendar->moveFocusQuietly(*calendar->viewport()->childAt(centreOf(second)));
    EXPECT_TRUE(second->Obj()->hasFocus());
    EXPECT_EQ(takeEvents(), "");

    // A box dropped after a drag is found where it is drawn, by clicks and double clicks.
    const QPoint from = centreOf(first);
    const QPoint to = calendar->CellRect(4, 3).center();
    mouse.press(from, Qt::ControlModifier);
    mouse.move(to);
    mouse.release(to, Qt::ControlModifier);
    EXPECT_EQ(first->Obj()->CellRange(), (TGridRect{4, 3, 4, 3}));
    clickItem(*calendar, second);
    EXPECT_EQ(takeEvents(), "info A; moving A; info B; click B");
    mouse.doubleClick(centreOf(first));
    mouse.release(centreOf(first));
    EXPECT_TRUE(first->Obj()->hasFocus());
    EXPECT_EQ(boxEvents, (std::vector<std::string>{"click A", "click A", "double A", "click A"}));
    EXPECT_EQ(takeEvents(), "info A; info A; click A");

    // A double click on an empty cell reports no item.
    mouse.doubleClick(calendar->CellRect(5, 6).center());
    mouse.release(calendar->CellRect(5, 6).center());
    EXPECT_EQ(takeEvents(), "");
}

TEST_F(BoxRouting, AnOwnerMayDropTheClickedItemFromItsClickHandler)
{
    // The owner rebuilds its items at once, deferred deletions included.
    first->Obj()->OnClick = [this](TveltoCalendarObj &) {
        delete first;
        first = nullptr;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };
    clickItem(*calendar, first);
    EXPECT_EQ(first, nullptr);
    EXPECT_EQ(calendar->Items().Count(), 1);
    EXPECT_EQ(calendar->SelectedItem(), nullptr);
    EXPECT_EQ(takeEvents(), "info A");
    // The calendar goes on taking clicks.
    clickItem(*calendar, second);
    EXPECT_EQ(calendar->SelectedItem(), second);

    // Or the dragged item from its move handler.
    calendar->OnMoving = [this](TveltoCalendar &, TCustomCalendarItem *, TDateTime, TDateTime, int, bool &) {
        delete second;
        second = nullptr;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };
    const QPoint to = calendar->CellRect(4, 5).center();
    mouse.press(centreOf(second), Qt::ControlModifier);
    mouse.move(to);
    mouse.release(to, Qt::ControlModifier);
    EXPECT_EQ(second, nullptr);
    EXPECT_EQ(calendar->Items().Count(), 0);
    mouse.click(calendar->CellRect(2, 2).center());
    EXPECT_EQ(calendar->Selection(), (TGridRect{2, 2, 2, 2}));
}

TEST(CalendarItems, KnowTheirPlaceInTheListAfterOneBeforeThemGoes)
{
    auto calendar = shownCalendar();
    std::vector<TCustomCalendarItem *> items;
    for (int i = 0; i < 3; ++i)
        items.push_back(addItem(*calendar, at(2, 10 + 2 * i, 0), 60));
    delete items[1];
    EXPECT_EQ(std::make_pair(items[0]->Index(), items[2]->Index()), std::make_pair(0, 1));
}

TEST(CalendarColumnsAndRows, DaysOutsideTheWeeksHaveNoColumnAndNoDayFindsTheFirstUnusedOne)
{
    auto calendar = shownCalendar();
    calendar->SetDays({vlMonday, vlTuesday, vlWednesday, vlThursday, vlFriday});
    EXPECT_EQ(calendar->ColumnOfDay(200), -1);
    EXPECT_EQ(calendar->ColumnOfDay(-3), -1);
    EXPECT_EQ(calendar->ColumnOfDay(-1), 6);
    EXPECT_EQ(calendar->DayOfColumn(6), -1);
}

TEST(CalendarWindow, AHeaderWiderThanItsCellIsNarrowedIntoIt)
{
    auto calendar = shownCalendar();
    calendar->SetDays({vlMonday, vlTuesday, vlWednesday, vlThursday, vlFriday});
    calendar->SetHetek(2);
    fit(*calendar);
    const int col = calendar->ColumnOfDay(11); // "2:Csütörtök"
    calendar->SetColWidths(col, calendar->viewport()->fontMetrics().horizontalAdvance(calendar->ColumnHeader(col)) * 3 / 4);
    const QRect cell = calendar->CellRect(col, 0);
    const QImage image = calendar->viewport()->grab().toImage();
    // The label keeps to the cell and still reaches across it.
    EXPECT_GT(ink(image, QRect(cell.left() + 3, cell.top() + 2, cell.width() / 4, cell.height() - 4)), 0);
    EXPECT_GT(ink(image, QRect(cell.right() - cell.width() / 4, cell.top() + 2, cell.width() / 4 - 2, cell.height() - 4)), 0);
}

TEST(CalendarFitting, SharingOutGivesTheRemainderToTheLaterCells)
{
    EXPECT_EQ(ShareOut(10, 3), (std::vector<int>{3, 3, 4}));
    EXPECT_EQ(ShareOut(10, 0), std::vector<int>{});
}

TEST(CalendarBoxes, ABoxOnNoCalendarDrawsNothingAndOnlyReportsItsOwnDoubleClick)
{
    TveltoCalendarObj box;
    box.SetCaption(QStringLiteral("Óra"));
    box.setGeometry(QRect(0, 0, 40, 40));
    int doubles = 0;
    box.OnDblClick = [&](TveltoCalendarObj &) { ++doubles; };
    box.MouseDoubleClick(Qt::LeftButton, {}, QPoint(5, 5));
    box.MouseUp(Qt::LeftButton, {}, QPoint(5, 5));
    box.KeyUp(Qt::Key_Delete, {});
    box.FocusIn();
    EXPECT_EQ(doubles, 1);
    EXPECT_FALSE(box.hasFocus());
    EXPECT_TRUE(box.grab().isNull());
    QImage image(40, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter canvas(&image);
    box.Paint(canvas);
    canvas.end();
    EXPECT_EQ(ink(image, image.rect()), 0);
}
