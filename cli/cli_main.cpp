// zolvane-cli.exe's entry point: the arguments in UTF-8, a backup's or an import's file made absolute, and
// the commands run over the real platform.
#include <windows.h>

#include <exception>
#include <string>
#include <vector>

#include "cli/cli_commands.h"
#include "cli/command_line.h"
#include "cli/console_output.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_platform.h"

namespace {

constexpr int kErrorNotEnoughMemory = 8;

// regedit runs in the system folder: a backup's file named relative to ours is handed to it by its full path,
// and an import's is named so in what the user is told. A path the system cannot make full is passed on as it is.
std::string FullPath(const std::string& path) {
  platform::WideText wide = platform::Widen(path);
  DWORD size = GetFullPathNameW(wide.data(), 0, nullptr, nullptr);
  if (size == 0) return path;
  std::vector<wchar_t> full(size);
  DWORD length = GetFullPathNameW(wide.data(), size, full.data(), nullptr);
  if (length == 0 || length >= size) return path;
  return platform::Narrow(full.data(), length);
}

CliRequest ReadRequest(int argc, wchar_t** argv) {
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(platform::Narrow(argv[i]));
  CliRequest request = ParseCommandLine(arguments);
  bool namesFile = request.command == CliCommand::kBackup || request.command == CliCommand::kImport ||
                   request.command == CliCommand::kApply;
  if (namesFile && !request.path.empty()) request.path = FullPath(request.path);
  return request;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  ConsoleOutput output;
  // The commands let no failure escape but running out of memory: that is told, not left to the runtime.
  try {
    platform::Win32Platform win32;
    return RunCliRequest(win32.platform(), output, ReadRequest(argc, argv));
  } catch (const std::exception& failure) {
    output.Err(std::string("zolvane-cli: ") + failure.what() + "\r\n");
    return kErrorNotEnoughMemory;
  }
}
