// cut_at_call: ends a program exactly as it enters its Nth call of a named function, as a power cut between two
// of its writes would; with N = 0 it only counts the calls and lets the program finish (to choose N).
//
// Usage: cut_at_call N MODULE FUNCTION COMMAND-LINE...
//   e.g. cut_at_call 2 advapi32.dll RegSetValueExW zolvane-cli.exe set "My Music" "D:\Music"
// COMMAND-LINE is started as written, with this program's standard handles. It runs as a debugger's child: an
// int3 at the function's entry (its address here, from GetProcAddress, is its address in the child: system
// modules load at one base in every process) stops each call; the Nth is ended there by TerminateProcess, before
// the function has done anything. Every call that reaches that address counts, from any thread; programs the
// child starts are not watched. Under Wine, advapi32's RegSetValueExW and kernel32's WriteFile are stubs that jump
// into kernelbase: a program's own calls go through them, a call another system module makes into kernelbase
// does not. One line on standard error says what happened; the exit code:
//   0  cut at the entry of the Nth call
//   1  the program ended by itself before its Nth call (always so with N = 0)
//   2  could not run: usage, the program not started, no such function, or not ended within 60 s (then it is
//      ended)
#include <windows.h>

#include <algorithm>
#include <deque>
#include <map>
#include <set>
#include <string>

