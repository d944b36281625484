// Work run on a thread of its own while the window's thread goes on taking messages, one task at a time: the
// window paints and answers meanwhile, and the task's done runs on the window's thread once the work has ended.
#pragma once

#include <windows.h>

#include <functional>

#include "platform/win32/scoped_handle.h"

class BackgroundWorker {
 public:
  // The worker posts doneMessage to the window when a task's work has ended; the window hands its lParam to
  // OnDone.
  explicit BackgroundWorker(UINT doneMessage) : doneMessage_(doneMessage) {}
  BackgroundWorker(const BackgroundWorker&) = delete;
  BackgroundWorker& operator=(const BackgroundWorker&) = delete;
  // Waits for the work that runs: it may use what the worker's owner holds, and may not outlive it.
  ~BackgroundWorker();

  // Without a thread to be had the work runs here and now: the window waits, but the work is done.
  void Run(HWND window, std::function<void()> work, std::function<void()> done);
  void OnDone(LPARAM task);
  // True once no work runs, waited for at most timeoutMs.
  bool WaitUntilIdle(DWORD timeoutMs);

 private:
  UINT doneMessage_;
  platform::ScopedHandle thread_;
};
