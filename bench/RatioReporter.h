#pragma once

// Console output as Google Benchmark prints it, with each benchmark's time kept so that the
// ratios against its peers can be printed at the end of the run.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace benchmark::internal {
// The library's own reading of --benchmark_color and --benchmark_counters_tabular; exported by
// the library but left out of its header.
ConsoleReporter::OutputOptions GetOutputOptions(bool force_no_color);
} // namespace benchmark::internal

class RatioReporter : public benchmark::ConsoleReporter {
public:
    // Call after benchmark::Initialize, which reads the flags.
    RatioReporter() : ConsoleReporter(benchmark::internal::GetOutputOptions(false)) {}

    void ReportRuns(const std::vector<Run> &runs) override
    {
        // With repetitions (a busy machine) the median stands for the benchmark; it is reported
        // after the single runs and replaces them.
        for (const Run &run : runs) {
            if (run.error_occurred)
                continue;
            const double seconds = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median")
                seconds_[caseName(run)] = seconds;
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // Benchmarks are named by their case: the registered name and its arguments, whatever
    // minimum time, repetitions or iterations the run had.
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
    static std::string caseName(const Run &run)
    {
        const benchmark::BenchmarkName &name = run.run_name;
        return name.args.empty() ? name.function_name : name.function_name + "/" + name.args;
    }

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
