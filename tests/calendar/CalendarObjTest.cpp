#include "CalendarTestSupport.h"

#include <QHelpEvent>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QToolTip>

using namespace calendartest;

namespace {

// Mon-Fri over two weeks, double periods; reports logged as "moving A 10 675-765 90" (day, minutes).
class MouseEditing : public testing::Test {
protected:
    void SetUp() override
    {
        calendar->SetDays({vlMonday, vlTuesday, vlWednesday, vlThursday, vlFriday});
        calendar->SetHetek(2);
        applyRows(*calendar, 7);
        fit(*calendar);
        const auto minute = [](TDateTime moment) { return int(std::lround(double(moment) * 1440)) % 1440; };
        const auto change = [this, minute](const char *kind) {
            return [this, kind, minute](TveltoCalendar &, TCustomCalendarItem *item, TDateTime start, TDateTime end,
                                int length, bool &accept) {
                events << QString::asprintf("%s %s %d %d-%d %d", kind, qPrintable(item->Subject()),
                                            int(double(start)), minute(start), minute(end), length);
                accept = acceptChanges;
            };
        };
        calendar->OnMoving = change("moving");
        calendar->OnResizing = change("resizing");
        calendar->OnClick = [this](TveltoCalendar &, TCustomCalendarItem *it) { events << "click " + it->Subject(); };
        calendar->OnDetails = [this](TveltoCalendar &, TCustomCalendarItem *it) { events << "info " + it->Subject(); };
    }

    QPoint cellCentre(int col, int row) const { return calendar->CellRect(col, row).center(); }
    void drag(TCustomCalendarItem *item, Qt::KeyboardModifiers keys, QPoint from, QPoint to, bool drop = true)
    {
        box = item->Obj();
        mouse.press(from, keys);
        mouse.move(from + (to - from) / 2);
        mouse.move(to);
        if (drop)
            mouse.release(to, keys);
    }
    // What the calendar shows of a box at a distance from its left edge, near its bottom.
    QColor pixel(const TCustomCalendarItem *item, int x) const
    {
        const QRect drawn = item->Obj()->geometry();
        return calendar->viewport()->grab().toImage().pixelColor(drawn.left() + x, drawn.bottom() - 2);
    }
    std::string takeEvents() { return std::exchange(events, {}).join(QStringLiteral("; ")).toStdString(); }

    std::unique_ptr<TveltoCalendar> calendar = shownCalendar(1200, 700);
    CalendarMouse mouse{*calendar};
    QPointer<TveltoCalendarObj> box;
    bool acceptChanges = true;
    QStringList events;
};

} // namespace

