// Runs the memory table benchmarks and prints what they are judged by: the time of one record
// comparison, and the engine's times against SQLite's for the same work.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

// Console output as usual, with the times kept for the summary at the end.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred)
                seconds_[run.benchmark_name()] = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void printPerItem(const std::string &name, double items, const char *what) const
    {
        const auto found = seconds_.find(name);
        if (found != seconds_.end())
            std::printf("%s: %.1f ns per %s\n", name.c_str(), found->second / items * 1e9, what);
    }

    void printRatio(const std::string &name, const std::string &baseline) const
    {
        const auto measured = seconds_.find(name);
        const auto base = seconds_.find(baseline);
        if (measured != seconds_.end() && base != seconds_.end() && base->second > 0)
            std::printf("%s / %s: %.2fx\n", name.c_str(), baseline.c_str(), measured->second / base->second);
    }

private:
    std::map<std::string, double> seconds_;
};

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printPerItem("CompareRecordsInteger", 1e6, "comparison");
    reporter.printPerItem("CompareRecordsText", 1e6, "comparison");
    reporter.printPerItem("CompareRecordsTextIgnoringLocale", 1e6, "comparison");
    reporter.printRatio("AppendWithThreeIndexes", "AppendWithThreeIndexesSqlite");
    reporter.printRatio("EditIndexedField", "EditIndexedFieldSqlite");
    reporter.printRatio("BuildIndex", "BuildIndexSqlite");
    reporter.printRatio("LocateIndexedKey", "LocateIndexedKeySqlite");
    reporter.printRatio("FilteredWalk", "FilteredWalkSqlite");
    reporter.printRatio("FilteredWalkLike", "FilteredWalkLikeSqlite");
    benchmark::Shutdown();
    return 0;
}
