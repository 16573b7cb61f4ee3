// The console report of a benchmark that has a yardstick: printed as usual, keeping each
// benchmark's median time (or its single run's), and then our speed relative to the
// yardstick's on one line each: its time / ours, above 1 when we are faster. RunWithRatios is
// the whole main of such a program.
#pragma once
#include <benchmark/benchmark.h>

#include <cstdio>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

namespace zx::bench {

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median") {
        times_[run.run_name.function_name] = run.GetAdjustedRealTime();
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }

  // "what   ratio  (goal g)" when both benchmarks ran; a ratio without a goal (0) is printed
  // for reference only.
  void PrintRatio(const char* what, const std::string& ours, const std::string& theirs, double goal) const {
    const auto a = times_.find(ours);
    const auto b = times_.find(theirs);
    if (a == times_.end() || b == times_.end() || a->second <= 0) return;
    if (goal > 0) {
      std::printf("%-44s %6.2f  (goal %.2f)\n", what, b->second / a->second, goal);
    } else {
      std::printf("%-44s %6.2f\n", what, b->second / a->second);
    }
  }

  static void PrintHeading() { std::printf("\nSpeed relative to the yardstick (its time / ours):\n"); }

 private:
  std::map<std::string, double> times_;
};

// One line of the ratios: what is compared, our benchmark, the yardstick's, the goal (0: none).
struct Ratio {
  const char* what;
  const char* ours;
  const char* theirs;
  double goal;
};

// Runs the benchmarks the command line chooses, then prints the ratios.
inline int RunWithRatios(int argc, char** argv, std::initializer_list<Ratio> ratios) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  RatioReporter::PrintHeading();
  for (const Ratio& ratio : ratios) reporter.PrintRatio(ratio.what, ratio.ours, ratio.theirs, ratio.goal);
  benchmark::Shutdown();
  return 0;
}

}  // namespace zx::bench
