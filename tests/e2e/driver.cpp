// The driver's window, input and process helpers.
#include "tests/e2e/driver.h"

#include "platform/win32/win32_platform.h"

#include <commctrl.h>

#include <cstdio>

#include "resources/control_ids.h"
#include "tests/wine/scratch.h"

namespace e2e {

namespace {

constexpr DWORD kPollMs = 20;
constexpr UINT kSendTimeoutMs = 5000;

struct WindowSearch {
  DWORD processId;
  const char* className;
  bool visibleOnly;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<WindowSearch*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId) return TRUE;
  if (search->visibleOnly && !IsWindowVisible(window)) return TRUE;
  if (search->className != nullptr && ClassOf(window) != search->className) return TRUE;
  search->found.push_back(window);
  return TRUE;
}

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kSendTimeoutMs, &result);
  return static_cast<LRESULT>(result);
}

}  // namespace

std::string WindowsPath(const std::string& path) {
  if (path.empty() || path[0] != '/') return path;
  std::string result = "Z:" + path;
  for (char& c : result) {
    if (c == '/') c = '\\';
  }
  return result;
}

std::string DriverFolder() {
  std::string path = Utf8(OwnPath());
  return path.substr(0, path.find_last_of("\\/") + 1);
}

ScratchFolder::ScratchFolder(const std::wstring& path) : path_(path) {
  RemoveTree(path_);
  made_ = CreateDirectoryW(path_.c_str(), nullptr) != FALSE;
}

ScratchFolder::~ScratchFolder() {
  RemoveTree(path_);
}

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  while (true) {
    if (done()) return true;
    if (GetTickCount() - start >= timeoutMs) return false;
    // The driver's own messages (window-event hooks deliver through them) go on while it waits.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, kPollMs, QS_ALLINPUT);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }
}

std::string SystemWords(DWORD code) {
  return platform::Win32System().ErrorText(static_cast<std::int32_t>(code));
}

std::string TextOf(HWND window) {
  if (window == nullptr) return std::string();
  LRESULT length = Send(window, WM_GETTEXTLENGTH, 0, 0);
  std::wstring buffer(static_cast<std::size_t>(length) + 1, L'\0');
  LRESULT copied = Send(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(&buffer[0]));
  buffer.resize(static_cast<std::size_t>(copied));
  return Utf8(buffer);
}

std::string ClassOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return Utf8(name);
}

std::vector<HWND> TopLevelWindows(DWORD processId, const char* className, bool visibleOnly) {
  WindowSearch search{processId, className, visibleOnly, {}};
  EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FocusOf(HWND window) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

void PressButton(HWND button) {
  PostMessageW(button, BM_CLICK, 0, 0);
}

bool CloseWith(HWND dialog, int button) {
  PressButton(GetDlgItem(dialog, button));
  return WaitUntil([dialog] { return !IsWindow(dialog); });
}

bool Answers(HWND window) {
  DWORD_PTR answer = 0;
  return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &answer) != 0;
}

void SendKey(WORD virtualKey, WORD modifier) {
  INPUT inputs[4] = {};
  int count = 0;
  auto key = [&](WORD code, bool up) {
    inputs[count].type = INPUT_KEYBOARD;
    inputs[count].ki.wVk = code;
    inputs[count].ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    ++count;
  };
  if (modifier != 0) key(modifier, false);
  key(virtualKey, false);
  key(virtualKey, true);
  if (modifier != 0) key(modifier, true);
  SendInput(static_cast<UINT>(count), inputs, sizeof(INPUT));
}

