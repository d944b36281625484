// Spreads and verdicts: a figure's median with the lowest and highest round, the runs' medians, and a verdict
// only where the runs' ratios agree to within kSteadySpread.
#include "bench/verdict_table.h"

#include <algorithm>
#include <cstdio>

namespace bench {

namespace {

double MedianOf(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  std::size_t middle = values.size() / 2;
  return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

std::string Number(double value, int decimals) {
  char text[32];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::string Range(const std::vector<double>& values, int decimals) {
  auto [low, high] = std::minmax_element(values.begin(), values.end());
  return Number(*low, decimals) + "-" + Number(*high, decimals);
}

// "305.1 ms (290.2-340.5)": the median of every round and the lowest and highest; with more than one run, the
// runs' medians too.
std::string Spread(const std::vector<double>& values, const std::vector<double>& medians, const std::string& unit) {
  if (values.empty()) return "";
  std::string cell = Number(MedianOf(values), 1) + " " + unit + " (" + Range(values, 1);
  if (medians.size() > 1) cell += "; runs " + Range(medians, 1);
  return cell + ")";
}

}  // namespace

VerdictTable::Row& VerdictTable::Find(const std::string& figure, const std::string& unit, Target target) {
  for (Row& row : rows_) {
    if (row.figure == figure) return row;
  }
  rows_.push_back(Row{figure, unit, target, 0, {}, {}, {}, {}, {}});
  return rows_.back();
}

void VerdictTable::AddRun(const std::string& figure, const std::string& unit, Target target,
                          const std::vector<double>& values, const std::vector<double>& references) {
  Row& row = Find(figure, unit, target);
  row.values.insert(row.values.end(), values.begin(), values.end());
  row.references.insert(row.references.end(), references.begin(), references.end());
  row.medians.push_back(MedianOf(values));
  row.referenceMedians.push_back(MedianOf(references));
  row.ratios.push_back(row.medians.back() / row.referenceMedians.back());
}

void VerdictTable::AddRunAgainstLimit(const std::string& figure, const std::string& unit, double limit,
                                      const std::vector<double>& values) {
  Row& row = Find(figure, unit, Target{Target::Kind::kAtMost, 1.0});
  row.limit = limit;
  row.values.insert(row.values.end(), values.begin(), values.end());
  row.medians.push_back(MedianOf(values));
  row.ratios.push_back(row.medians.back() / limit);
}

std::string VerdictTable::Verdict(const Row& row) {
  if (row.target.kind == Target::Kind::kNone) return "";
  if (row.ratios.size() < 2) return "one run: no verdict";
  auto [low, high] = std::minmax_element(row.ratios.begin(), row.ratios.end());
  if (*high - *low >= kSteadySpread) return "noisy, no verdict";
  double ratio = MedianOf(row.ratios);
  bool met = row.target.kind == Target::Kind::kBelow ? ratio < row.target.ratio : ratio <= row.target.ratio;
  return met ? "met" : "not met";
}

std::string VerdictTable::Rows() const {
  std::string rows;
  for (const Row& row : rows_) {
    std::string ratio = Number(MedianOf(row.ratios), 2);
    if (row.ratios.size() > 1) ratio += " (" + Range(row.ratios, 2) + ")";
    std::string target;
    if (row.limit > 0) {
      ratio += " of the limit";
      target = "<= " + Number(row.limit, 1) + " " + row.unit;
    } else if (row.target.kind == Target::Kind::kNone) {
      target = "(for comparison)";
    } else {
      target = (row.target.kind == Target::Kind::kBelow ? "< " : "<= ") + Number(row.target.ratio, 2);
    }
    rows += "| " + row.figure + " | " + Spread(row.values, row.medians, row.unit) + " | " +
            Spread(row.references, row.referenceMedians, row.unit) + " | " + ratio + " | " + target + " | " +
            Verdict(row) + " |\n";
  }
  return rows;
}

}  // namespace bench