TEST_F(MouseEditing, CtrlDragMovesAndShiftDragStretchesTheItemOntoWholeRowsOrPutsTheBoxBack)
{
    TCustomCalendarItem *item = addItem(*calendar, at(2, 7, 45), 90, QStringLiteral("A"));
    TCustomCalendarItem *partial = addItem(*calendar, at(3, 7, 50), 150, QStringLiteral("B"));
    // Starting before the first row, it has no place, nor does it take a lane from what it overlaps.
    addItem(*calendar, at(3, 7, 0), 90, QStringLiteral("early"));
    EXPECT_EQ(partial->Obj()->width(), item->Obj()->width());
    // The box follows the pointer over whole cells; the item waits for the drop.
    drag(item, Qt::ControlModifier, cellCentre(1, 1), cellCentre(7, 3), false);
    EXPECT_EQ(box->geometry(), calendar->CellRect(7, 3).translated(-1, -1));
    EXPECT_EQ(double(item->Start()), double(at(2, 7, 45)));
    mouse.release(cellCentre(7, 3), Qt::ControlModifier);
    // Part of two rows becomes the whole of the two rows it lands on, the first day column included.
    drag(partial, Qt::ControlModifier, cellCentre(2, 1), cellCentre(1, 4));
    EXPECT_EQ(takeEvents(), "info A; moving A 10 675-765 90; info B; moving B 2 780-975 195");
    EXPECT_EQ(partial->Length(), 195);

    // Over the time column, the header row or within a few pixels of the press: nothing asked.
    const QRect lane = item->Obj()->geometry();
    for (const QPoint drop : {calendar->CellRect(0, 3).center(), calendar->CellRect(7, 0).center(),
                              cellCentre(7, 3) + QPoint(2, 2)}) {
        drag(item, Qt::ControlModifier, cellCentre(7, 3), drop);
        EXPECT_EQ(item->Obj()->geometry(), lane);
    }
    EXPECT_EQ(takeEvents(), "info A");
    // Refused: the item stays and its box goes back to its lane beside the other.
    addItem(*calendar, at(10, 11, 15), 90, QStringLiteral("C"));
    const QRect shared = item->Obj()->geometry();
    acceptChanges = false;
    drag(item, Qt::ControlModifier, shared.center(), cellCentre(4, 5));
    EXPECT_EQ(takeEvents(), "moving A 5 885-975 90");
    EXPECT_EQ(item->Obj()->geometry(), shared);
    // The owner may rebuild its items while answering.
    calendar->OnMoving = [](TveltoCalendar &sender, TCustomCalendarItem *, TDateTime, TDateTime, int, bool &) {
        sender.Items().Clear();
    };
    drag(item, Qt::ControlModifier, shared.center(), cellCentre(2, 2));
    EXPECT_EQ(calendar->Items().Count(), 0);
    EXPECT_EQ(calendar->SelectedItem(), nullptr);

    // Shift stretches the bottom edge, keeping the start and at least the top row. Row 6 is 10:15-10:45.
    applyRows(*calendar, 25, 30, 30);
    fit(*calendar);
    acceptChanges = true;
    item = addItem(*calendar, at(2, 7, 50), 30, QStringLiteral("A"));
    drag(item, Qt::ShiftModifier, cellCentre(1, 2), cellCentre(1, 6));
    EXPECT_EQ(item->Length(), 180);
    EXPECT_EQ(double(item->Start()), double(at(2, 7, 50)));
    const QRect stretched = item->Obj()->geometry();
    acceptChanges = false;
    drag(item, Qt::ShiftModifier, cellCentre(1, 6), cellCentre(1, 9));
    EXPECT_EQ(item->Obj()->geometry(), stretched);
    // With no one to ask, the change is made.
    calendar->OnResizing = nullptr;
    drag(item, Qt::ShiftModifier, cellCentre(1, 7), cellCentre(2, 0));
    EXPECT_EQ(item->Length(), 30);
    EXPECT_EQ(takeEvents(), "info A; resizing A 2 465-645 180; resizing A 2 465-765 300");
}

TEST_F(MouseEditing, ClicksSelectAndReportTheItemButStartNothingWhereNoDragIsAllowed)
{
    TCustomCalendarItem *first = addItem(*calendar, at(2, 7, 45), 90, QStringLiteral("A"));
    TCustomCalendarItem *second = addItem(*calendar, at(3, 7, 45), 90, QStringLiteral("B"));
    // The strip at the left of a box shows the selected item, its background the mark.
    mouse.click(cellCentre(3, 3));
    clickItem(*calendar, first);
    EXPECT_EQ(calendar->SelectedItem(), first);
    EXPECT_EQ(pixel(first, 3), toQColor(clBlue));
    clickItem(*calendar, second);
    EXPECT_EQ(calendar->SelectedItem(), second);
    EXPECT_TRUE(second->Obj()->hasFocus());
    EXPECT_EQ(std::make_pair(pixel(first, 3), pixel(first, 20)), std::make_pair(QColor(Qt::white), QColor(Qt::white)));
    first->SetSelect(true);
    EXPECT_EQ(pixel(first, 20), toQColor(0xF0CAA6));
    EXPECT_EQ(takeEvents(), "info A; click A; info B; click B");
    // Keys stay with the focused box; their releases reach the calendar's owner.
    std::vector<int> released;
    calendar->OnKeyUp = [&](TmyCustomGrid &, int &key, Qt::KeyboardModifiers) { released.push_back(key); };
    QTest::keyPress(QApplication::focusWidget(), Qt::Key_Down);
    QTest::keyRelease(QApplication::focusWidget(), Qt::Key_S);
    EXPECT_EQ(released, std::vector<int>{int(Qt::Key_S)});
    EXPECT_EQ(calendar->Selection(), (TGridRect{3, 3, 3, 3}));

    // A double click reports details; the press that comes with it starts no drag.
    box = first->Obj();
    mouse.doubleClick(box->geometry().center(), Qt::ControlModifier);
    EXPECT_EQ(box->DragMode(), TveltoCalendarObj::dmNone);
    mouse.move(cellCentre(3, 3));
    mouse.release(cellCentre(3, 3), Qt::ControlModifier);
    EXPECT_EQ(takeEvents(), "info A; info A; click A");

    // Read-only, or on fixed rows: the release is only a click, and a read-only press selects nothing.
    for (bool readOnly : {true, false}) {
        calendar->SetReadOnly(readOnly);
        if (!readOnly)
            calendar->SetScale(60);
        fit(*calendar);
        calendar->SetSelectedItem(nullptr);
        calendar->setFocus();
        const QRect place = second->Obj()->geometry();
        drag(second, Qt::ControlModifier, place.center(), place.center() + QPoint(0, 2 * place.height()));
        drag(second, Qt::ShiftModifier, place.center(), place.center() + QPoint(0, 2 * place.height()));
        EXPECT_EQ(second->Obj()->geometry(), place);
        EXPECT_EQ(calendar->SelectedItem(), readOnly ? nullptr : second);
        EXPECT_EQ(takeEvents(), readOnly ? "click B; click B" : "info B; click B; click B");
    }
}

