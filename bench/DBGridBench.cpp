// A data grid over a 300,000-record memory table: showing it, stepping one record with a repaint
// and following a change of the whole table, against the usual Qt way of a table view over a
// model that copies the records' texts.

#include "RatioReporter.h"
#include "memtable/ztrMemTable.h"
#include "platform/Cp1250.h"
#include "platform/widgets/DBGrids.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QTableView>

#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int RecordCount = 300'000;
const QSize WindowSize(640, 480);

TztrMemTable &rooms()
{
    static TztrMemTable *table = [] {
        auto *made = new TztrMemTable;
        made->FieldDefs().Add("terem_id", ftInteger);
        made->FieldDefs().Add("terem_kod", ftString, 40);
        made->FieldDefs().Add("terem_kapacitas", ftInteger);
        made->Open();
        made->DisableControls();
        for (int i = 1; i <= RecordCount; ++i) {
            made->Append();
            made->FieldByName("terem_id")->SetAsInteger(i);
            made->FieldByName("terem_kod")->SetAsString(utf8ToCp1250("Főépület " + std::to_string(i)));
            made->FieldByName("terem_kapacitas")->SetAsInteger(i % 300);
            made->Post();
        }
        made->EnableControls();
        made->First();
        return made;
    }();
    return *table;
}

// The peer: every record's texts read once into the model.
class CopyingModel : public QAbstractTableModel {
public:
    explicit CopyingModel(TDataSet &dataSet)
    {
        dataSet.First();
        while (!dataSet.Eof()) {
            std::array<QString, 3> row;
            for (int i = 0; i < 3; ++i)
                row[static_cast<std::size_t>(i)] = fieldTextToQString(dataSet.Fields()[i]->DisplayText());
            rows_.push_back(std::move(row));
            dataSet.Next();
        }
        dataSet.First();
    }
    int rowCount(const QModelIndex &) const override { return static_cast<int>(rows_.size()); }
    int columnCount(const QModelIndex &) const override { return 3; }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role != Qt::DisplayRole)
            return {};
        return rows_[static_cast<std::size_t>(index.row())][static_cast<std::size_t>(index.column())];
    }

private:
    std::vector<std::array<QString, 3>> rows_;

public:
    // The texts of the first rows are told to be others, as a refill would.
    void changeRows(int rows) { emit dataChanged(index(0, 0), index(rows - 1, 2)); }
};

void paint(QWidget &widget)
{
    QImage image(widget.size(), QImage::Format_ARGB32_Premultiplied);
    widget.render(&image);
    benchmark::DoNotOptimize(image.constBits());
}

void GridShow(benchmark::State &state)
{
    TDataSource source(&rooms());
    TDBGrid grid;
    grid.resize(WindowSize);
    for (auto _ : state) {
        grid.SetDataSource(&source);
        paint(grid);
        grid.SetDataSource(nullptr);
    }
}
BENCHMARK(GridShow)->Unit(benchmark::kMillisecond);

void CopyingTableViewShow(benchmark::State &state)
{
    QTableView view;
    view.resize(WindowSize);
    for (auto _ : state) {
        auto model = std::make_unique<CopyingModel>(rooms());
        view.setModel(model.get());
        paint(view);
        view.setModel(nullptr);
    }
}
BENCHMARK(CopyingTableViewShow)->Unit(benchmark::kMillisecond);

// A grid on the table from its first record, window sized.
struct GridOnRooms {
    GridOnRooms()
    {
        grid.resize(WindowSize);
        grid.SetDataSource(&source);
        rooms().First();
    }
    ~GridOnRooms() { grid.SetDataSource(nullptr); }

    TDataSource source{&rooms()};
    TDBGrid grid;
};

// The peer's view over its copy of the table, window sized.
struct CopyingViewOnRooms {
    CopyingViewOnRooms()
    {
        view.resize(WindowSize);
        view.setModel(&model);
    }

    CopyingModel model{rooms()};
    QTableView view;
};

void GridStep(benchmark::State &state)
{
    GridOnRooms on;
    for (auto _ : state) {
        rooms().Next();
        if (rooms().Eof())
            rooms().First();
        paint(on.grid);
    }
}
BENCHMARK(GridStep)->Unit(benchmark::kMicrosecond);

void CopyingTableViewStep(benchmark::State &state)
{
    CopyingViewOnRooms on;
    int row = 0;
    for (auto _ : state) {
        row = (row + 1) % RecordCount;
        on.view.setCurrentIndex(on.model.index(row, 0));
        paint(on.view);
    }
}
BENCHMARK(CopyingTableViewStep)->Unit(benchmark::kMicrosecond);

// The table changed as a whole (refilled, filtered): the grid reads its rows and sizes its
// columns to them again, as a view whose columns fit their contents does.
void GridDataChange(benchmark::State &state)
{
    GridOnRooms on;
    on.grid.show();
    for (auto _ : state) {
        rooms().DisableControls();
        rooms().EnableControls();
        benchmark::DoNotOptimize(on.grid.WidthForAllColumns());
    }
}
BENCHMARK(GridDataChange)->Unit(benchmark::kMicrosecond);

void CopyingTableViewDataChange(benchmark::State &state)
{
    CopyingViewOnRooms on;
    // Only the rows in view count, as in the grid; a hidden view would size its columns to every row.
    on.view.horizontalHeader()->setResizeContentsPrecision(0);
    on.view.show();
    const int rowsInView = on.view.rowAt(on.view.viewport()->height() - 1) + 1;
    for (auto _ : state) {
        on.model.changeRows(rowsInView);
        on.view.resizeColumnsToContents();
    }
}
BENCHMARK(CopyingTableViewDataChange)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    return runBenchmarks(argc, argv, [](const RatioReporter &reporter) {
        reporter.printRatio("GridShow", "CopyingTableViewShow");
        reporter.printRatio("GridStep", "CopyingTableViewStep");
        reporter.printRatio("GridDataChange", "CopyingTableViewDataChange");
    });
}
