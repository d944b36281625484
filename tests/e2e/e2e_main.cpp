// The end-to-end driver: runs one named scenario against Zolvane.exe and prints "N passed, N failed".
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tests/e2e/driver.h"
#include "tests/e2e/scenarios.h"
#include "tests/wine/wine_check.h"

namespace {

std::vector<e2e::Scenario>& Registered() {
  static std::vector<e2e::Scenario> scenarios;
  return scenarios;
}

int Usage() {
  std::printf("usage: zolvane_e2e SCENARIO PATH-TO-Zolvane.exe | open-about | park-pointer\nscenarios:");
  for (const e2e::Scenario& scenario : Registered()) std::printf(" %s", scenario.name);
  std::printf("\n");
  return 2;
}

}  // namespace

namespace e2e {

const std::vector<Scenario>& Scenarios() {
  return Registered();
}

ScenarioRegistration::ScenarioRegistration(const char* name, void (*run)(const std::string& exe)) {
  Registered().push_back(Scenario{name, run});
}

}  // namespace e2e

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "open-about") == 0) return e2e::OpenAboutInRunningApp();
  if (argc == 2 && std::strcmp(argv[1], "park-pointer") == 0) return e2e::ParkPointer() ? 0 : 1;
  if (argc != 3) return Usage();
  for (const e2e::Scenario& scenario : Registered()) {
    if (std::strcmp(argv[1], scenario.name) != 0) continue;
    // Each scenario starts as the first would: no pointer left by another over a control, whose tool tip could
    // lie over what this one clicks.
    e2e::ParkPointer();
    scenario.run(argv[2]);
    return wine_check::Summary();
  }
  return Usage();
}
