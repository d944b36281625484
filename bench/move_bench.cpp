// Moves timed under Wine: the time of a move on one volume against the size moved, and a move across volumes
// against Wine's own copy-and-delete and against the native one. Every tree is made before a round's clock starts
// and removed after it stops, and each move's result is checked, so that a figure never times a move that failed.
#include "bench/move_bench.h"

#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench/interleaved_rounds.h"
#include "bench/started_program.h"
#include "tests/wine/second_volume.h"
#include "vocabulary/shell_folder_keys.h"

namespace bench {

namespace {

constexpr ULONGLONG kBigFileBytes = 1ull << 30;
constexpr ULONGLONG kSmallFileBytes = 1ull << 20;
// The tree moved across volumes: 10 folders of 10 folders of 30 files, of 1 to 26 KB each.
constexpr int kTopFolders = 10;
constexpr int kSubFolders = 10;
constexpr int kFilesPerFolder = 30;
constexpr DWORD kGiveUpNativeMs = 60000;
// A move of the tree under Wine, by either program.
constexpr DWORD kGiveUpMoveMs = 300000;
// A round of the tree's moves takes over a minute under Wine (zolvane-cli's own move about one), so the tree is
// moved in a fifth of the bench's rounds, three at least.
int RoundsAcross(int rounds) {
  return rounds / 5 > 3 ? rounds / 5 : 3;
}

struct TreeSize {
  ULONGLONG files = 0;
  ULONGLONG bytes = 0;
  bool operator==(const TreeSize& other) const { return files == other.files && bytes == other.bytes; }
};

void CountInto(const std::wstring& folder, TreeSize* size) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      CountInto(folder + L"\\" + name, size);
    } else {
      ++size->files;
      size->bytes += (ULONGLONG(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    }
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

TreeSize SizeOf(const std::wstring& folder) {
  TreeSize size;
  CountInto(folder, &size);
  return size;
}

std::string Describe(const TreeSize& size) {
  char megabytes[32];
  std::snprintf(megabytes, sizeof megabytes, "%.1f MB", size.bytes / 1e6);
  return std::to_string(size.files) + " files, " + megabytes;
}

// A file of that size whose bytes need not all be written: its end set, the rest left to the file system.
void MakeFileOfSize(const std::wstring& path, ULONGLONG bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  LARGE_INTEGER end;
  end.QuadPart = static_cast<LONGLONG>(bytes);
  bool made = file != INVALID_HANDLE_VALUE && SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  if (!made) Fail("cannot make " + Utf8(path) + " (error " + std::to_string(GetLastError()) + ")");
}

void MakeTree(const std::wstring& root) {
  std::string bytes(26 * 1024, '\0');
  unsigned state = 12345;
  for (char& byte : bytes) byte = static_cast<char>((state = state * 1103515245u + 12345u) >> 24);
  CreateDirectoryW(root.c_str(), nullptr);
  int index = 0;
  for (int top = 0; top < kTopFolders; ++top) {
    std::wstring topFolder = root + L"\\Folder " + std::to_wstring(top);
    CreateDirectoryW(topFolder.c_str(), nullptr);
    for (int sub = 0; sub < kSubFolders; ++sub) {
      std::wstring folder = topFolder + L"\\Sub " + std::to_wstring(sub);
      CreateDirectoryW(folder.c_str(), nullptr);
      for (int i = 0; i < kFilesPerFolder; ++i, ++index) {
        std::size_t size = 1024 * (1 + (index * 7) % 26);
        WriteFileBytes(folder + L"\\file " + std::to_wstring(index) + L".bin", bytes.substr(0, size));
      }
    }
  }
}

// My Documents' both values, as a relocation writes them: where the next move starts from.
void LocateMyDocuments(const std::wstring& folder) {
  if (!WriteRawValue(HKEY_CURRENT_USER, kUserShellFoldersKey, "Personal", TextValue(REG_EXPAND_SZ, folder)) ||
      !WriteRawValue(HKEY_CURRENT_USER, kShellFoldersKey, "Personal", TextValue(REG_SZ, folder)))
    Fail("cannot write My Documents' values");
}

std::string UnixPath(const std::wstring& path) {
  using UnixFileName = char*(CDECL*)(const WCHAR*);
  auto unixFileName = reinterpret_cast<UnixFileName>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  char* name = unixFileName ? unixFileName(path.c_str()) : nullptr;
  if (!name) Fail("no Unix name for " + Utf8(path) + ": not running under Wine?");
  std::string unixName = name;
  HeapFree(GetProcessHeap(), 0, name);
  return unixName;
}

// Commands run by the machine's own shell, outside Wine, and the milliseconds the shell measured them to take.
// Wine starts a Unix program without a handle to wait on, so the shell writes its figure (or "failed") to a file
// that is waited for. The commands must hold no double quote, which Wine's command line would take.
double NativeMs(const std::string& commands) {
  const std::wstring done = Wide(TempFile("zolvane_bench_native.txt"));
  DeleteFileW(done.c_str());
  const std::string doneUnix = UnixPath(done);
  std::string script = "s=$(/bin/date +%s%N); if " + commands +
                       "; then e=$(/bin/date +%s%N); echo $(((e - s) / 1000)); else echo failed; fi >'" + doneUnix +
                       ".part'; /bin/mv '" + doneUnix + ".part' '" + doneUnix + "'";
  std::vector<char> line;
  std::string commandLine = "/bin/sh -c \"" + script + "\"";
  line.assign(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
    Fail("cannot start /bin/sh (error " + std::to_string(GetLastError()) + ")");
  if (info.hThread) CloseHandle(info.hThread);
  if (info.hProcess) CloseHandle(info.hProcess);
  double start = NowMs();
  while (!Exists(done)) {
    if (NowMs() - start > kGiveUpNativeMs) Fail("the shell did not finish: " + commands);
    Sleep(10);
  }
  std::string figure = ReadFileBytes(done);
  DeleteFileW(done.c_str());
  if (figure.empty() || figure[0] < '0' || figure[0] > '9') Fail("the shell failed: " + commands);
  return std::stod(figure) / 1000;
}

std::string QuotedPath(const std::wstring& path) {
  return Quoted(Utf8(path));
}

std::string MoveCommand(const std::string& cli, const std::wstring& target) {
  return cli + " set \"My Documents\" " + QuotedPath(target) + " --move";
}

// The same move of a file of 1 MB and of one of 1 GB on C:, each renamed back after its round.
void BenchMoveOnOneVolume(VerdictTable& table, int rounds, const std::string& cli, const std::wstring& scratch) {
  auto timedMove = [&](const std::wstring& name, ULONGLONG bytes) {
    const std::wstring from = scratch + L"\\" + name, to = scratch + L"\\" + name + L" moved";
    CreateDirectoryW(from.c_str(), nullptr);
    MakeFileOfSize(from + L"\\" + name + L".bin", bytes);
    return [=] {
      LocateMyDocuments(from);
      double ms = TimeToExit(MoveCommand(cli, to));
      if (Exists(from) || !(SizeOf(to) == TreeSize{1, bytes})) Fail("the move to " + Utf8(to) + " did not happen");
      if (!MoveFileW(to.c_str(), from.c_str())) Fail("cannot rename " + Utf8(to) + " back");
      return ms;
    };
  };
  std::vector<std::vector<double>> times =
      Interleave(rounds, {timedMove(L"small", kSmallFileBytes), timedMove(L"big", kBigFileBytes)});
  table.AddRun(
      "Move on one volume (zolvane-cli set --move, renamed): a folder with one file of 1 GB, against one with a file "
      "of 1 MB",
      "ms", Target{Target::Kind::kAtMost, 1.5}, times[1], times[0]);
}

// The same tree moved from C: to the second volume by zolvane-cli, by xcopy and rmdir, and by cp -a and rm -r;
// the source made again from a master copy before each round, the target removed after it.
void BenchMoveAcrossVolumes(VerdictTable& table, int rounds, const std::string& cli, const std::wstring& scratch,
                            const SecondVolume& volume) {
  const std::wstring master = scratch + L"\\master", source = scratch + L"\\tree", target = volume.Root() + L"tree";
  MakeTree(master);
  const TreeSize size = SizeOf(master);
  const std::string masterUnix = UnixPath(master), sourceUnix = UnixPath(source);
  const std::string targetUnix = volume.UnixFolder() + "/tree";
  auto round = [&](const std::string& who, const std::function<double()>& move) {
    return [=] {
      NativeMs("/bin/rm -rf '" + sourceUnix + "' '" + targetUnix + "' && /bin/cp -a '" + masterUnix + "' '" +
               sourceUnix + "'");
      LocateMyDocuments(source);
      double ms = move();
      if (Exists(source) || !(SizeOf(target) == size)) Fail(who + " did not move the tree whole");
      NativeMs("/bin/rm -rf '" + targetUnix + "'");
      return ms;
    };
  };
  const std::string xcopy =
      "C:\\windows\\system32\\xcopy.exe " + QuotedPath(source) + " " + QuotedPath(target) + " /E /H /K /I";
  const std::string rmdir = "C:\\windows\\system32\\cmd.exe /c rmdir /S /Q " + QuotedPath(source);
  const int roundsAcross = RoundsAcross(rounds);
  std::vector<std::vector<double>> times = Interleave(
      roundsAcross,
      {round("zolvane-cli", [&] { return TimeToExit(MoveCommand(cli, target), kGiveUpMoveMs); }),
       round("xcopy and rmdir", [&] { return TimeToExit(xcopy, kGiveUpMoveMs) + TimeToExit(rmdir, kGiveUpMoveMs); }),
       round("cp and rm", [&] {
         return NativeMs("/bin/cp -a '" + sourceUnix + "' '" + targetUnix + "' && /bin/rm -r '" + sourceUnix + "'");
       })});
  std::string what =
      "Move across volumes (zolvane-cli set --move, C: to a drive letter on /dev/shm, copied and checked): " +
      Describe(size) + " in " + std::to_string(kTopFolders * (1 + kSubFolders)) + " folders (" +
      std::to_string(roundsAcross) + " rounds), against ";
  table.AddRun(what + "Wine's xcopy /E /H /K /I and rmdir /S /Q", "ms", Target{Target::Kind::kAtMost, 1.0}, times[0],
               times[1]);
  table.AddRun(what + "native cp -a and rm -r (timed by the shell: the floor)", "ms", Target{Target::Kind::kNone, 0},
               times[0], times[2]);
}

// A folder of C: for the moves, removed with all in it however the bench ends.
class ScratchFolder {
 public:
  ScratchFolder() : path_(L"C:\\zolvane-bench-move-" + std::to_wstring(GetCurrentProcessId())) {
    RemoveTree(path_);
    CreateDirectoryW(path_.c_str(), nullptr);
  }
  ~ScratchFolder() { RemoveTree(path_); }
  const std::wstring& path() const { return path_; }

 private:
  std::wstring path_;
};

}  // namespace

void BenchMoves(VerdictTable& table, int rounds, const std::string& cliExe) {
  const std::string cli = Quoted(cliExe);
  ScratchFolder scratch;
  BenchMoveOnOneVolume(table, rounds, cli, scratch.path());
  SecondVolume volume;
  if (!volume.ready()) Fail("no drive letter could be mapped to a folder of /dev/shm");
  BenchMoveAcrossVolumes(table, rounds, cli, scratch.path(), volume);
}

}  // namespace bench
