#include "platform/widgets/myCustomGrid.h"

#include "platform/SysUtils.h"

#include <QApplication>
#include <QPainter>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <map>
#include <memory>

namespace {

// Records what the grid asks of its descendants.
class ProbeGrid : public TmyCustomGrid {
public:
    std::map<std::pair<int, int>, TGridDrawState> drawn;
    TGridDrawState stateOf(int col, int row) { return drawn[std::make_pair(col, row)]; }
    int colWidthChanges = 0;
    int rowHeightChanges = 0;
    int topLeftChanges = 0;
    bool refuseSelection = false;

protected:
    void DrawCell(QPainter &canvas, int col, int row, const QRect &rect, TGridDrawState state) override
    {
        drawn[{col, row}] = state;
        TmyCustomGrid::DrawCell(canvas, col, row, rect, state);
    }
    bool SelectCell(int, int) override { return !refuseSelection; }
    void ColWidthsChanged() override { ++colWidthChanges; }
    void RowHeightsChanged() override { ++rowHeightChanges; }
    void TopLeftChanged() override { ++topLeftChanges; }
};

std::unique_ptr<ProbeGrid> shownGrid(int cols = 10, int rows = 20)
{
    auto grid = std::make_unique<ProbeGrid>();
    grid->SetColCount(cols);
    grid->SetRowCount(rows);
    grid->resize(400, 300);
    grid->show();
    QApplication::setActiveWindow(grid.get());
    EXPECT_TRUE(QTest::qWaitForWindowActive(grid.get()));
    return grid;
}

QPoint centreOfCell(const TmyCustomGrid &grid, int col, int row)
{
    return grid.CellRect(col, row).center();
}

} // namespace

TEST(GridGeometry, CellsFollowWidthsHeightsAndGridLines)
{
    auto grid = shownGrid();
    grid->SetCursor(Qt::IBeamCursor);
    EXPECT_EQ(grid->viewport()->cursor().shape(), Qt::IBeamCursor);
    EXPECT_EQ(grid->CellRect(0, 0), QRect(0, 0, 64, 24));
    EXPECT_EQ(grid->CellRect(1, 0), QRect(65, 0, 64, 24));
    EXPECT_EQ(grid->CellRect(2, 1), QRect(130, 25, 64, 24));
    grid->SetGridLineWidth(0);
    grid->SetColWidths(1, 100);
    EXPECT_EQ(grid->CellRect(2, 1), QRect(164, 24, 64, 24));
    grid->SetOptions(grid->Options() & ~goVertLine);
    grid->SetGridLineWidth(3);
    EXPECT_EQ(grid->CellRect(2, 1).left(), 167);
}

TEST(GridGeometry, MouseCoordFindsTheCellOfEveryPoint)
{
    auto grid = shownGrid();
    for (int row = 0; row < grid->VisibleRowCount(); ++row) {
        for (int col = 0; col < grid->VisibleColCount(); ++col) {
            const QRect cell = grid->CellRect(col, row);
            EXPECT_EQ(grid->MouseCoord(cell.left(), cell.top()), (TGridCoord{col, row}));
            EXPECT_EQ(grid->MouseCoord(cell.right(), cell.bottom()), (TGridCoord{col, row}));
        }
    }
    EXPECT_EQ(grid->MouseCoord(-1, 5).X, -1);
    EXPECT_EQ(grid->MouseCoord(5, grid->ClientHeight()).Y, -1);
}

TEST(GridGeometry, BoxRectSpansACellRangeAndIsEmptyWhenScrolledOut)
{
    auto grid = shownGrid();
    grid->SetGridLineWidth(0);
    EXPECT_EQ(grid->BoxRect(1, 2, 2, 4), QRect(64, 48, 128, 72));
    grid->SetTopRow(10);
    const QRect gone = grid->BoxRect(1, 2, 2, 4);
    EXPECT_EQ(gone.left(), 0);
    EXPECT_EQ(gone.top(), 0);
    EXPECT_TRUE(gone.isEmpty());
    EXPECT_EQ(grid->BoxRect(1, 9, 1, 11).top(), 24);
}

TEST(GridGeometry, DefaultSizeResetsEveryColumnAndReports)
{
    auto grid = shownGrid();
    grid->SetColWidths(3, 10);
    const int before = grid->colWidthChanges;
    grid->SetDefaultColWidth(50);
    EXPECT_EQ(grid->ColWidths(3), 50);
    EXPECT_EQ(grid->ColWidths(0), 50);
    EXPECT_GT(grid->colWidthChanges, before);
    grid->SetRowHeights(4, 40);
    EXPECT_EQ(grid->rowHeightChanges, 1);
    EXPECT_EQ(grid->RowHeights(4), 40);
}

