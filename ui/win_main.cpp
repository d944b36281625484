// Zolvane's entry point: the main window and the message loop that runs until it has closed.
#include <windows.h>
#include <commctrl.h>

#include "platform/win32/win32_platform.h"
#include "ui/main_window.h"
#include "ui/profile_marks.h"

namespace {

int RunMessageLoop(MainWindow& mainWindow) {
  MSG message;
  PROFILE_MARK("message loop entered");
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (mainWindow.TranslateShortcut(message)) continue;
    if (mainWindow.TranslateDialogKeys(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

#ifdef ZOLVANE_PROFILE
// The profiling build's processes mark when each export starts and when it has been waited for, so that the
// backup's own work can be told from the time the system takes to start and run regedit.
class MarkedProcesses : public platform::Processes {
 public:
  explicit MarkedProcesses(platform::Processes& processes) : processes_(processes) {}
  std::int32_t Start(const std::string& program, const std::string& commandLine,
                     platform::ProcessHandle* process) override {
    PROFILE_MARK("export start begun");
    return processes_.Start(program, commandLine, process);
  }
  platform::ProcessEnd Finish(platform::ProcessHandle process, std::uint32_t timeoutMs) override {
    platform::ProcessEnd end = processes_.Finish(process, timeoutMs);
    PROFILE_MARK("export wait ended");
    return end;
  }

 private:
  platform::Processes& processes_;
};
#endif

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int showCommand) {
  PROFILE_MARK("runtime started, wWinMain entered");
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  PROFILE_MARK("InitCommonControlsEx");
  platform::Win32Platform win32;
#ifdef ZOLVANE_PROFILE
  platform::Platform& real = win32.platform();
  MarkedProcesses markedProcesses(real.processes);
  platform::Platform platform{real.registry,   real.environment, real.system, real.files,
                              markedProcesses, real.shell,       real.locks,  real.fileTree};
#else
  platform::Platform& platform = win32.platform();
#endif
  MainWindow mainWindow(instance, platform);
  // A window that could not be made would leave the loop waiting for ever.
  if (std::optional<int> exitCode = mainWindow.Open(showCommand)) return *exitCode;
  return RunMessageLoop(mainWindow);
}