namespace {

INPUT MouseInput(DWORD flags, int x, int y) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dx = MulDiv(x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = MulDiv(y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
  return input;
}

// Moves the pointer with real input and waits until it is there.
bool MovePointer(int x, int y) {
  INPUT move = MouseInput(MOUSEEVENTF_MOVE, x, y);
  SendInput(1, &move, sizeof move);
  return WaitUntil(
      [x, y] {
        POINT at;
        return GetCursorPos(&at) && at.x == x && at.y == y;
      },
      2000);
}

// Clicks at the centre of a window, as a hand does: the pointer moved there first and the move taken in by the
// window's thread, then the button pressed and let go the number of times asked. Sent in one batch with the
// move, the first press was now and then lost under Wine (a fresh About window's link did not open).
void ClickCentreTimes(HWND window, int clicks) {
  RECT bounds;
  GetWindowRect(window, &bounds);
  int x = (bounds.left + bounds.right) / 2;
  int y = (bounds.top + bounds.bottom) / 2;
  MovePointer(x, y);
  Answers(window);
  std::vector<INPUT> presses;
  for (int i = 0; i < clicks; ++i) {
    presses.push_back(MouseInput(MOUSEEVENTF_LEFTDOWN, x, y));
    presses.push_back(MouseInput(MOUSEEVENTF_LEFTUP, x, y));
  }
  SendInput(static_cast<UINT>(presses.size()), presses.data(), sizeof(INPUT));
}

}  // namespace

bool ParkPointer() {
  return MovePointer(0, 0);
}

bool HoverCentre(HWND window) {
  RECT bounds;
  GetWindowRect(window, &bounds);
  return MovePointer((bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2);
}

void ClickCentre(HWND window) {
  ClickCentreTimes(window, 1);
}

void DoubleClickCentre(HWND window) {
  ClickCentreTimes(window, 2);
}

namespace {

// Has the window's thread hand the X server the requests it still holds, and waits until the thread has taken in
// the events they set off. Wine's X11 driver keeps a thread's requests until something sends them: a message box
// closed a moment ago may not have reached the X server yet, and the focus changes it sets off there come back
// later, when they cancel a menu that a key has opened meanwhile, or take the keys away from the window.
bool SettledWithXServer(HWND window, HANDLE process) {
  // Placing the window again, unchanged, runs on its thread, which sends the X server what it holds; queued
  // behind it, the answer to the next message says it has run.
  SetWindowPos(window, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED |
                   SWP_ASYNCWINDOWPOS);
  if (!Answers(window)) return false;
  // A round trip of the driver's own to the X server (a pixel read from the screen): by its answer the server has
  // done those requests too, and sent the thread what they set off.
  HDC screen = GetDC(nullptr);
  GetPixel(screen, 0, 0);
  ReleaseDC(nullptr, screen);
  // Woken by a message, the thread takes in the X server's events before it waits for input again.
  return Answers(window) && WaitForInputIdle(process, 1000) == 0;
}

}  // namespace

bool WaitUntilInFrontAndIdle(HWND window) {
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | SYNCHRONIZE, FALSE, processId);
  if (process == nullptr) return false;
  bool ready = WaitUntil([window, processId, process] {
    return GetForegroundWindow() == window && TopLevelWindows(processId, TOOLTIPS_CLASSA).empty() && Answers(window) &&
           SettledWithXServer(window, process) && GetForegroundWindow() == window;
  });
  CloseHandle(process);
  return ready;
}

RemoteMemory::RemoteMemory(DWORD processId, SIZE_T size) {
  process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
  if (process_ == nullptr) return;
  address_ = static_cast<BYTE*>(VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE));
}

RemoteMemory::~RemoteMemory() {
  if (address_ != nullptr) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
  if (process_ != nullptr) CloseHandle(process_);
}

bool RemoteMemory::Write(const void* data, SIZE_T size, SIZE_T offset) {
  return valid() && WriteProcessMemory(process_, address_ + offset, data, size, nullptr);
}

bool RemoteMemory::Read(void* data, SIZE_T size, SIZE_T offset) const {
  return valid() && ReadProcessMemory(process_, address_ + offset, data, size, nullptr);
}

bool HasVisibleIcon(HWND dialog) {
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    LONG style = GetWindowLongW(child, GWL_STYLE);
    if (ClassOf(child) != "Static" || (style & SS_TYPEMASK) != SS_ICON || !IsWindowVisible(child)) continue;
    // Wine leaves the icon control of a box without an icon in place, empty.
    DWORD_PTR icon = 0;
    SendMessageTimeoutW(child, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &icon);
    if (icon != 0) return true;
  }
  return false;
}

