#include "platform/widgets/DBCGrids.h"

#include "platform/widgets/DBCtrls.h"

#include "DataControlsTestSupport.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QScrollBar>

#include <gtest/gtest.h>

namespace {

// A one-record panel with the room's code and capacity on it.
class PanelOnRooms : public ::testing::Test {
protected:
    void SetUp() override
    {
        grid.SetPanelWidth(322);
        grid.SetPanelHeight(88);
        code = new TDBEdit(grid.Panel());
        code->setGeometry(8, 8, 200, 24);
        code->SetDataSource(&rooms.source);
        code->SetDataField("terem_kod");
        capacity = new TDBEdit(grid.Panel());
        capacity->setGeometry(8, 40, 80, 24);
        capacity->SetDataSource(&rooms.source);
        capacity->SetDataField("terem_kapacitas");
        grid.SetDataSource(&rooms.source);
        grid.resize(grid.sizeHint());
        showActive(grid);
    }

    RoomTable rooms{4};
    TDBCtrlGrid grid;
    TDBEdit *code = nullptr;
    TDBEdit *capacity = nullptr;
};

} // namespace

TEST_F(PanelOnRooms, ThePanelHasTheGivenSizeAndTheScrollBarBesideIt)
{
    EXPECT_EQ(grid.Panel()->size(), QSize(322, 88));
    EXPECT_GE(grid.viewport()->width(), 322);
    EXPECT_TRUE(grid.verticalScrollBar()->isVisible());
    EXPECT_TRUE(grid.grab().save(QApplication::applicationDirPath() + "/dbctrlgrid.png"));
}

TEST(PanelInALayout, ANarrowWindowDoesNotSqueezeThePanel)
{
    QWidget window;
    auto *grid = new TDBCtrlGrid;
    grid->SetPanelWidth(322);
    grid->SetPanelHeight(88);
    auto *layout = new QHBoxLayout(&window);
    layout->addWidget(new QLineEdit);
    layout->addWidget(grid);
    window.resize(200, 120);
    showActive(window);
    EXPECT_GE(grid->viewport()->width(), 322);
    EXPECT_GE(grid->viewport()->height(), 88);
}

TEST_F(PanelOnRooms, TheScrollBarMovesThroughTheRecords)
{
    EXPECT_EQ(code->text(), QStringLiteral("Főépület 1"));
    QScrollBar *bar = grid.verticalScrollBar();
    EXPECT_EQ(bar->maximum(), 3);
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(rooms.currentId(), 2);
    EXPECT_EQ(code->text(), QStringLiteral("Főépület 2"));
    EXPECT_EQ(capacity->text(), QStringLiteral("20"));
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(capacity->text(), QStringLiteral("40"));
}

TEST_F(PanelOnRooms, TheScrollBarFollowsTheDataset)
{
    rooms.table.Last();
    EXPECT_EQ(grid.verticalScrollBar()->value(), 3);
    rooms.table.Prior();
    EXPECT_EQ(grid.verticalScrollBar()->value(), 2);
    EXPECT_EQ(code->text(), QStringLiteral("Főépület 3"));
}

TEST_F(PanelOnRooms, UpAndDownInAnEditOfThePanelMoveTheRecord)
{
    capacity->setFocus();
    QTest::keyClick(capacity, Qt::Key_Down);
    QTest::keyClick(capacity, Qt::Key_Down);
    EXPECT_EQ(rooms.currentId(), 3);
    QTest::keyClick(capacity, Qt::Key_Up);
    EXPECT_EQ(rooms.currentId(), 2);
    EXPECT_EQ(capacity->text(), QStringLiteral("20"));
}

TEST_F(PanelOnRooms, ThePanelIsDisabledWithoutARecord)
{
    EXPECT_TRUE(grid.Panel()->isEnabled());
    rooms.table.Close();
    EXPECT_FALSE(grid.Panel()->isEnabled());
    EXPECT_EQ(grid.verticalScrollBar()->maximum(), 0);
    rooms.table.Open();
    while (!rooms.table.IsEmpty())
        rooms.table.Delete();
    EXPECT_FALSE(grid.Panel()->isEnabled());
}

TEST_F(PanelOnRooms, ThePanelComesBackEnabledWithItsRecordWhenTheTableReopensOrFillsAgain)
{
    rooms.table.Last();
    rooms.table.Close();
    rooms.table.Open();
    EXPECT_TRUE(grid.Panel()->isEnabled());
    EXPECT_TRUE(code->isEnabled());
    EXPECT_EQ(code->text(), QStringLiteral("Főépület 1"));
    EXPECT_EQ(grid.verticalScrollBar()->maximum(), 3);

    rooms.table.DisableControls();
    while (!rooms.table.IsEmpty())
        rooms.table.Delete();
    rooms.table.EnableControls();
    EXPECT_FALSE(capacity->isEnabled());
    EXPECT_EQ(capacity->text(), QString());
    rooms.table.AppendRecord({7, utf8ToCp1250("Új épület"), 70});
    EXPECT_TRUE(grid.Panel()->isEnabled());
    EXPECT_TRUE(capacity->isEnabled());
    EXPECT_EQ(code->text(), QStringLiteral("Új épület"));
    EXPECT_EQ(capacity->text(), QStringLiteral("70"));
    EXPECT_EQ(grid.verticalScrollBar()->maximum(), 0);
}