TEST(GridGeometry, FixedCountMustStayBelowTheCount)
{
    auto grid = shownGrid(3, 3);
    EXPECT_THROW(grid->SetFixedRows(3), Exception);
    EXPECT_THROW(grid->SetFixedCols(5), Exception);
    EXPECT_EQ(grid->FixedRows(), 1);
    grid->SetFixedRows(2);
    EXPECT_EQ(grid->Row(), 2);
}

TEST(GridScrolling, TopRowAndLeftColumnAreClampedAndReportedScrollBarsMoveByWholeCells)
{
    auto grid = shownGrid(10, 20);
    grid->SetTopRow(0);
    EXPECT_EQ(grid->TopRow(), 1);
    grid->SetTopRow(100);
    EXPECT_LT(grid->TopRow(), 20);
    EXPECT_GE(grid->CellRect(0, 19).bottom(), 0);
    EXPECT_LE(grid->CellRect(0, 19).bottom(), grid->ClientHeight());
    EXPECT_EQ(grid->topLeftChanges, 1);
    grid->SetLeftCol(4);
    EXPECT_EQ(grid->LeftCol(), 4);
    EXPECT_EQ(grid->CellRect(4, 0).left(), 65);
    EXPECT_EQ(grid->topLeftChanges, 2);
    grid->verticalScrollBar()->setValue(3);
    EXPECT_EQ(grid->TopRow(), 4);
    grid->horizontalScrollBar()->setValue(2);
    EXPECT_EQ(grid->LeftCol(), 3);
    EXPECT_EQ(grid->CellRect(3, 4).topLeft(), QPoint(65, 25));
}

TEST(GridScrolling, GrowingTheWindowScrollsBackWhatFitsAgain)
{
    auto grid = shownGrid(4, 20);
    grid->SetTopRow(100);
    ASSERT_GT(grid->TopRow(), 1);
    grid->resize(400, 1000);
    EXPECT_EQ(grid->TopRow(), 1);
}

TEST(GridSelection, PressSelectsDragSelectsARangeShrinkingPullsItInsideFixedAndRefusedCellsKeepIt)
{
    auto grid = shownGrid();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, centreOfCell(*grid, 2, 3));
    EXPECT_EQ(grid->Selection(), (TGridRect{2, 3, 2, 3}));
    EXPECT_EQ(grid->Col(), 2);
    EXPECT_EQ(grid->Row(), 3);
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, centreOfCell(*grid, 3, 5));
    QTest::mouseMove(grid->viewport(), centreOfCell(*grid, 1, 2));
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, centreOfCell(*grid, 1, 2));
    EXPECT_EQ(grid->Selection(), (TGridRect{1, 2, 3, 5}));
    // Shift extends from where the last plain press began.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::ShiftModifier, centreOfCell(*grid, 4, 6));
    EXPECT_EQ(grid->Selection(), (TGridRect{3, 5, 4, 6}));
    grid->SetSelection({5, 10, 8, 15});
    EXPECT_EQ(grid->Selection(), (TGridRect{5, 10, 8, 15}));
    grid->SetRowCount(8);
    EXPECT_EQ(grid->Row(), 7);
    EXPECT_TRUE(grid->Selection().contains(grid->Col(), grid->Row()));
    EXPECT_LE(grid->Selection().Bottom, 7);
    grid->SetSelection({2, 2, 8, 5});
    grid->SetColCount(7);
    EXPECT_LE(grid->Selection().Right, 6);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, centreOfCell(*grid, 2, 3));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, centreOfCell(*grid, 0, 5));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, centreOfCell(*grid, 4, 0));
    grid->refuseSelection = true;
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, centreOfCell(*grid, 4, 4));
    EXPECT_EQ(grid->Selection(), (TGridRect{2, 3, 2, 3}));
}

TEST(GridSelection, WithoutRangeSelectADragKeepsOneCell)
{
    auto grid = shownGrid();
    grid->SetOptions(grid->Options() & ~goRangeSelect);
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, centreOfCell(*grid, 1, 1));
    QTest::mouseMove(grid->viewport(), centreOfCell(*grid, 3, 3));
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, centreOfCell(*grid, 3, 3));
    EXPECT_EQ(grid->Selection(), (TGridRect{1, 1, 1, 1}));
}

