// Processes: a program started by its full path in the system folder (as the 64-bit one under WoW64), and
// waited for, bounded, ended when it runs too long, and closed.
#include <windows.h>

#include <cstring>

#include "platform/win32/conversions.h"
#include "platform/win32/scoped_handle.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_platform.h"

namespace platform {

namespace {

// The exit code a process that had to be ended is given.
constexpr UINT kEndedExitCode = 1;

// On 64-bit Windows a 32-bit process that starts the Windows folder's regedit.exe is given the 32-bit one from
// SysWOW64, which reads and exports the 32-bit view of HKLM\Software; while the redirection is off for the start,
// the 64-bit one runs. 32-bit Windows XP has none of this: the functions are then missing, or do nothing.
class NativeFolders {
 public:
  NativeFolders() {
    using Disable = BOOL(WINAPI*)(PVOID*);
    auto disable = reinterpret_cast<Disable>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "Wow64DisableWow64FsRedirection")));
    off_ = disable != nullptr && disable(&previous_);
  }
  NativeFolders(const NativeFolders&) = delete;
  NativeFolders& operator=(const NativeFolders&) = delete;
  ~NativeFolders() {
    using Revert = BOOL(WINAPI*)(PVOID);
    auto revert = reinterpret_cast<Revert>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "Wow64RevertWow64FsRedirection")));
    if (off_ && revert != nullptr) revert(previous_);
  }

 private:
  PVOID previous_ = nullptr;
  bool off_ = false;
};

DWORD StartOnce(const WideText& program, WideText line, const wchar_t* folder, PROCESS_INFORMATION* info) {
  STARTUPINFOW startup;
  std::memset(&startup, 0, sizeof startup);
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWMINIMIZED;
  NativeFolders native;
  // CreateProcessW may write into the command line: it gets a copy of its own.
  if (::CreateProcessW(program.data(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder, &startup, info)) {
    return 0;
  }
  return GetLastError();
}

}  // namespace

// In the system folder, so that the program holds no handle on the folder the user started Zolvane in, and
// finds nothing there that it might load. Wine's CreateProcess now and then answers ERROR_INTERNAL_ERROR while
// other programs are starting, and the same start made again succeeds; no other answer is worth a second try.
std::int32_t Win32Processes::Start(const std::string& program, const std::string& commandLine, ProcessHandle* process) {
  wchar_t systemFolder[MAX_PATH + 1];
  UINT length = ::GetSystemDirectoryW(systemFolder, MAX_PATH + 1);
  const wchar_t* folder = length == 0 || length > MAX_PATH ? nullptr : systemFolder;
  WideText application = Widen(program);
  WideText line = Widen(commandLine);
  PROCESS_INFORMATION info;
  std::memset(&info, 0, sizeof info);
  DWORD code = StartOnce(application, line, folder, &info);
  if (code == ERROR_INTERNAL_ERROR) code = StartOnce(application, line, folder, &info);
  if (code != 0) return static_cast<std::int32_t>(code);
  ScopedHandle thread(info.hThread);
  *process = FromHandle<ProcessHandle>(info.hProcess);
  return 0;
}

// TerminateProcess only asks; the second wait lets the process let go of its files before they are deleted.
ProcessEnd Win32Processes::Finish(ProcessHandle process, std::uint32_t timeoutMs) {
  ScopedHandle owned(ToHandle(process));
  HANDLE handle = owned.get();
  ProcessEnd end;
  DWORD waited = ::WaitForSingleObject(handle, timeoutMs);
  DWORD exitCode = 0;
  if (waited == WAIT_OBJECT_0 && ::GetExitCodeProcess(handle, &exitCode)) {
    end.how = ProcessEnd::How::kExited;
    end.exitCode = exitCode;
  } else {
    end.how = waited == WAIT_TIMEOUT ? ProcessEnd::How::kEnded : ProcessEnd::How::kLost;
    ::TerminateProcess(handle, kEndedExitCode);
    ::WaitForSingleObject(handle, timeoutMs > 0 ? timeoutMs : 1000);
  }
  return end;
}

}  // namespace platform
