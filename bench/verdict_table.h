// The benchmark's table: each figure gathered over one or more runs of the bench, printed with its spread, and
// judged only where its runs agree.
#pragma once

#include <string>
#include <vector>

namespace bench {

struct Target {
  enum class Kind { kNone, kAtMost, kBelow };
  Kind kind = Kind::kNone;
  double ratio = 0;  // what the ratio is held to
};

// A verdict needs the runs' ratios to lie closer together than this: a wider spread is noise, not a finding.
constexpr double kSteadySpread = 0.05;

class VerdictTable {
 public:
  // One run's rounds of a figure against its reference's rounds; the ratio is that of their medians.
  void AddRun(const std::string& figure, const std::string& unit, Target target, const std::vector<double>& values,
              const std::vector<double>& references);
  // One run's rounds of a figure held to a limit of its own (no reference): the ratio is the median's share of
  // the limit, and the target a ratio of 1.
  void AddRunAgainstLimit(const std::string& figure, const std::string& unit, double limit,
                          const std::vector<double>& values);
  // The Markdown rows, one a figure in the order first added.
  std::string Rows() const;

 private:
  struct Row {
    std::string figure;
    std::string unit;
    Target target;
    double limit = 0;  // for a figure without a reference
    std::vector<double> values;
    std::vector<double> references;
    std::vector<double> medians;
    std::vector<double> referenceMedians;
    std::vector<double> ratios;
  };
  Row& Find(const std::string& figure, const std::string& unit, Target target);
  static std::string Verdict(const Row& row);

  std::vector<Row> rows_;
};

}  // namespace bench
