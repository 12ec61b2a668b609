// Resizing the main window by a few pixels, as a planner drags its edge, with the largest
// timetable of the whole-university data set in view, and with two and four times its items
// (every occasion drawn as many times over). The peer is the same window with an empty
// calendar: the boxes' share of a resize step is the difference, and it should grow with their
// number, not with its square.

#include "LargeDataSet.h"
#include "RatioReporter.h"
#include "app/ProgramForms.h"
#include "app/brelvix_pas.h"
#include "calendar/veltoCalendar.h"
#include "sajat/SajatVCI.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

using bench::environmentOn;
using bench::largeDataFolder;
using bench::largestTimetable;
using bench::settle;

// Released before the application object, which the windows need to the end.
std::unique_ptr<TProgramForms> theProgram;

// The program on the large data set with its main window shown, as a planner sees it.
TProgramForms &program()
{
    if (!theProgram) {
        theProgram = std::make_unique<TProgramForms>(environmentOn(largeDataFolder()));
        Form1->resize(1200, 900);
        Form1->show();
        QApplication::processEvents();
    }
    return *theProgram;
}

// The view the case resizes: the largest timetable times `copies`, or an empty calendar for 0.
void showItems(int copies)
{
    program();
    Form1->WorkMode = 0;
    Form1->TimetableId = Form1->SelectionId = copies > 0 ? largestTimetable() : -1;
    Form1->RefreshView();
    TCalendarItems &items = Form1->VL->Items();
    std::vector<TSajat *> shown;
    for (TCustomCalendarItem *item : items)
        shown.push_back(static_cast<TSajat *>(item));
    items.BeginUpdate();
    for (int copy = 1; copy < copies; ++copy) {
        for (TSajat *original : shown) {
            auto *twin = items.Add<TSajat>();
            original->AssignTo(*twin);
            twin->SetBGColor(original->BGColor());
            twin->SetSelBGColor(original->SelBGColor());
        }
    }
    items.EndUpdate();
    settle();
}

void MainWindowResize(benchmark::State &state)
{
    showItems(int(state.range(0)));
    const QSize size = Form1->size();
    int step = 0;
    for (auto _ : state) {
        // Wider and taller by turns, then back: every step moves and stretches every box.
        ++step;
        Form1->resize(size + QSize(step % 2 * 8, step % 2 * 6));
        settle();
    }
    state.counters["boxes"] = Form1->VL->Items().Count();
    Form1->resize(size);
    settle();
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // {copies of the largest timetable's items; 0 is the empty calendar}.
    benchmark::RegisterBenchmark("MainWindowResize", MainWindowResize)
        ->ArgName("copies")
        ->Arg(0)
        ->Arg(1)
        ->Arg(2)
        ->Arg(4)
        ->Unit(benchmark::kMillisecond);
    return runBenchmarks(argc, argv, [](const RatioReporter &reporter) {
        for (const char *copies : {"copies:1", "copies:2", "copies:4"})
            reporter.printRatio(std::string("MainWindowResize/") + copies, "MainWindowResize/copies:0");
        theProgram.reset();
    });
}
