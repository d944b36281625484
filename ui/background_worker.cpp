// The worker thread of the main window: a task's work on its own thread, its done back on the window's.
#include "ui/background_worker.h"

#include <utility>

namespace {

struct BackgroundTask {
  std::function<void()> work;
  std::function<void()> done;
  HWND window;
  UINT doneMessage;
};

DWORD WINAPI RunBackgroundTask(void* parameter) {
  auto* task = static_cast<BackgroundTask*>(parameter);
  // The work tells its outcome itself; nothing may unwind out of the thread.
  try {
    task->work();
  } catch (...) {
  }
  PostMessageW(task->window, task->doneMessage, 0, reinterpret_cast<LPARAM>(task));
  return 0;
}

}  // namespace

BackgroundWorker::~BackgroundWorker() {
  if (thread_.valid()) WaitForSingleObject(thread_.get(), INFINITE);
}

void BackgroundWorker::Run(HWND window, std::function<void()> work, std::function<void()> done) {
  auto* task = new BackgroundTask{std::move(work), std::move(done), window, doneMessage_};
  thread_ = platform::ScopedHandle(CreateThread(nullptr, 0, &RunBackgroundTask, task, 0, nullptr));
  if (!thread_.valid()) RunBackgroundTask(task);
}

void BackgroundWorker::OnDone(LPARAM parameter) {
  auto* task = reinterpret_cast<BackgroundTask*>(parameter);
  if (thread_.valid()) WaitForSingleObject(thread_.get(), INFINITE);
  thread_.Close();
  std::function<void()> done = std::move(task->done);
  delete task;
  done();
}

bool BackgroundWorker::WaitUntilIdle(DWORD timeoutMs) {
  return !thread_.valid() || WaitForSingleObject(thread_.get(), timeoutMs) == WAIT_OBJECT_0;
}
