// The console report of a benchmark that has a yardstick: printed as usual, keeping the time
// of each run of a benchmark (its rounds and repetitions), and then our speed relative to the
// yardstick's on one line each: its time / ours, above 1 when we are faster (the median of
// the ratios of rounds run in turns, else the ratio of the medians). RunWithRatios is the
// whole main of such a program; RegisterAlternating runs a benchmark and its yardstick in
// turns, so that both meet the same state of the machine.
#pragma once
#include <benchmark/benchmark.h>

#include <algorithm>
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
      if (run.error_occurred) continue;
      Times& times = times_[run.run_name.function_name];
      if (run.run_type == Run::RT_Iteration) {
        times.runs.push_back(run.GetAdjustedRealTime());
        times.rounds.push_back(run.run_name.args);
      }
      if (run.aggregate_name == "median") times.median = run.GetAdjustedRealTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }

  // "what   ratio  (goal g)" when both benchmarks ran, else the line says which did not; a
  // ratio without a goal (0) is printed for reference only.
  void PrintRatio(const char* what, const std::string& ours, const std::string& theirs, double goal) const {
    const Times a = TimesOf(ours);
    const Times b = TimesOf(theirs);
    if (a.runs.empty() || b.runs.empty()) {
      std::printf("%-44s      -  (not run: %s)\n", what, a.runs.empty() ? ours.c_str() : theirs.c_str());
      return;
    }
    double ratio = Median(b.runs) / Median(a.runs);
    if (a.rounds == b.rounds && !a.rounds.front().empty()) {
      std::vector<double> turns;
      for (std::size_t i = 0; i < a.runs.size(); ++i) turns.push_back(b.runs[i] / a.runs[i]);
      ratio = Median(turns);
    }
    if (goal > 0) {
      std::printf("%-44s %6.2f  (goal %.2f)\n", what, ratio, goal);
    } else {
      std::printf("%-44s %6.2f\n", what, ratio);
    }
  }

  static void PrintHeading() { std::printf("\nSpeed relative to the yardstick (its time / ours):\n"); }

 private:
  struct Times {
    std::vector<double> runs;
    std::vector<std::string> rounds;  // each run's arguments: "round:<n>" for a round
    double median = 0;  // as the library reported it, for runs it reported as aggregates only
  };

  // The benchmark's runs in their order; none when it did not run.
  Times TimesOf(const std::string& name) const {
    const auto found = times_.find(name);
    if (found == times_.end()) return {};
    Times times = found->second;
    if (times.runs.empty() && times.median > 0) times = {{times.median}, {std::string()}, times.median};
    return times;
  }

  static double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
  }

  std::map<std::string, Times> times_;
};

// One line of the ratios: what is compared, our benchmark, the yardstick's, the goal (0: none).
struct Ratio {
  const char* what;
  const char* ours;
  const char* theirs;
  double goal;
};

// Registers `rounds` rounds of a benchmark and of its yardstick, each round about `seconds`
// long, in turns that change which goes first (ours, theirs, theirs, ours, ...): neither side
// always meets the machine as the other leaves it, and both sample the same stretch of its
// load. Each round is reported as "<name>/round:<n>"; the ratio takes the medians.
template <class Ours, class Theirs>
void RegisterAlternating(const char* ours, Ours oursFn, const char* theirs, Theirs theirsFn, int rounds,
                         double seconds) {
  for (int round = 1; round <= rounds; ++round) {
    const auto add = [round, seconds](const char* name, auto fn) {
      benchmark::RegisterBenchmark(name, fn)->Arg(round)->ArgName("round")->MinTime(seconds)->Unit(benchmark::kMillisecond);
    };
    if (round % 4 == 1 || round % 4 == 0) {
      add(ours, oursFn);
      add(theirs, theirsFn);
    } else {
      add(theirs, theirsFn);
      add(ours, oursFn);
    }
  }
}

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
