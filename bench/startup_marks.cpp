// The recorder behind STARTUP_MARK in the profiling builds.
// The marks are kept in memory while the program starts and written, at exit, to the file that
// ZOLVANE_STARTUP_MARKS names, one "counter step [index]" a line.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "ui/startup_marks.h"

namespace {

struct Mark {
  LONGLONG counter;
  const char* step;
  int index;
};

constexpr int kMaxMarks = 128;
Mark gMarks[kMaxMarks];
int gMarkCount = 0;

void WriteMarks() {
  wchar_t path[MAX_PATH];
  DWORD length = GetEnvironmentVariableW(L"ZOLVANE_STARTUP_MARKS", path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  char line[160];
  DWORD written = 0;
  int size = std::snprintf(line, sizeof line, "%lld frequency\n", static_cast<long long>(frequency.QuadPart));
  WriteFile(file, line, static_cast<DWORD>(size), &written, nullptr);
  for (int i = 0; i < gMarkCount; ++i) {
    size =
        gMarks[i].index < 0
            ? std::snprintf(line, sizeof line, "%lld %s\n", static_cast<long long>(gMarks[i].counter), gMarks[i].step)
            : std::snprintf(line, sizeof line, "%lld %s %d\n", static_cast<long long>(gMarks[i].counter),
                            gMarks[i].step, gMarks[i].index);
    WriteFile(file, line, static_cast<DWORD>(size), &written, nullptr);
  }
  CloseHandle(file);
}

// The first of the program's own code to run: everything before it is Wine's process start and the loader.
__attribute__((constructor(101))) void MarkFirstCode() {
  StartupMark("first code of the program", -1);
  std::atexit(WriteMarks);
}

}  // namespace

void StartupMark(const char* step, int index) {
  if (gMarkCount == kMaxMarks) return;
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  gMarks[gMarkCount++] = {now.QuadPart, step, index};
}
