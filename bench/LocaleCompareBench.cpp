// Cost of the locale-aware comparison in the memory table's sort and search loops, against the
// plain byte comparison it replaces when a field ignores the locale.

#include "RatioReporter.h"
#include "platform/Cp1250.h"
#include "platform/LocaleCompare.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr LCID hungarian = 0x040E;
constexpr int comparisonsPerIteration = 1'000'000;

// Short texts of the kind the timetable tables hold: names, titles, codes.
const std::vector<std::string> &words()
{
    static const std::vector<std::string> texts = [] {
        std::vector<std::string> result;
        for (const char *word :
             {"Analízis I.", "analízis II.", "Csiga Csaba",  "cukor",         "dzsungel",   "Dzsida Ödön",
              "Ékes Éva",    "ének",         "Fizika",       "fizikai kémia", "Gyöngyösi",  "győr",
              "Hálózatok",   "informatika",  "Jogi alapok",  "Kovács Péter",  "Kovács Pál", "lo",
              "ló",          "lő",           "Magyar nyelv", "Nyíri",         "Őri Ödön",   "öt",
              "Programozás", "Szabó Zsófia", "szerda",       "Tóth Tünde",    "Üveges",     "Űrkutatás",
              "Zsámbéki",    "zsemle",       "A-001",        "A-002",         "B-101",      "MSB293-1",
              "MSB293-2"})
            result.push_back(utf8ToCp1250(word));
        return result;
    }();
    return texts;
}

template <typename Compare> void compareAll(benchmark::State &state, Compare compare)
{
    const std::vector<std::string> &texts = words();
    const std::size_t count = texts.size();
    for (auto _ : state) {
        int sum = 0;
        for (int i = 0; i < comparisonsPerIteration; ++i) {
            const std::size_t a = static_cast<std::size_t>(i) % count;
            const std::size_t b = (static_cast<std::size_t>(i) * 7 + 3) % count;
            sum += compare(texts[a], texts[b]);
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * comparisonsPerIteration);
}

void HungarianCompareStringA(benchmark::State &state)
{
    compareAll(state,
               [](const std::string &a, const std::string &b) { return CompareStringA(hungarian, 0, a, b); });
}
BENCHMARK(HungarianCompareStringA)->Unit(benchmark::kMillisecond);

void HungarianCompareStringAIgnoreCase(benchmark::State &state)
{
    compareAll(state, [](const std::string &a, const std::string &b) {
        return CompareStringA(hungarian, NORM_IGNORECASE, a, b);
    });
}
BENCHMARK(HungarianCompareStringAIgnoreCase)->Unit(benchmark::kMillisecond);

void Strcmp(benchmark::State &state)
{
    compareAll(state,
               [](const std::string &a, const std::string &b) { return std::strcmp(a.c_str(), b.c_str()); });
}
BENCHMARK(Strcmp)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return runBenchmarks(argc, argv, [](const RatioReporter &reporter) {
        reporter.printRatio("HungarianCompareStringA", "Strcmp");
        reporter.printRatio("HungarianCompareStringAIgnoreCase", "Strcmp");
    });
}
