// RatioReporter: collects CPU time per iteration (the median when repeated) and prints the
// update / floor ratios once every benchmark has run.
#include "bench/ratio_reporter.h"

#include <cstdio>
#include <ostream>
#include <utility>

namespace vorel {

namespace {

// update name, floor name; in registration order so the table follows the run.
std::vector<std::pair<std::string, std::string>>& floorPairs() {
    static std::vector<std::pair<std::string, std::string>> pairs;
    return pairs;
}

// The run that stands for its benchmark: the median of repetitions, or the single run.
bool isRepresentative(const benchmark::BenchmarkReporter::Run& run) {
    if (run.error_occurred) return false;
    if (run.run_type == benchmark::BenchmarkReporter::Run::RT_Aggregate) {
        return run.aggregate_name == "median";
    }
    return run.repetitions <= 1;
}

std::string formatLine(const std::string& name, double update, double floor) {
    char line[256];
    std::snprintf(line, sizeof line, "%-58s %7.2fx   (update %.3g us, floor %.3g us)\n",
                  name.c_str(), update / floor, update * 1e6, floor * 1e6);
    return line;
}

}  // namespace

void compareWithFloor(const std::string& update, const std::string& floor) {
    floorPairs().emplace_back(update, floor);
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
    std::string table;
    for (const auto& [update, floor] : floorPairs()) {
        const auto updateTime = secondsPerIteration.find(update);
        const auto floorTime = secondsPerIteration.find(floor);
        if (updateTime == secondsPerIteration.end() || floorTime == secondsPerIteration.end()) {
            continue;
        }
        table += formatLine(update, updateTime->second, floorTime->second);
    }
    if (table.empty()) return;
    GetOutputStream() << "\nupdate / floor, CPU time per iteration"
                      << " (medians when repeated):\n"
                      << table;
}

}  // namespace vorel