namespace {

constexpr DWORD kWholeRunMs = 60000;
constexpr DWORD kEndingMs = 10000;  // for a program ended here to be gone
constexpr BYTE kInt3 = 0xCC;
constexpr DWORD kTrapFlag = 0x100;
constexpr UINT kCutExitCode = 0xC0DE;
enum Outcome { kCut = 0, kEndedByItself = 1, kCouldNotRun = 2 };

// One line on standard error: UTF-16 to a console, UTF-8 to a file or a pipe.
void Say(const std::wstring& line) {
  HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
  DWORD mode = 0, written = 0;
  std::wstring text = line + L"\r\n";
  if (GetConsoleMode(error, &mode)) {
    WriteConsoleW(error, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    return;
  }
  int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string bytes(size, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &bytes[0], size, nullptr, nullptr);
  WriteFile(error, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

// The next argument of a command line, its quotes dropped (enough for a number, a module and a function name);
// cursor moves past it.
std::wstring NextArgument(const wchar_t*& cursor) {
  while (*cursor == L' ' || *cursor == L'\t') ++cursor;
  std::wstring argument;
  for (bool quoted = false; *cursor && (quoted || (*cursor != L' ' && *cursor != L'\t')); ++cursor) {
    quoted = quoted != (*cursor == L'"');
    if (*cursor != L'"') argument += *cursor;
  }
  return argument;
}

std::wstring Calls(unsigned count) {
  return std::to_wstring(count) + (count == 1 ? L" call" : L" calls");
}

// The debugger's view of the child: the int3 at the function's entry, the calls it has counted, and the child's
// threads, of which only one runs while the int3 is out of the way.
struct Watch {
  HANDLE process = nullptr;
  BYTE* entry = nullptr;
  BYTE original = 0;
  void* moduleBase = nullptr;  // of the module holding entry, as loaded here
  unsigned cutAt = 0;
  unsigned calls = 0;
  bool moduleLoaded = false;
  bool loaderBreakPassed = false;  // the loader's own breakpoint, once the static imports are loaded
  bool armed = false;              // the int3 was inserted once: a breakpoint at entry is ours
  bool inserted = false;           // the int3 is in the child's code now
  bool cut = false;
  std::map<DWORD, HANDLE> threads;  // by id, from their debug events
  std::deque<DWORD> stepping;       // threads stopped at entry, in turn to run its first instruction alone
  std::set<DWORD> held;             // threads suspended here meanwhile
};

bool WriteCodeByte(HANDLE process, BYTE* address, BYTE value) {
  DWORD protection = 0;
  if (!VirtualProtectEx(process, address, 1, PAGE_EXECUTE_READWRITE, &protection)) return false;
  bool written = WriteProcessMemory(process, address, &value, 1, nullptr) != FALSE;
  VirtualProtectEx(process, address, 1, protection, &protection);
  FlushInstructionCache(process, address, 1);
  return written;
}

void Insert(Watch& watch) {
  if (!ReadProcessMemory(watch.process, watch.entry, &watch.original, 1, nullptr)) return;
  watch.inserted = WriteCodeByte(watch.process, watch.entry, kInt3);
  watch.armed = watch.armed || watch.inserted;
}

// Puts the thread back at the function's entry (wherever Windows or Wine left its instruction pointer after the
// int3) with the trap flag set: it runs the entry's first instruction, then stops again.
void RewindToStep(HANDLE thread, BYTE* entry) {
  CONTEXT context = {};
  context.ContextFlags = CONTEXT_CONTROL;
  if (!GetThreadContext(thread, &context)) return;
#ifdef _WIN64
  context.Rip = reinterpret_cast<DWORD64>(entry);
#else
  context.Eip = reinterpret_cast<DWORD>(entry);
#endif
  context.EFlags |= kTrapFlag;
  SetThreadContext(thread, &context);
}

void Hold(Watch& watch, DWORD threadId) {
  if (watch.held.insert(threadId).second) SuspendThread(watch.threads[threadId]);
}

void Release(Watch& watch, DWORD threadId) {
  if (watch.held.erase(threadId)) ResumeThread(watch.threads[threadId]);
}

// A call of the function: the Nth ends the child; any other takes the int3 out, holds every other thread (a call
// they made meanwhile would pass uncounted) and lets this one run the instruction the int3 replaced.
void OnCall(Watch& watch, DWORD threadId) {
  if (watch.cut) return;  // another thread's call, reported after the cut: the child is ending
  if (++watch.calls == watch.cutAt && TerminateProcess(watch.process, kCutExitCode)) {
    watch.cut = true;
    return;
  }
  RewindToStep(watch.threads[threadId], watch.entry);
  watch.stepping.push_back(threadId);
  if (!watch.inserted) return;  // this thread is held: it hit the int3 just before another thread took it out
  watch.inserted = !WriteCodeByte(watch.process, watch.entry, watch.original);
  for (const auto& thread : watch.threads) {
    if (thread.first != threadId) Hold(watch, thread.first);
  }
}

// A thread has run the entry's first instruction: the next one in turn runs it, or the int3 goes back in and every
// thread runs again.
void OnStepped(Watch& watch, DWORD threadId) {
  watch.stepping.erase(std::find(watch.stepping.begin(), watch.stepping.end(), threadId));
  if (!watch.stepping.empty()) {
    Hold(watch, threadId);
    Release(watch, watch.stepping.front());
    return;
  }
  if (!watch.cut) Insert(watch);
  while (!watch.held.empty()) Release(watch, *watch.held.begin());
}

// How the child goes on from an exception: ours are handled here, any other is the child's own.
DWORD OnException(Watch& watch, DWORD threadId, const EXCEPTION_RECORD& record) {
  if (record.ExceptionCode == EXCEPTION_BREAKPOINT && record.ExceptionAddress == watch.entry && watch.armed) {
    OnCall(watch, threadId);
  } else if (record.ExceptionCode == EXCEPTION_BREAKPOINT && !watch.loaderBreakPassed) {
    watch.loaderBreakPassed = true;
    if (watch.moduleLoaded) Insert(watch);
  } else if (record.ExceptionCode == EXCEPTION_SINGLE_STEP &&
             std::count(watch.stepping.begin(), watch.stepping.end(), threadId)) {
    OnStepped(watch, threadId);
  } else {
    return DBG_EXCEPTION_NOT_HANDLED;
  }
  return DBG_CONTINUE;
}

// Runs the child under the debugger until it ends; false when it was still running after kWholeRunMs (it is then
// ended). exitCode: the child's.
bool RunToEnd(Watch& watch, DWORD& exitCode) {
  DWORD deadline = GetTickCount() + kWholeRunMs;
  bool timedOut = false;
  for (;;) {
    DEBUG_EVENT event = {};
    DWORD left = static_cast<LONG>(deadline - GetTickCount()) > 0 ? deadline - GetTickCount() : 0;
    if (!WaitForDebugEvent(&event, left)) {
      if (timedOut) return false;  // not even gone once ended
      timedOut = true;
      TerminateProcess(watch.process, 1);
      deadline = GetTickCount() + kEndingMs;
      continue;
    }
    DWORD status = DBG_CONTINUE;
    switch (event.dwDebugEventCode) {
      case CREATE_PROCESS_DEBUG_EVENT:
        if (event.u.CreateProcessInfo.hFile) CloseHandle(event.u.CreateProcessInfo.hFile);
        watch.threads[event.dwThreadId] = event.u.CreateProcessInfo.hThread;
        watch.moduleLoaded = watch.moduleLoaded || event.u.CreateProcessInfo.lpBaseOfImage == watch.moduleBase;
        break;
      case CREATE_THREAD_DEBUG_EVENT:  // held at once while the int3 is out, as the others are
        watch.threads[event.dwThreadId] = event.u.CreateThread.hThread;
        if (!watch.stepping.empty()) Hold(watch, event.dwThreadId);
        break;
      case EXIT_THREAD_DEBUG_EVENT:  // its handle is closed by the system once the event is continued
        watch.held.erase(event.dwThreadId);
        watch.threads.erase(event.dwThreadId);
        break;
      case LOAD_DLL_DEBUG_EVENT:
        if (event.u.LoadDll.hFile) CloseHandle(event.u.LoadDll.hFile);
        if (event.u.LoadDll.lpBaseOfDll != watch.moduleBase || watch.moduleLoaded) break;
        watch.moduleLoaded = true;
        if (watch.loaderBreakPassed) Insert(watch);  // loaded later, by LoadLibrary
        break;
      case EXCEPTION_DEBUG_EVENT:
        status = OnException(watch, event.dwThreadId, event.u.Exception.ExceptionRecord);
        break;
      case EXIT_PROCESS_DEBUG_EVENT:
        exitCode = event.u.ExitProcess.dwExitCode;
        ContinueDebugEvent(event.dwProcessId, event.dwThreadId, status);
        return !timedOut;
    }
    ContinueDebugEvent(event.dwProcessId, event.dwThreadId, status);
  }
}

}  // namespace

int main() {
  const wchar_t* cursor = GetCommandLineW();
  NextArgument(cursor);
  std::wstring count = NextArgument(cursor), module = NextArgument(cursor), function = NextArgument(cursor);
  while (*cursor == L' ' || *cursor == L'\t') ++cursor;
  if (count.empty() || count.size() > 9 || count.find_first_not_of(L"0123456789") != std::wstring::npos || !*cursor) {
    Say(L"usage: cut_at_call N MODULE FUNCTION COMMAND-LINE...  (ends the program as it enters its Nth call of "
        L"FUNCTION; N = 0 counts the calls)");
    return kCouldNotRun;
  }
  Watch watch;
  watch.cutAt = static_cast<unsigned>(std::stoul(count));
  std::string name;  // export names are ASCII: any other character makes a name found nowhere
  for (wchar_t c : function) name += c < 0x80 ? static_cast<char>(c) : '?';
  HMODULE loaded = LoadLibraryW(module.c_str());
  FARPROC entry = loaded ? GetProcAddress(loaded, name.c_str()) : nullptr;
  HMODULE holder = nullptr;  // the module the address is in: another one when the export is forwarded
  if (!entry ||
      !GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          reinterpret_cast<LPCWSTR>(entry), &holder)) {
    Say(L"could not run: " + module + (loaded ? L" has no function " + function : L" cannot be loaded"));
    return kCouldNotRun;
  }
  watch.moduleBase = holder;
  watch.entry = reinterpret_cast<BYTE*>(entry);

  std::wstring commandLine = cursor;
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION child = {};
  if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, TRUE, DEBUG_ONLY_THIS_PROCESS, nullptr, nullptr,
                      &startup, &child)) {
    Say(L"could not run: " + commandLine + L" did not start (error " + std::to_wstring(GetLastError()) + L")");
    return kCouldNotRun;
  }
  watch.process = child.hProcess;
  DWORD exitCode = 0;
  bool ended = RunToEnd(watch, exitCode);
  CloseHandle(child.hThread);
  CloseHandle(child.hProcess);
  if (!ended) {
    Say(L"could not run: still running after " + std::to_wstring(kWholeRunMs / 1000) + L" s and " + Calls(watch.calls) +
        L" of " + function + L", so ended");
    return kCouldNotRun;
  }
  if (watch.cut) {
    Say(L"cut at call " + std::to_wstring(watch.cutAt) + L" of " + function);
    return kCut;
  }
  if (!watch.armed) {
    Say(L"could not run: " + function + L" was never watched (its module not loaded where this program has it); " +
        L"the program ended by itself, exit " + std::to_wstring(exitCode));
    return kCouldNotRun;
  }
  Say(L"ended by itself after " + Calls(watch.calls) + L" of " + function + L", exit " + std::to_wstring(exitCode));
  return kEndedByItself;
}