TEST_F(MouseEditing, TheFocusedBoxKeepsItsItemSelectedWhileBoxesAroundItMoveOrGo)
{
    // A full week: enough boxes that a layout places them all in one pass.
    std::vector<TCustomCalendarItem *> items;
    for (int day = 2; day <= 6; ++day)
        for (int hour : {8, 10, 12, 14})
            items.push_back(addItem(*calendar, at(day, hour, 0), 90, QString::asprintf("%d-%d", day, hour)));
    TCustomCalendarItem *clicked = items[6];
    clickItem(*calendar, clicked);
    ASSERT_TRUE(clicked->Obj()->hasFocus());
    takeEvents();

    // Every box moves; the clicked one keeps the focus and nothing else is selected or reported.
    calendar->resize(900, 600);
    fit(*calendar);
    EXPECT_TRUE(clicked->Obj()->hasFocus());
    EXPECT_EQ(calendar->SelectedItem(), clicked);
    EXPECT_EQ(takeEvents(), "");

    // The focused item deleted: the focus stays with the calendar, no other box takes it.
    delete clicked;
    EXPECT_TRUE(calendar->hasFocus());
    EXPECT_EQ(calendar->SelectedItem(), nullptr);
    EXPECT_EQ(takeEvents(), "");

    // Nor when the row change hides every box.
    clickItem(*calendar, items[0]);
    takeEvents();
    calendar->SetScale(-1);
    EXPECT_TRUE(calendar->hasFocus());
    EXPECT_EQ(calendar->SelectedItem(), items[0]);
    EXPECT_EQ(takeEvents(), "");
}

TEST(WrappedText, ACaptionWrapsInsideItsBoxAndAWordWiderThanALineIsBroken)
{
    auto calendar = shownCalendar();
    // Narrow and tall: the caption reads upwards, its second column runs past the text area (7 to 27).
    calendar->SetColWidths(1, 34 + calendar->VonalzoBal() + calendar->VonalzoJobb() + 1);
    calendar->SetRowHeights(9, 50);
    calendar->SetRowHeights(10, 51);
    const TveltoCalendarObj *box =
        addItem(*calendar, at(2, 8, 0), 120, QStringLiteral("Lineáris algebra gyakorlat"))->Obj();
    ASSERT_EQ(box->geometry().size(), QSize(34, 100));
    EXPECT_GT(ink(box->grab().toImage(), QRect(28, 2, 4, box->height() - 4)), 0);
    // A word wider than a line goes a character per line (13 lines), or column while one fits.
    QImage image(200, 400, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter canvas(&image);
    DrawWrappedText(canvas, QRect(0, 0, 1, 400), false, QStringLiteral("Mikroökonómia"));
    const int line = canvas.fontMetrics().height();
    DrawWrappedText(canvas, QRect(100, 40, 2 * line, 1), true, QStringLiteral("abcd"));
    canvas.end();
    EXPECT_GT(ink(image, QRect(0, 12 * line, 40, line)), 0);
    EXPECT_EQ(ink(image, QRect(0, 13 * line, 40, 400 - 13 * line)), 0);
    EXPECT_GT(ink(image, QRect(100 + 2 * line, 0, line, 41)), 0);
    EXPECT_EQ(ink(image, QRect(100 + 3 * line, 0, line, 41)), 0);
}

// The focused box stands under the box control: double clicks, hints and the popup menu reach it
// there as they reach the boxes drawn with the cells.
TEST_F(MouseEditing, TheFocusedBoxTakesDoubleClicksHintsAndItsPopupMenuLikeTheOthers)
{
    QMenu menu;
    menu.addAction(QStringLiteral("Részletek"));
    calendar->SetItemPopupMenu(&menu);
    TCustomCalendarItem *item = addItem(*calendar, at(2, 7, 45), 90, QStringLiteral("A"));
    item->SetComment(QStringLiteral("Kovács Anna"));
    clickItem(*calendar, item);
    ASSERT_TRUE(item->Obj()->hasFocus());
    const QPoint centre = item->Obj()->geometry().center();
    QWidget *standing = calendar->viewport()->childAt(centre);
    ASSERT_NE(standing, nullptr) << "no control over the focused box";
    EXPECT_EQ(standing->mapTo(calendar->viewport(), QPoint(0, 0)), item->Obj()->geometry().topLeft());
    mouse.doubleClick(centre);
    mouse.release(centre);
    EXPECT_EQ(takeEvents(), "info A; click A; info A; click A");

    QHelpEvent hover(QEvent::ToolTip, standing->mapFrom(calendar->viewport(), centre), standing->mapToGlobal(QPoint()));
    QApplication::sendEvent(standing, &hover);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), QStringLiteral("Kovács Anna"));
    QToolTip::hideText();
    mouse.rightClick(centre);
    EXPECT_TRUE(menu.isVisible());
    menu.hide();
    // Moved to another day, the item takes the control along.
    item->SetStart(at(4, 11, 15));
    EXPECT_TRUE(item->Obj()->hasFocus());
    EXPECT_EQ(calendar->viewport()->childAt(item->Obj()->geometry().center()), standing);
}

