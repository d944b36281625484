// The benchmark's verdicts: given only where the runs' ratios agree, judged on the median ratio, and the spread
// of every figure shown.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bench/verdict_table.h"

namespace {

using bench::Target;
using bench::VerdictTable;

// The last cell of the table's only row.
std::string VerdictOf(const VerdictTable& table) {
  std::string row = table.Rows();
  std::size_t end = row.rfind(" |");
  std::size_t begin = row.rfind("| ", end - 1);
  return row.substr(begin + 2, end - begin - 2);
}

TEST(VerdictTableTest, JudgesOnlyRunsThatAgree) {
  const Target atMostHalf{Target::Kind::kAtMost, 0.5};
  const Target faster{Target::Kind::kBelow, 1.0};
  const struct {
    const char* name;
    Target target;
    std::vector<double> runRatios;  // each run: its rounds' median against a reference of 100
    std::string verdict;
  } cases[] = {
      {"steady and within", atMostHalf, {0.40, 0.42, 0.41}, "met"},
      {"steady and over", atMostHalf, {0.52, 0.55, 0.53}, "not met"},
      {"exactly at an at-most target", atMostHalf, {0.50, 0.50, 0.50}, "met"},
      {"exactly at a below target", faster, {1.00, 1.00, 1.00}, "not met"},
      {"runs a verdict apart", atMostHalf, {0.30, 0.45, 0.60}, "noisy, no verdict"},
      {"a spread just over 0.05", faster, {0.90, 0.96, 0.92}, "noisy, no verdict"},
      {"a spread just under 0.05", faster, {0.90, 0.94, 0.92}, "met"},
      {"one run", atMostHalf, {0.10}, "one run: no verdict"},
      {"a row for comparison", Target{}, {0.30, 0.90, 0.60}, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    VerdictTable table;
    for (double ratio : c.runRatios) {
      table.AddRun("figure", "ms", c.target, {ratio * 100 - 5, ratio * 100, ratio * 100 + 5}, {95, 100, 105});
    }
    EXPECT_EQ(VerdictOf(table), c.verdict);
  }
}

TEST(VerdictTableTest, ShowsEachFiguresSpreadAndTheRunsMedians) {
  VerdictTable table;
  table.AddRun("Start-up", "ms", Target{Target::Kind::kBelow, 1.0}, {200, 210, 290}, {250, 260, 400});
  table.AddRun("Start-up", "ms", Target{Target::Kind::kBelow, 1.0}, {205, 212, 220}, {248, 262, 270});
  table.AddRunAgainstLimit("Apply's own work", "ms", 2.0, {0.1, 0.2, 0.3});
  table.AddRunAgainstLimit("Apply's own work", "ms", 2.0, {0.2, 0.2, 0.9});
  EXPECT_EQ(table.Rows(),
            "| Start-up | 211.0 ms (200.0-290.0; runs 210.0-212.0) | 261.0 ms (248.0-400.0; runs 260.0-262.0) | "
            "0.81 (0.81-0.81) | < 1.00 | met |\n"
            "| Apply's own work | 0.2 ms (0.1-0.9; runs 0.2-0.2) |  | 0.10 (0.10-0.10) of the limit | <= 2.0 ms | "
            "met |\n");
}

}  // namespace
