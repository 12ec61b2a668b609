// Cost of one record comparison, the step every sort and search of the memory table repeats.

#include "memtable/ztrMemTable.h"
#include "platform/Cp1250.h"
#include "platform/DB.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

constexpr int comparisonsPerIteration = 1'000'000;
constexpr int recordCount = 1000;

// A Hungarian people table of recordCount records with integer and text keys.
class ComparedTable {
public:
    ComparedTable()
    {
        table_.FieldDefs().Add("id", ftInteger);
        table_.FieldDefs().Add("nev", ftString, 40);
        table_.SetLocaleID(0x040E);
        table_.Open();
        const char *first[] = {"Kovács", "Szabó", "Tóth", "Nagy", "Horváth", "Kiss", "Molnár", "Németh", "Farkas",
                               "Balogh", "Csizmadia", "Dzsida", "Őri", "Ürge"};
        const char *given[] = {"Péter", "Éva", "Zsófia", "Ödön", "Csaba", "Ágnes", "László", "Tünde", "Gyula"};
        for (int i = 0; i < recordCount; ++i) {
            table_.Append();
            table_.FieldByName("id")->SetAsInteger((i * 7919) % recordCount);
            table_.FieldByName("nev")->SetAsString(utf8ToCp1250(std::string(first[i % 14]) + " " + given[i % 9]));
            table_.Post();
        }
    }

    void compare(benchmark::State &state, const std::string &fields)
    {
        TztrFieldList list;
        BuildFieldList(table_, list, fields);
        // Taken out of the index first, so that only the comparison is measured.
        std::vector<const TztrRecord *> records;
        TztrIndex *rows = table_.Indexes().RowOrderIndex();
        for (int i = 0; i < rows->Count(); ++i)
            records.push_back(rows->Entry(i));
        for (auto _ : state) {
            int sum = 0;
            for (int i = 0; i < comparisonsPerIteration; ++i) {
                const TztrRecord *a = records[static_cast<std::size_t>(i % recordCount)];
                const TztrRecord *b = records[static_cast<std::size_t>((i * 31 + 17) % recordCount)];
                sum += CompareRecords(table_, a, b, list, 0, false, false, 0);
            }
            benchmark::DoNotOptimize(sum);
        }
        state.SetItemsProcessed(state.iterations() * comparisonsPerIteration);
    }

private:
    TztrMemTable table_;
};

ComparedTable &comparedTable()
{
    static ComparedTable table;
    return table;
}

void CompareRecordsInteger(benchmark::State &state)
{
    comparedTable().compare(state, "id");
}
BENCHMARK(CompareRecordsInteger)->Unit(benchmark::kMillisecond);

void CompareRecordsText(benchmark::State &state)
{
    comparedTable().compare(state, "nev");
}
BENCHMARK(CompareRecordsText)->Unit(benchmark::kMillisecond);

void CompareRecordsTextIgnoringLocale(benchmark::State &state)
{
    comparedTable().compare(state, "nev:L");
}
BENCHMARK(CompareRecordsTextIgnoringLocale)->Unit(benchmark::kMillisecond);

} // namespace
