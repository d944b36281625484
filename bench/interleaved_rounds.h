// Rounds of several timed runs interleaved, for the benchmark drivers: a drift in the machine's load favours none.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

namespace bench {

// One timed run of a figure: its milliseconds.
using TimedRun = std::function<double()>;

// Runs each once unmeasured (a cold cache is not what the figure is about), then the rounds, the order rotating
// every round so that a drift in the machine's load favours none of them. Each run's rounds, in the runs' order.
inline std::vector<std::vector<double>> Interleave(int rounds, const std::vector<TimedRun>& runs) {
  for (const TimedRun& run : runs) run();
  std::vector<std::vector<double>> samples(runs.size());
  for (int round = 0; round < rounds; ++round) {
    for (std::size_t i = 0; i < runs.size(); ++i) {
      std::size_t which = (i + static_cast<std::size_t>(round)) % runs.size();
      samples[which].push_back(runs[which]());
    }
  }
  return samples;
}

}  // namespace bench
