// Runs the memory table benchmarks and prints what they are judged by: the time of one record
// comparison, and the engine's times against SQLite's for the same work.

#include "RatioReporter.h"

#include <benchmark/benchmark.h>

int main(int argc, char **argv)
{
    return runBenchmarks(argc, argv, [](const RatioReporter &reporter) {
        reporter.printPerItem("CompareRecordsInteger", 1e6, "comparison");
        reporter.printPerItem("CompareRecordsText", 1e6, "comparison");
        reporter.printPerItem("CompareRecordsTextIgnoringLocale", 1e6, "comparison");
        reporter.printRatio("AppendWithThreeIndexes", "AppendWithThreeIndexesSqlite");
        reporter.printRatio("EditIndexedField", "EditIndexedFieldSqlite");
        reporter.printRatio("BuildIndex", "BuildIndexSqlite");
        reporter.printRatio("LocateIndexedKey", "LocateIndexedKeySqlite/Key");
        reporter.printRatio("LocateIndexedKey", "LocateIndexedKeySqlite/Row");
        reporter.printRatio("FilteredWalk/Scan", "FilteredWalkSqlite/Scan");
        reporter.printRatio("FilteredWalk/Indexed", "FilteredWalkSqlite/Indexed");
        reporter.printRatio("FilteredWalkLike", "FilteredWalkLikeSqlite");
    });
}
