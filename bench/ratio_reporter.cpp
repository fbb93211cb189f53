// RatioReporter: collects CPU time per iteration (the median when repeated) and prints the
// declared ratios, table by table, once every benchmark has run.
#include "bench/ratio_reporter.h"

#include <algorithm>
#include <cstdio>
#include <ostream>
#include <utility>

namespace vorel {

namespace {

constexpr const char* FloorTable = "update / floor";

// One table's numerator and denominator names, in registration order so the table follows
// the run; the tables in the order of their first pair.
struct RatioTable {
    std::string title;
    std::vector<std::pair<std::string, std::string>> pairs;
};

std::vector<RatioTable>& ratioTables() {
    static std::vector<RatioTable> tables;
    return tables;
}

// The run that stands for its benchmark: the median of repetitions, or the single run.
bool isRepresentative(const benchmark::BenchmarkReporter::Run& run) {
    if (run.error_occurred) return false;
    if (run.run_type == benchmark::BenchmarkReporter::Run::RT_Aggregate) {
        return run.aggregate_name == "median";
    }
    return run.repetitions <= 1;
}

std::string formatLine(const std::string& name, double numerator, double denominator) {
    char line[256];
    std::snprintf(line, sizeof line, "%-58s %7.2fx   (%.3g us / %.3g us)\n", name.c_str(),
                  numerator / denominator, numerator * 1e6, denominator * 1e6);
    return line;
}

}  // namespace

void compareWithFloor(const std::string& update, const std::string& floor) {
    compareTimes(FloorTable, update, floor);
}

void compareTimes(const std::string& table, const std::string& numerator,
                  const std::string& denominator) {
    std::vector<RatioTable>& tables = ratioTables();
    auto found = std::find_if(tables.begin(), tables.end(),
                              [&table](const RatioTable& t) { return t.title == table; });
    if (found == tables.end()) found = tables.insert(tables.end(), RatioTable{table, {}});
    found->pairs.emplace_back(numerator, denominator);
}

// Counters as columns: the per-vertex and per-pair costs line up under each other.
RatioReporter::RatioReporter() : ConsoleReporter(OO_Tabular) {}

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        if (!isRepresentative(run)) continue;
        secondsPerIteration[run.run_name.function_name] =
            run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
    }
}

void RatioReporter::Finalize() {
    for (const RatioTable& ratios : ratioTables()) {
        std::string table;
        for (const auto& [numerator, denominator] : ratios.pairs) {
            const auto above = secondsPerIteration.find(numerator);
            const auto below = secondsPerIteration.find(denominator);
            if (above == secondsPerIteration.end() || below == secondsPerIteration.end()) continue;
            table += formatLine(numerator, above->second, below->second);
        }
        if (table.empty()) continue;
        GetOutputStream() << "\n"
                          << ratios.title << ", CPU time per iteration"
                          << " (medians when repeated):\n"
                          << table;
    }
}

}  // namespace vorel
