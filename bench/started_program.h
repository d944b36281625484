// Starting a program under Wine and timing its first window, for both benchmark drivers.
// perf_bench and startup_profile share it so that both measure the same thing the same way.
#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace bench {

constexpr DWORD kGiveUpMs = 20000;

// Milliseconds on the performance counter, which Wine shares between processes.
double NowMs();
// Milliseconds from a counter reading, as another process of this machine took it.
double CounterMs(LONGLONG counter);
double Median(std::vector<double> values);

// A run that cannot go on. It unwinds to main, so that the programs in flight are ended and the registry
// values put back before the failure is reported.
class BenchFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
[[noreturn]] void Fail(const std::string& what);

// Looks every pollMs (every millisecond unless asked otherwise, so that a figure is not rounded up to a coarse
// poll) until done() holds; false when it did not hold in time. Between looks the driver only sleeps: the
// e2e driver's wait also takes its own messages, and those two more requests to wineserver a millisecond
// slowed the measured backup from 0.57 to 0.62 of its reference.
template <typename Condition>
bool PollUntil(Condition done, DWORD pollMs = 1) {
  double start = NowMs();
  while (!done()) {
    if (NowMs() - start > kGiveUpMs) return false;
    Sleep(pollMs);
  }
  return true;
}

// The first top-level window of that class that the program has (made, or also shown); null when none.
HWND WindowOf(DWORD processId, const char* className, bool visibleOnly);
// The program's first visible top-level window, whatever its class; null when none.
HWND VisibleWindowOf(DWORD processId);
// The length of a window's text, asked of the thread that owns it: an answer means it is taking messages.
LRESULT TextLength(HWND window);
// Starts a program with a show command; its process handle.
HANDLE StartProcess(const std::string& commandLine, WORD showCommand);
// Milliseconds from starting a console program to its end, its output thrown away; a failure ends the bench, as
// a figure of a command that did not do its work would mean nothing. A program still running after giveUpMs is
// ended, so that it changes nothing after the bench has put things back.
double TimeToExit(const std::string& commandLine, DWORD giveUpMs = 30000);
// A file of that name in the temporary folder (a marks file, an export, a backup the bench makes).
std::string TempFile(const std::string& name);
// A path quoted for a command line, in Windows' form.
std::string Quoted(const std::string& path);

// One running program, ended when it goes out of scope.
class Program {
 public:
  explicit Program(const std::string& commandLine);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // Milliseconds from process creation until the window of that class is visible and the probe window
  // (a control, or the window itself) answers with a non-empty text. A program answers only when it takes
  // messages, from its message loop once it has shown and painted its window; so, once the window exists, the
  // driver waits for that answer instead of polling a program that is still building its window, which
  // would slow the program with more requests to wineserver the more windows it makes.
  double TimeToWindow(const char* className, int probeId);
  // Milliseconds from process creation until any top-level window of the program is visible: the one way to
  // time programs whose classes and controls differ.
  double TimeToVisibleWindow();
  // The peak working set so far, once the program has painted and waits for input.
  double PeakWorkingSetKb() const;
  // Milliseconds from a posted click on a button until a message box of this program is visible; the box's
  // text, then OK pressed, and the box waited away.
  double TimeClickToMessageBox(HWND button, std::string* boxText);
  // A posted click on a button, then quietMs without a look at the windows; then the message box's text, OK
  // pressed, and the box waited away.
  void ClickAndAnswerMessageBox(HWND button, DWORD quietMs, std::string* boxText);

  HWND main() const { return main_; }
  DWORD processId() const { return processId_; }
  double started() const { return started_; }

 private:
  // Waits for the program's message box; its text, OK pressed, the box waited away. When it was first seen.
  double AnswerMessageBox(std::string* boxText);

  HANDLE process_ = nullptr;
  DWORD processId_ = 0;
  HWND main_ = nullptr;
  double started_ = 0;
};

}  // namespace bench
