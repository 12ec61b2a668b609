// Every window of the program on a copy of the sample data, opened and used with clicks as a
// planner would, then checked for what the planner sees first: a grid on an open table with
// rows shows rows, and a panel of data controls on an open source is enabled. When
// BRELVIX_PICTURES_DIR names a folder, each window is also drawn there as a PNG file.

#include "SampleDataWindows.h"
#include "calendar/CalendarObj.h"
#include "calendar/CalendarTestSupport.h"
#include "calendar/veltoCalendar.h"
#include "platform/DataSource.h"
#include "platform/widgets/DBCGrids.h"
#include "platform/widgets/DBGrids.h"

#include <QAction>
#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace windowtest;

// A first use of a window: the first row of each list and of each grid holding rows is clicked,
// and the first item of each calendar, on every page of its tab pages.
void clickFirstRows(QWidget &window)
{
    // A click may rebuild the window's lists and grids; those gone since are passed over.
    const auto clickAll = [&] {
        for (QPointer<QTreeWidget> list : window.findChildren<QTreeWidget *>())
            if (list && list->isVisible() && list->topLevelItemCount() > 0)
                withModalsClosed([&] {
                    // Near the row's start: a row wider than its list has its middle out of sight.
                    const QRect row = list->visualItemRect(list->topLevelItem(0));
                    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(row.left() + 8, row.center().y()));
                });
        for (const QPointer<TDBGrid> &grid : childrenOf<TDBGrid>(window))
            if (grid && grid->isVisible() && grid->ShownRowCount() > 0)
                withModalsClosed(
                    [&] { QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->CellRect(0, 0).center()); });
        for (const QPointer<TveltoCalendar> &calendar : childrenOf<TveltoCalendar>(window))
            if (calendar && calendar->isVisible() && calendar->Items().Count() > 0)
                withModalsClosed([&] { calendartest::clickItem(*calendar, calendar->Items()[0]); });
    };
    clickAll();
    for (QTabWidget *pages : window.findChildren<QTabWidget *>()) {
        const int shown = pages->currentIndex();
        for (int page = 0; page < pages->count(); ++page) {
            if (page == shown || !pages->isTabVisible(page))
                continue;
            pages->setCurrentIndex(page);
            clickAll();
        }
        pages->setCurrentIndex(shown);
    }
}

bool openAndFilled(TDataSource *source)
{
    return source && source->DataSet() && source->DataSet()->Active() && !source->DataSet()->IsEmpty();
}

// What a planner would take for a dead window: a blank grid or a disabled panel on data.
void expectDataShown(QWidget &window, const std::string &name)
{
    for (TDBGrid *grid : childrenOf<TDBGrid>(window)) {
        if (!openAndFilled(grid->DataSource()))
            continue;
        EXPECT_GT(grid->ShownRowCount(), 0) << name << ": grid on " << grid->DataSet()->Name();
    }
    for (TDBCtrlGrid *panel : childrenOf<TDBCtrlGrid>(window)) {
        if (openAndFilled(panel->DataSource())) {
            EXPECT_TRUE(panel->Panel()->isEnabled()) << name << ": panel on " << panel->DataSource()->DataSet()->Name();
        }
    }
}

void savePicture(QWidget &window, const std::string &name)
{
    const char *folder = std::getenv("BRELVIX_PICTURES_DIR");
    if (!folder || !*folder)
        return;
    fs::create_directories(folder);
    const QString file = QString::fromStdString((fs::path(folder) / (name + ".png")).string());
    EXPECT_TRUE(window.grab().save(file)) << file.toStdString();
}

class Windows : public SampleDataWindows {
protected:
    // Shows the window as a planner opens it, uses it, checks it and draws it.
    static void look(QWidget &window, const std::string &name)
    {
        withModalsClosed([&] {
            window.show();
            QApplication::processEvents();
        });
        clickFirstRows(window);
        QApplication::processEvents();
        expectDataShown(window, name);
        savePicture(window, name);
        window.hide();
    }
};

TEST_F(Windows, MainWindowInEachWorkingMode)
{
    // At the size it opens with, as a planner on a common screen sees it.
    withModalsClosed([] {
        Form1->show();
        QApplication::processEvents();
    });
    const std::pair<QAction *, const char *> modes[] = {{Form1->UM_orarendek, "main-0-timetables"},
                                                        {Form1->UM_orarend, "main-1-one-timetable"},
                                                        {Form1->UM_terem, "main-2-rooms"},
                                                        {Form1->UM_oktato, "main-3-teachers"},
                                                        {Form1->UM_tantargy, "main-4-subjects"}};
    for (const auto &[action, name] : modes) {
        QAction *mode = action;
        withModalsClosed([mode] { mode->trigger(); });
        clickFirstRows(*Form1);
        QApplication::processEvents();
        expectDataShown(*Form1, name);
        savePicture(*Form1, name);
    }
    Form1->hide();
}

TEST_F(Windows, EveryDialogShowsItsData)
{
    const auto dialogs = everyDialog();
    for (const auto &[dialog, name] : dialogs) {
        ASSERT_NE(dialog, nullptr) << name;
        look(*dialog, name);
    }
}

} // namespace