ShowWatch::ShowWatch(DWORD processId) : processId_(processId) {
  InitializeCriticalSection(&lock_);
  thread_ = CreateThread(nullptr, 0, &ShowWatch::Watch, this, 0, nullptr);
}

ShowWatch::~ShowWatch() {
  InterlockedExchange(&stop_, 1);
  if (thread_ != nullptr) {
    WaitForSingleObject(thread_, kWaitMs);
    CloseHandle(thread_);
  }
  DeleteCriticalSection(&lock_);
}

bool ShowWatch::SawWindowOfClass(const char* className) {
  EnterCriticalSection(&lock_);
  bool seen = false;
  for (const std::string& shown : shownClasses_) seen = seen || shown == className;
  LeaveCriticalSection(&lock_);
  return seen;
}

DWORD WINAPI ShowWatch::Watch(void* context) {
  auto* self = static_cast<ShowWatch*>(context);
  while (InterlockedCompareExchange(&self->stop_, 0, 0) == 0) {
    for (HWND window : TopLevelWindows(self->processId_)) {
      std::string className = ClassOf(window);
      EnterCriticalSection(&self->lock_);
      bool known = false;
      for (const std::string& shown : self->shownClasses_) known = known || shown == className;
      if (!known) self->shownClasses_.push_back(className);
      LeaveCriticalSection(&self->lock_);
    }
    Sleep(1);
  }
  return 0;
}

ZolvaneApp::ZolvaneApp(const std::string& exePath, bool startSuspended) {
  ParkPointer();
  std::wstring commandLine = L"\"" + Wide(WindowsPath(exePath)) + L"\"";
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  DWORD flags = startSuspended ? CREATE_SUSPENDED : 0;
  if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, flags, nullptr, nullptr, &startup, &info)) {
    startError_ = GetLastError();
    return;
  }
  thread_ = info.hThread;
  process_ = info.hProcess;
  processId_ = info.dwProcessId;
}

void ZolvaneApp::Resume() {
  if (thread_ != nullptr) ResumeThread(thread_);
}

ZolvaneApp::~ZolvaneApp() {
  if (thread_ != nullptr) CloseHandle(thread_);
  if (process_ == nullptr) return;
  if (!HasExited()) {
    TerminateProcess(process_, 1);
    WaitForSingleObject(process_, kWaitMs);
  }
  CloseHandle(process_);
}

bool ZolvaneApp::WaitForMainWindow() {
  if (process_ == nullptr) {
    std::printf("  Zolvane.exe could not be started: %s (error %lu)\n", SystemWords(startError_).c_str(), startError_);
    return false;
  }
  bool shown = false;
  WaitUntil(
      [this, &shown] {
        std::vector<HWND> windows = TopLevelWindows(processId_, ZOLVANE_MAIN_WINDOW_CLASS);
        main_ = windows.empty() ? nullptr : windows.front();
        shown = main_ != nullptr && IsWindowVisible(main_) && Enabled(IDC_BACKUP);
        return shown || HasExited();
      },
      kStartWaitMs);
  // Shown with its buttons enabled (a cut-off change undone away from its thread), the window has done starting once
  // its thread first waits for input: it has painted, and made its tool tips, which wait for the message loop.
  if (shown && WaitForInputIdle(process_, kWaitMs) == 0) return true;
  SayWhyNoMainWindow();
  return false;
}

