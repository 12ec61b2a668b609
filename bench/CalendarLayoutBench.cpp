// 2,000 items over 105 day columns: filling the calendar item by item against one update
// bracket, a resize that moves every box, the full re-layout of a scroll against the range pass
// alone that it starts with, and one item moved between days. Then a timetable's week painted
// again and painted with captions never drawn before.

#include "RatioReporter.h"
#include "calendar/CalendarFitting.h"
#include "calendar/veltoCalendar.h"

#include <QApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <random>

namespace {

constexpr int ItemCount = 2000;
const int PeriodStarts[] = {465, 570, 675, 780, 885, 990, 1095};

// Fifteen weeks of every day, double-period rows, fitted to a planner's window.
std::unique_ptr<TveltoCalendar> emptyCalendar()
{
    auto calendar = std::make_unique<TveltoCalendar>();
    calendar->resize(1400, 820);
    calendar->SetHetek(15);
    calendar->SetScale(-1);
    for (int start : PeriodStarts)
        calendar->AddRow(start, 90, QStringLiteral("period"));
    calendar->AddRow(-1, 0, QString());
    calendar->SetColWidths(0, 100);
    int width = calendar->ClientWidth() - 100;
    for (int col = 1; col < calendar->ColCount(); ++col) {
        const int share = width / (calendar->ColCount() - col);
        calendar->SetColWidths(col, share);
        width -= share;
    }
    calendar->show();
    return calendar;
}

void addItems(TveltoCalendar &calendar)
{
    std::mt19937 random(20250908);
    std::uniform_int_distribution<int> day(2, 106);
    std::uniform_int_distribution<int> period(0, 6);
    std::uniform_int_distribution<int> shift(0, 6);
    std::uniform_int_distribution<int> periods(1, 2);
    for (int i = 0; i < ItemCount; ++i) {
        TCustomCalendarItem *item = calendar.Items().Add();
        const int start = PeriodStarts[period(random)] + 5 * shift(random);
        item->SetStart(day(random) + start / 1440.0);
        item->SetLength(90 * periods(random));
        item->SetSubject(QStringLiteral("Kurzus %1").arg(i));
    }
}

// Fifteen weeks of every day, double-period rows, fitted to a planner's window.
std::unique_ptr<TveltoCalendar> crowdedCalendar()
{
    auto calendar = emptyCalendar();
    calendar->Items().BeginUpdate();
    addItems(*calendar);
    calendar->Items().EndUpdate();
    return calendar;
}

// Filling the calendar item by item, as a view rebuild without an update bracket does.
void BM_FillOneByOne(benchmark::State &state)
{
    auto calendar = emptyCalendar();
    for (auto _ : state) {
        calendar->Items().Clear();
        addItems(*calendar);
    }
}
BENCHMARK(BM_FillOneByOne)->Unit(benchmark::kMillisecond);

void BM_FillBracketed(benchmark::State &state)
{
    auto calendar = emptyCalendar();
    for (auto _ : state) {
        calendar->Items().Clear();
        calendar->Items().BeginUpdate();
        addItems(*calendar);
        calendar->Items().EndUpdate();
    }
}
BENCHMARK(BM_FillBracketed)->Unit(benchmark::kMillisecond);

// A window resize fitted again: every box moves.
void BM_EveryBoxMoves(benchmark::State &state)
{
    auto calendar = crowdedCalendar();
    bool wide = false;
    for (auto _ : state) {
        wide = !wide;
        calendar->resize(wide ? 1600 : 1400, wide ? 900 : 820);
        FitCalendarCells(*calendar);
    }
}
BENCHMARK(BM_EveryBoxMoves)->Unit(benchmark::kMillisecond);

void BM_FullLayout(benchmark::State &state)
{
    auto calendar = crowdedCalendar();
    for (auto _ : state)
        calendar->LayoutItems(nullptr);
    state.SetItemsProcessed(state.iterations() * ItemCount);
}
BENCHMARK(BM_FullLayout)->Unit(benchmark::kMillisecond);

void BM_RangesOnly(benchmark::State &state)
{
    auto calendar = crowdedCalendar();
    for (auto _ : state)
        calendar->LayoutItems(nullptr, true);
    state.SetItemsProcessed(state.iterations() * ItemCount);
}
BENCHMARK(BM_RangesOnly)->Unit(benchmark::kMillisecond);

// A timetable's week as the main window shows it: Monday to Friday, 150 boxes in their lanes.
std::unique_ptr<TveltoCalendar> timetableWeek(int round = 0)
{
    auto calendar = std::make_unique<TveltoCalendar>();
    calendar->resize(1100, 760);
    calendar->SetDays({vlMonday, vlTuesday, vlWednesday, vlThursday, vlFriday});
    calendar->SetScale(-1);
    for (int start : PeriodStarts)
        calendar->AddRow(start, 90, QStringLiteral("period"));
    calendar->AddRow(-1, 0, QString());
    FitCalendarCells(*calendar);
    calendar->show();
    std::mt19937 random(20250909);
    std::uniform_int_distribution<int> day(2, 6);
    std::uniform_int_distribution<int> period(0, 6);
    calendar->Items().BeginUpdate();
    for (int i = 0; i < 150; ++i) {
        TCustomCalendarItem *item = calendar->Items().Add();
        item->SetStart(day(random) + PeriodStarts[period(random)] / 1440.0);
        item->SetLength(90);
        // Codes of one length, new in every round: the text wraps alike round after round.
        item->SetSubject(QStringLiteral("BMEVI%1%2; Tárgy %3 gyakorlat; QBF%4; Oktató Név %5")
                             .arg(round % 100000, 5, 10, QLatin1Char('0'))
                             .arg(i, 3, 10, QLatin1Char('0'))
                             .arg(i % 40)
                             .arg(i % 17)
                             .arg(i % 23));
    }
    calendar->Items().EndUpdate();
    return calendar;
}

void paint(TveltoCalendar &calendar, QImage &image)
{
    calendar.viewport()->render(&image);
    benchmark::DoNotOptimize(image.constBits());
}

// The same week painted again, as every repaint of a view shown before does.
void BM_PaintWeekAgain(benchmark::State &state)
{
    auto calendar = timetableWeek();
    QImage image(calendar->viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    paint(*calendar, image);
    for (auto _ : state)
        paint(*calendar, image);
}
BENCHMARK(BM_PaintWeekAgain)->Unit(benchmark::kMillisecond);

// A week of captions never drawn before, as a view shown the first time.
void BM_PaintWeekFirstTime(benchmark::State &state)
{
    QImage image(QSize(1100, 760), QImage::Format_ARGB32_Premultiplied);
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto calendar = timetableWeek(++round);
        state.ResumeTiming();
        paint(*calendar, image);
    }
}
BENCHMARK(BM_PaintWeekFirstTime)->Unit(benchmark::kMillisecond);

// One item moved back and forth between two days: what a drag's final apply costs.
void BM_OneItemMoved(benchmark::State &state)
{
    auto calendar = crowdedCalendar();
    TCustomCalendarItem *item = calendar->Items()[ItemCount / 2];
    const double start = item->Start();
    bool away = false;
    for (auto _ : state) {
        item->SetStart(away ? start : start + 1);
        away = !away;
    }
}
BENCHMARK(BM_OneItemMoved)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    return runBenchmarks(argc, argv, [](const RatioReporter &reporter) {
        reporter.printRatio("BM_FillOneByOne", "BM_FillBracketed");
    });
}