// Boxes at rest are drawn from pictures kept between paints; a box whose text, size, colour or
// focus changed must show the change, and showing the old text again shows the old picture.
TEST(BoxPictures, ABoxShownAgainFollowsItsTextSizeColourAndFocus)
{
    auto calendar = shownCalendar();
    TCustomCalendarItem *item = addItem(*calendar, at(2, 8, 0), 60, QStringLiteral("Alfa"));
    TveltoCalendarObj *box = item->Obj();
    const QImage first = box->grab().toImage();
    const QRect textArea(7, 2, box->width() - 14, box->height() - 6);
    item->SetSubject(QStringLiteral("Béta Gamma Delta Epszilon"));
    EXPECT_GT(ink(box->grab().toImage(), textArea), ink(first, textArea));
    item->SetSubject(QStringLiteral("Alfa"));
    EXPECT_EQ(box->grab().toImage(), first);

    item->SetBGColor(clMoneyGreen);
    EXPECT_EQ(box->grab().toImage().pixelColor(box->width() - 3, box->height() - 3), toQColor(clMoneyGreen));
    // Narrower, the box is drawn anew at its size: its frame on its last pixel column.
    const int wide = box->width();
    calendar->SetColWidths(1, calendar->ColWidths(1) - 30);
    ASSERT_EQ(box->width(), wide - 30);
    const QImage narrow = box->grab().toImage();
    EXPECT_EQ(narrow.pixelColor(narrow.width() - 1, narrow.height() / 2), QColor(Qt::black));
    EXPECT_EQ(narrow.pixelColor(narrow.width() - 3, narrow.height() - 3), toQColor(clMoneyGreen));

    EXPECT_EQ(narrow.pixelColor(3, 3), toQColor(clWhite));
    clickItem(*calendar, item);
    EXPECT_EQ(box->grab().toImage().pixelColor(3, 3), toQColor(clBlue));
    // Still selected with the focus gone, the strip stays blue on the box drawn with the cells.
    calendar->setFocus();
    QApplication::processEvents();
    ASSERT_FALSE(box->hasFocus());
    EXPECT_EQ(box->grab().toImage().pixelColor(3, 3), toQColor(clBlue));
}

// A box whose picture is made for a repaint that covers only part of it is drawn there, and
// whole afterwards, as it was drawn before it had a picture.
TEST(BoxPictures, APictureMadeForPartOfABoxShowsItWhole)
{
    auto calendar = shownCalendar();
    calendar->SetRowHeights(9, 60);
    const TveltoCalendarObj *box =
        addItem(*calendar, at(3, 8, 0), 60, QStringLiteral("Részben rajzolt doboz"))->Obj();
    ASSERT_GT(box->width(), box->height());
    const QImage before = box->grab().toImage();
    EXPECT_GT(ink(before, QRect(7, 2, box->width() - 14, box->height() / 2 - 2)), 0);

    const QRect lowerHalf = box->geometry().adjusted(0, box->height() / 2, 0, 0);
    // The area comes out at the picture's origin.
    QImage part(lowerHalf.size(), QImage::Format_RGB32);
    part.fill(Qt::magenta);
    calendar->viewport()->render(&part, QPoint(), QRegion(lowerHalf));
    EXPECT_EQ(part.convertToFormat(before.format()),
              before.copy(QRect(QPoint(0, box->height() / 2), lowerHalf.size())));
    EXPECT_EQ(box->grab().toImage(), before);
}
