// RatioReporter: the console table, followed by each update benchmark's time divided by its
// floor's, and any other declared pair's, from the same run. With repetitions, medians are
// compared.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace vorel {

// Declares that the benchmark named `update` is to be divided by the one named `floor`.
void compareWithFloor(const std::string& update, const std::string& floor);
// Declares that `numerator` is to be divided by `denominator` in the table titled `table`.
void compareTimes(const std::string& table, const std::string& numerator,
                  const std::string& denominator);

class RatioReporter : public benchmark::ConsoleReporter {
  public:
    RatioReporter();
    void ReportRuns(const std::vector<Run>& runs) override;
    void Finalize() override;

  private:
    // CPU seconds per iteration of each benchmark run so far, by name.
    std::map<std::string, double> secondsPerIteration;
};

}  // namespace vorel
