// zolvane-cli.exe's entry point: the arguments in UTF-8, and the commands run over the real platform.
#include <windows.h>

#include <exception>
#include <string>
#include <vector>

#include "cli/cli_commands.h"
#include "cli/cli_texts.h"
#include "cli/cli_words.h"
#include "cli/command_line.h"
#include "cli/console_output.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_platform.h"

namespace {

std::vector<std::string> Arguments(int argc, wchar_t** argv) {
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(platform::Narrow(argv[i]));
  return arguments;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  ConsoleOutput output;
  // The commands let no failure escape but running out of memory: that is told, not left to the runtime.
  try {
    platform::Win32Platform win32;
    return RunCliRequest(win32.platform(), output, ParseCommandLine(Arguments(argc, argv)));
  } catch (const std::exception& failure) {
    output.Err(kProgramPrefix + std::string(failure.what()) + "\r\n");
    return ExitCode({CliResult::kFailed});
  }
}
