#pragma once

// Console output as Google Benchmark prints it, with each benchmark's time kept so that the
// ratios against its peers can be printed at the end of the run.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        // With repetitions (a busy machine) the median stands for the benchmark.
        for (const Run &run : runs) {
            if (run.error_occurred)
                continue;
            const double seconds = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            if (run.run_type == Run::RT_Iteration)
                seconds_[run.benchmark_name()] = seconds;
            else if (run.aggregate_name == "median")
                seconds_[run.run_name.str()] = seconds;
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void printRatio(const std::string &name, const std::string &baseline) const
    {
        const auto measured = seconds_.find(name);
        const auto base = seconds_.find(baseline);
        if (measured != seconds_.end() && base != seconds_.end() && base->second > 0)
            std::printf("%s / %s: %.2fx\n", name.c_str(), baseline.c_str(), measured->second / base->second);
    }

    void printPerItem(const std::string &name, double items, const char *what) const
    {
        const auto found = seconds_.find(name);
        if (found != seconds_.end())
            std::printf("%s: %.1f ns per %s\n", name.c_str(), found->second / items * 1e9, what);
    }

private:
    std::map<std::string, double> seconds_;
};

// Runs the benchmarks the command line names, then `summary` prints what they are judged by.
template <class Summary>
int runBenchmarks(int argc, char **argv, Summary summary)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    summary(reporter);
    benchmark::Shutdown();
    return 0;
}
