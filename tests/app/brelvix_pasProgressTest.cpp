#include "app/ProgramForms.h"
#include "app/vonalzo.h"
#include "brelvix_pasFixture.h"

#include <QProgressBar>

#include <map>
#include <set>

namespace {

using namespace mainwindowtest;

// The values the bar showed each time it was drawn.
class DrawnValues : public QObject {
public:
    explicit DrawnValues(QProgressBar &bar) : bar_(bar) { bar.installEventFilter(this); }
    std::vector<int> values;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == &bar_ && event->type() == QEvent::Paint)
            values.push_back(bar_.value());
        return false;
    }

private:
    QProgressBar &bar_;
};

class RoomProgress : public MainWindow {
protected:
    RoomProgress() { keepSampleData = true; }
    void SetUp() override
    {
        MainWindow::SetUp();
        progress = std::make_unique<TVonal>(form.get());
        Vonal = progress.get();
        form->show();
    }
    void TearDown() override
    {
        Vonal = nullptr;
        progress.reset();
        MainWindow::TearDown();
    }

    // The sample room used by the most courses, and their number.
    static std::pair<int, int> busiestRoom()
    {
        TztrMemTable occasions;
        occasions.SetAttachedTo(&DM->MT_alkalom);
        occasions.Open();
        std::map<int, std::set<int>> coursesIn;
        for (occasions.First(); !occasions.Eof(); occasions.Next())
            coursesIn[occasions.FieldByName("terem_id")->AsInteger()].insert(
                occasions.FieldByName("kurzus_id")->AsInteger());
        std::pair<int, int> busiest{-1, 0};
        for (const auto &[room, courses] : coursesIn) {
            if (room > 0 && int(courses.size()) > busiest.second)
                busiest = {room, int(courses.size())};
        }
        return busiest;
    }

    std::unique_ptr<TVonal> progress;
};

TEST_F(RoomProgress, PickingARoomDrawsTheBarUpToTheRoomsLastCourse)
{
    const auto [room, courses] = busiestRoom();
    ASSERT_GT(courses, 3);
    form->UM_terem->trigger();
    QTreeWidgetItem *row = nullptr;
    for (int i = 0; i < form->LV_terem->topLevelItemCount() && !row; ++i) {
        if (form->LV_terem->topLevelItem(i)->text(1).toInt() == room)
            row = form->LV_terem->topLevelItem(i);
    }
    ASSERT_NE(row, nullptr);
    const DrawnValues drawn(*progress->ProgressBar1);

    clickRow(*form->LV_terem, row);

    ASSERT_EQ(form->LV->topLevelItemCount(), courses);
    EXPECT_EQ(progress->windowTitle(), QStringLiteral("Fress"));
    EXPECT_EQ(progress->ProgressBar1->maximum(), courses);
    // Drawn empty when the walk starts and full when its last course is reached.
    ASSERT_GE(drawn.values.size(), 2u);
    EXPECT_EQ(drawn.values.front(), 0);
    EXPECT_EQ(drawn.values.back(), courses);
    EXPECT_FALSE(progress->isVisible());
}

} // namespace