TEST(GridKeys, ArrowsMoveTheCurrentCellShiftExtendsAHandlerCanSwallowAKeyAndMovingOnScrolls)
{
    auto grid = shownGrid();
    grid->setFocus();
    QTest::keyClick(grid.get(), Qt::Key_Right);
    QTest::keyClick(grid.get(), Qt::Key_Down);
    EXPECT_EQ(grid->Selection(), (TGridRect{2, 2, 2, 2}));
    QTest::keyClick(grid.get(), Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(grid.get(), Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(grid->Selection(), (TGridRect{2, 2, 3, 3}));
    QTest::keyClick(grid.get(), Qt::Key_Up);
    QTest::keyClick(grid.get(), Qt::Key_Up);
    QTest::keyClick(grid.get(), Qt::Key_Up);
    EXPECT_EQ(grid->Row(), 1);
    std::vector<int> seen;
    grid->OnKeyDown = [&](TmyCustomGrid &, int &key, Qt::KeyboardModifiers) {
        seen.push_back(key);
        key = 0;
    };
    QTest::keyClick(grid.get(), Qt::Key_Down);
    EXPECT_EQ(seen, std::vector<int>{int(Qt::Key_Down)});
    EXPECT_EQ(grid->Row(), 1);
    grid->OnKeyDown = nullptr;
    const int visible = grid->VisibleRowCount();
    for (int i = 0; i < visible + 2; ++i)
        QTest::keyClick(grid.get(), Qt::Key_Down);
    EXPECT_GT(grid->TopRow(), 1);
    const QRect current = grid->CellRect(grid->Col(), grid->Row());
    EXPECT_LE(current.bottom(), grid->ClientHeight());
    EXPECT_GT(current.height(), 0);
}

TEST(GridKeys, TheGridTakesKeysItDoesNotUse)
{
    // A window that reacts to keys no control took must not see the grid's.
    class KeyWatcher : public QWidget {
    public:
        int keys = 0;

    protected:
        void keyPressEvent(QKeyEvent *) override { ++keys; }
    } window;
    auto *grid = new TmyCustomGrid(&window);
    window.resize(400, 300);
    grid->resize(400, 300);
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    grid->setFocus();
    std::vector<QChar> typed;
    grid->OnKeyPress = [&](TmyCustomGrid &, QChar &key) { typed.push_back(key); };
    QTest::keyClick(grid, Qt::Key_A);
    QTest::keyClick(grid, Qt::Key_F4);
    EXPECT_EQ(window.keys, 0);
    EXPECT_EQ(typed, std::vector<QChar>{QLatin1Char('a')});
}

TEST(GridSizing, DraggingAHeaderBorderResizesTheColumn)
{
    auto grid = shownGrid();
    grid->SetOptions(grid->Options() | goColSizing);
    const QRect header = grid->CellRect(2, 0);
    const QPoint border(header.left() + header.width(), header.center().y());
    QTest::mouseMove(grid->viewport(), border);
    EXPECT_EQ(grid->viewport()->cursor().shape(), Qt::SplitHCursor);
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, border);
    QTest::mouseMove(grid->viewport(), border + QPoint(30, 0));
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, border + QPoint(30, 0));
    EXPECT_EQ(grid->ColWidths(2), 94);
    EXPECT_GE(grid->colWidthChanges, 1);
    EXPECT_EQ(grid->Selection(), (TGridRect{1, 1, 1, 1}));
}

TEST(GridSizing, BordersOfDataCellsDoNotSize)
{
    auto grid = shownGrid();
    grid->SetOptions(grid->Options() | goColSizing | goRowSizing);
    const QRect cell = grid->CellRect(2, 3);
    const QPoint border(cell.left() + cell.width(), cell.center().y());
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, border);
    QTest::mouseMove(grid->viewport(), border + QPoint(30, 0));
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, border + QPoint(30, 0));
    EXPECT_EQ(grid->ColWidths(2), 64);
}

TEST(GridPainting, EveryVisibleCellIsDrawnWithItsState)
{
    auto grid = shownGrid(4, 4);
    grid->SetSelection({1, 1, 2, 2});
    grid->drawn.clear();
    grid->viewport()->grab();
    EXPECT_EQ(grid->drawn.size(), 16u);
    EXPECT_EQ(grid->stateOf(0, 2), unsigned(gdFixed));
    EXPECT_EQ(grid->stateOf(2, 0), unsigned(gdFixed));
    EXPECT_TRUE(grid->stateOf(2, 2) & gdSelected);
    EXPECT_EQ(grid->stateOf(3, 3), 0u);
}

TEST(GridPainting, FocusedCellIsDrawnSelectedOnlyWhenAsked)
{
    auto grid = shownGrid(4, 4);
    grid->setFocus();
    ASSERT_TRUE(grid->hasFocus());
    grid->drawn.clear();
    grid->viewport()->grab();
    EXPECT_EQ(grid->stateOf(1, 1), unsigned(gdFocused));
    grid->SetOptions(grid->Options() | goDrawFocusSelected);
    grid->viewport()->grab();
    EXPECT_EQ(grid->stateOf(1, 1), unsigned(gdFocused | gdSelected));
}

TEST(GridFocus, EnterAndExitAreReported)
{
    auto grid = shownGrid();
    QWidget other(grid.get());
    other.setFocusPolicy(Qt::StrongFocus);
    other.show();
    other.setFocus();
    int entered = 0;
    int left = 0;
    grid->OnEnter = [&](TmyCustomGrid &) { ++entered; };
    grid->OnExit = [&](TmyCustomGrid &) { ++left; };
    grid->setFocus();
    other.setFocus();
    EXPECT_EQ(entered, 1);
    EXPECT_EQ(left, 1);
}