void ZolvaneApp::SayWhyNoMainWindow() const {
  DWORD exitCode = 0;
  if (HasExited() && GetExitCodeProcess(process_, &exitCode)) {
    std::printf("  Zolvane.exe ended with exit code %lu before its window was ready\n", exitCode);
  } else if (main_ != nullptr) {
    std::printf(
        "  the main window was shown, but its buttons were not enabled or its thread did not wait for input within %lu "
        "s\n",
        kWaitMs / 1000);
  } else {
    std::printf("  Zolvane.exe runs, but showed no main window within %lu s\n", kStartWaitMs / 1000);
  }
  // A message box in its place (its caption and text) says why.
  for (HWND window : TopLevelWindows(processId_)) {
    std::printf("  its window %s \"%s\" says \"%s\"\n", ClassOf(window).c_str(), TextOf(window).c_str(),
                TextOf(GetDlgItem(window, 0xFFFF)).c_str());
  }
  std::fflush(stdout);
}

bool ZolvaneApp::ReadyForKeys() {
  if (!WaitUntil([this] { return Enabled(IDC_BACKUP); })) return false;
  SetForegroundWindow(main_);
  return WaitUntilInFrontAndIdle(main_);
}

int ZolvaneApp::FolderListIndex() const {
  return static_cast<int>(Send(Control(IDC_FOLDER_LIST), CB_GETCURSEL, 0, 0));
}

int ZolvaneApp::FolderListCount() const {
  return static_cast<int>(Send(Control(IDC_FOLDER_LIST), CB_GETCOUNT, 0, 0));
}

std::string ZolvaneApp::FolderListEntry(int index) const {
  HWND combo = Control(IDC_FOLDER_LIST);
  LRESULT length = Send(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == CB_ERR) return std::string();
  std::wstring buffer(static_cast<std::size_t>(length) + 1, L'\0');
  Send(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&buffer[0]));
  buffer.resize(static_cast<std::size_t>(length));
  return Utf8(buffer);
}

void ZolvaneApp::SelectEntry(int index) {
  HWND combo = Control(IDC_FOLDER_LIST);
  Send(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  // Sent, as the list itself sends it: the program has shown the selected folder by the time this returns. A
  // posted notification could be overtaken by a message the scenario sends next (sent messages go first),
  // and would then overwrite a path the scenario had just typed.
  Send(main_, WM_COMMAND, MAKEWPARAM(IDC_FOLDER_LIST, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

bool ZolvaneApp::SetPathText(const std::string& text) {
  std::wstring wide = Wide(text);
  Send(Control(IDC_PATH), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
  return WaitUntil([&] { return Text(IDC_PATH) == text; });
}

void ZolvaneApp::SelectAllPath() {
  Send(Control(IDC_PATH), EM_SETSEL, 0, -1);
}

bool ZolvaneApp::TypeInPath(wchar_t character, const std::string& expectedText) {
  PostMessageW(Control(IDC_PATH), WM_CHAR, character, 1);
  return WaitUntil([&] { return Text(IDC_PATH) == expectedText; });
}

void ZolvaneApp::ChooseMenu(int commandId) {
  PostMessageW(main_, WM_COMMAND, MAKEWPARAM(commandId, 0), 0);
}

bool ZolvaneApp::Click(int id) {
  if (!Enabled(id)) return false;
  PressButton(Control(id));
  return true;
}

HWND ZolvaneApp::WaitForWindow(const char* className, const std::string& caption, DWORD timeoutMs) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        for (HWND window : TopLevelWindows(processId_, className)) {
          if (TextOf(window) == caption) {
            found = window;
            return true;
          }
        }
        return false;
      },
      timeoutMs);
  return found;
}

HWND ZolvaneApp::WaitForMessageBox(const std::string& title, DWORD timeoutMs) {
  return WaitForWindow("#32770", title, timeoutMs);
}

std::string ZolvaneApp::MessageBoxText(HWND box) {
  return TextOf(GetDlgItem(box, 0xFFFF));
}

bool ZolvaneApp::WaitForExit(DWORD timeoutMs) {
  return process_ != nullptr && WaitForSingleObject(process_, timeoutMs) == WAIT_OBJECT_0;
}

bool ZolvaneApp::HasExited() const {
  return WaitForSingleObject(process_, 0) == WAIT_OBJECT_0;
}

}  // namespace e2e
