// The end-to-end driver's hands and eyes: starts Zolvane.exe, finds its windows and controls, reads and
// operates them the way a user's input would, and waits for what should follow, every wait bounded.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/wine/wide_text.h"

namespace e2e {

// How long any one expected event may take before the scenario counts it as missing.
constexpr DWORD kWaitMs = 10000;
// How long Zolvane.exe may take to show its window: a Wine process started beside other busy ones takes seconds.
constexpr DWORD kStartWaitMs = 30000;

// A path as Windows programs see it: a Unix path "/work/x" becomes "Z:\work\x".
std::string WindowsPath(const std::string& path);
// The folder that holds the driver program, with a trailing backslash.
std::string DriverFolder();

// A folder made for a scenario, and removed with the files in it when the scenario ends (or, left over by a killed
// run, when it is made again).
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::wstring& path);
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  bool made() const { return made_; }
  const std::wstring& path() const { return path_; }
  std::string File(const std::string& name) const { return Utf8(path_) + "\\" + name; }

 private:
  std::wstring path_;
  bool made_ = false;
};

// Polls until done() holds or timeoutMs has passed; true when it held.
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs = kWaitMs);

// The system's own words for an error code, as Zolvane puts them into its messages.
std::string SystemWords(DWORD code);

// The text of any window, also one of another process (WM_GETTEXT, marshalled by the system).
std::string TextOf(HWND window);
std::string ClassOf(HWND window);
// The visible top-level windows of a process, optionally of one class.
std::vector<HWND> TopLevelWindows(DWORD processId, const char* className = nullptr, bool visibleOnly = true);
// The keyboard focus of the thread that owns a window.
HWND FocusOf(HWND window);

// Presses a button as a click does; posted, so that a modal box it opens does not hold the driver.
void PressButton(HWND button);
// Presses a button of a dialog or message box, OK unless told, and waits for the dialog to go; false when it stayed.
bool CloseWith(HWND dialog, int button = IDOK);
// Whether the window's thread answers a message within a second.
bool Answers(HWND window);
// Real keyboard input to the foreground window: a key with optional Ctrl or Alt held.
void SendKey(WORD virtualKey, WORD modifier = 0);
// Moves the pointer to the screen's top-left corner with real input, so that no tool tip opens under it
// (Xvfb starts it in the middle of the screen, over Zolvane's path box). True when it got there.
bool ParkPointer();
// Real mouse input: the pointer moved to the centre of a window and left there; true when it got there.
bool HoverCentre(HWND window);
// Real mouse input: a left click at the centre of a window; two in quick succession, which the system makes a
// double-click (down, up, double-click, up).
void ClickCentre(HWND window);
void DoubleClickCentre(HWND window);
// Waits until the window is the foreground window, no tool tip of its program is showing, its thread has answered
// a message and the X server has done what the thread asked of it, so that it is done being made, placed and
// shown: a click computed from its place before that may land beside it, one where a tip of the main window lies
// (a topmost window) lands on the tip, and a key may be lost to a focus change that the X server makes late.
bool WaitUntilInFrontAndIdle(HWND window);

// Memory in another process: the common controls' messages carry pointers, which the system does not
// carry across processes.
class RemoteMemory {
 public:
  RemoteMemory(DWORD processId, SIZE_T size);
  ~RemoteMemory();
  RemoteMemory(const RemoteMemory&) = delete;
  RemoteMemory& operator=(const RemoteMemory&) = delete;
  bool valid() const { return address_ != nullptr; }
  BYTE* address() const { return address_; }
  bool Write(const void* data, SIZE_T size, SIZE_T offset = 0);
  bool Read(void* data, SIZE_T size, SIZE_T offset = 0) const;

 private:
  HANDLE process_ = nullptr;
  BYTE* address_ = nullptr;
};

// Whether a dialog shows an icon (a visible static control of the icon kind holding one), as a message
// box with an icon style does.
bool HasVisibleIcon(HWND dialog);

// Records which windows of a process were shown, from the moment it is made until it is destroyed: a
// thread of its own looks every millisecond. (Wine raises no window events to another process.)
class ShowWatch {
 public:
  explicit ShowWatch(DWORD processId);
  ~ShowWatch();
  ShowWatch(const ShowWatch&) = delete;
  ShowWatch& operator=(const ShowWatch&) = delete;
  bool SawWindowOfClass(const char* className);

 private:
  static DWORD WINAPI Watch(void* self);
  DWORD processId_;
  HANDLE thread_ = nullptr;
  volatile LONG stop_ = 0;
  CRITICAL_SECTION lock_;
  std::vector<std::string> shownClasses_;
};

// One run of Zolvane.exe.
class ZolvaneApp {
 public:
  // With startSuspended the program waits for Resume(), so that a watch can be set before it runs.
  explicit ZolvaneApp(const std::string& exePath, bool startSuspended = false);
  void Resume();
  ~ZolvaneApp();  // ends the process if it is still running
  ZolvaneApp(const ZolvaneApp&) = delete;
  ZolvaneApp& operator=(const ZolvaneApp&) = delete;

  bool started() const { return process_ != nullptr; }
  DWORD processId() const { return processId_; }

  // Waits for the main window to be shown and done with its start (a cut-off change undone away from its thread,
  // its buttons greyed meanwhile; its thread waiting for input); false, and why (not started, ended, or what it shows
  // instead), when it was not within the wait.
  bool WaitForMainWindow();
  HWND main() const { return main_; }
  HWND Control(int id) const { return GetDlgItem(main_, id); }
  std::string Text(int id) const { return TextOf(Control(id)); }
  bool Enabled(int id) const { return IsWindowEnabled(Control(id)) != FALSE; }
  // Brings the main window to the front and waits until it takes keys: no longer busy with earlier work (whose
  // message box closes before the menu and the buttons are enabled again), in front, and its thread answering.
  bool ReadyForKeys();

  int FolderListIndex() const;
  std::string FolderListEntry(int index) const;
  int FolderListCount() const;
  // Picks an entry as the user does in the list: the selection changes and the list notifies its parent.
  void SelectEntry(int index);
  // Replaces the path box's text (WM_SETTEXT, as a paste over the whole text does) and waits for it to be shown.
  bool SetPathText(const std::string& text);
  // Types into the path box as the keyboard does, one character (WM_CHAR); VK_BACK deletes. Waits for the result.
  bool TypeInPath(wchar_t character, const std::string& expectedText);
  void SelectAllPath();
  void ChooseMenu(int commandId);
  // Clicks a button of the main window; false when the button is disabled.
  bool Click(int id);

  // A visible top-level window of this process with the given class and caption, waited for.
  HWND WaitForWindow(const char* className, const std::string& caption, DWORD timeoutMs = kWaitMs);
  // A message box of this process (#32770) with the given title.
  HWND WaitForMessageBox(const std::string& title, DWORD timeoutMs = kWaitMs);
  // The text of a message box.
  static std::string MessageBoxText(HWND box);

  bool WaitForExit(DWORD timeoutMs = kWaitMs);
  bool HasExited() const;

 private:
  void SayWhyNoMainWindow() const;

  HANDLE process_ = nullptr;
  HANDLE thread_ = nullptr;
  DWORD processId_ = 0;
  HWND main_ = nullptr;
  DWORD startError_ = 0;  // why CreateProcess failed
};

}  // namespace e2e
