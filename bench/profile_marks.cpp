// The recorder behind PROFILE_MARK in the profiling builds.
// The marks are kept in memory while the program runs and written, at exit, to the file that
// ZOLVANE_PROFILE_MARKS names, one "counter step [index]" a line.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "ui/profile_marks.h"

namespace {

struct Mark {
  LONGLONG counter;
  const char* step;
  int index;
};

// Enough for a start-up and a few hundred clicks, each backup's with its eight waits.
constexpr LONG kMaxMarks = 8192;
Mark gMarks[kMaxMarks];
volatile LONG gMarkCount = 0;

void WriteMarks() {
  wchar_t path[MAX_PATH];
  DWORD length = GetEnvironmentVariableW(L"ZOLVANE_PROFILE_MARKS", path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  char line[160];
  DWORD written = 0;
  int size = std::snprintf(line, sizeof line, "%lld frequency\n", static_cast<long long>(frequency.QuadPart));
  WriteFile(file, line, static_cast<DWORD>(size), &written, nullptr);
  LONG count = gMarkCount < kMaxMarks ? gMarkCount : kMaxMarks;
  for (LONG i = 0; i < count; ++i) {
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
  ProfileMark("first code of the program", -1);
  std::atexit(WriteMarks);
}

}  // namespace

// The window's thread and the backup's worker both mark: each takes its own slot.
void ProfileMark(const char* step, int index) {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  LONG slot = InterlockedIncrement(&gMarkCount) - 1;
  if (slot >= kMaxMarks) return;
  gMarks[slot] = {now.QuadPart, step, index};
}
