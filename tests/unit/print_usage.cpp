// Prints zolvane-cli's usage as --help prints it, with LF line ends: the CTest test readme_shows_the_usage holds
// README.md's copy to it.
#include <cstdio>

#include "cli/cli_commands.h"

int main() {
  std::printf("%s\n", UsageText().c_str());
  return 0;
}
