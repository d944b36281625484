// zolvane-cli's --move on Wine's real file system and registry: My Documents, holding My Music and files of every
// awkward kind, moved on its volume (renamed) and to a second volume (a drive letter mapped to a folder on
// /dev/shm, copied) with its bytes, times and attributes; a file held open, which touches nothing; and a move
// across volumes ended at several of its writes, renames and deletions, which the next command finishes or
// undoes. Every value, folder and the drive letter are put back.
#include <windows.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "backup_check.h"
#include "cut_at_call.h"
#include "platform/win32/win32_platform.h"
#include "run_program.h"
#include "scratch.h"
#include "second_volume.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/registry_keeper.h"
#include "vocabulary/catalogue.h"
#include "vocabulary/shell_folder_keys.h"
#include "wide_text.h"
#include "wine_check.h"

namespace {

// A file or folder as a move must carry it: a file's bytes, last-write time and read-only attribute, a folder's
// System attribute (Windows XP keeps a folder customised by its desktop.ini so).
struct Entry {
  bool folder = false;
  std::string bytes;
  ULONGLONG lastWritten = 0;
  DWORD attributes = 0;
  bool operator==(const Entry& other) const {
    return folder == other.folder && bytes == other.bytes && lastWritten == other.lastWritten &&
           attributes == other.attributes;
  }
};
using Tree = std::map<std::wstring, Entry>;  // by path below the tree's folder

void Snap(const std::wstring& root, const std::wstring& below, Tree* tree) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((root + below + L"*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    std::wstring name = below + found.cFileName;
    if (std::wstring(found.cFileName) == L"." || std::wstring(found.cFileName) == L"..") continue;
    Entry& entry = (*tree)[name];
    entry.folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    entry.attributes = found.dwFileAttributes & (entry.folder ? FILE_ATTRIBUTE_SYSTEM : FILE_ATTRIBUTE_READONLY);
    if (entry.folder) {
      Snap(root, name + L"\\", tree);
    } else {
      entry.bytes = ReadFileBytes(root + name);
      entry.lastWritten = (ULONGLONG(found.ftLastWriteTime.dwHighDateTime) << 32) | found.ftLastWriteTime.dwLowDateTime;
    }
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

Tree Snapshot(const std::wstring& folder) {
  Tree tree;
  Snap(folder + L"\\", L"", &tree);
  return tree;
}

// The paths that differ between two trees, or nothing.
std::string Differences(const Tree& expected, const Tree& actual) {
  std::string text;
  for (const auto& [path, entry] : expected) {
    auto found = actual.find(path);
    if (found == actual.end())
      text += " missing: " + Utf8(path);
    else if (!(found->second == entry))
      text += " differs: " + Utf8(path);
  }
  for (const auto& [path, entry] : actual) {
    if (!expected.count(path)) text += " more: " + Utf8(path);
  }
  return text;
}

// A file with these bytes, its last-write time in 2004 (a copy made now would carry today's).
void PutFile(const std::wstring& path, const std::string& bytes, DWORD attributes = 0) {
  for (std::size_t slash = path.find(L'\\', 3); slash != std::wstring::npos; slash = path.find(L'\\', slash + 1))
    CreateDirectoryW(path.substr(0, slash).c_str(), nullptr);
  WriteFileBytes(path, bytes);
  HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  FILETIME time = {0x12345678, 0x01C45A00u + static_cast<DWORD>(bytes.size() % 1000)};
  SetFileTime(file, nullptr, nullptr, &time);
  CloseHandle(file);
  if (attributes != 0) SetFileAttributesW(path.c_str(), attributes);
}

std::string Pattern(std::size_t size) {
  std::string bytes(size, '\0');
  unsigned state = 12345;
  for (char& byte : bytes) byte = static_cast<char>((state = state * 1103515245u + 12345u) >> 24);
  return bytes;
}

const wchar_t* const kTom = L"Tom & Jerry (1)\\a&b (c).txt";

// My Documents as a user keeps it: nested folders, names in Cyrillic and Chinese, with "&" and "(", of 200
// characters, an empty folder, a read-only file, a folder customised by its desktop.ini, a file of 40 MB, and
// My Music.
void MakeDocuments(const std::wstring& root) {
  PutFile(root + L"\\Sub\\Deeper\\nested.txt", "nested");
  PutFile(root +
              L"\\\u0414\u043E\u043A\u0443\u043C\u0435\u043D\u0442\u044B \u4E2D\u6587\\\u0444\u0430\u0439\u043B "
              L"\u6587\u4EF6.txt",
          "\xD1\x84\xD0\xB0\xD0\xB9\xD0\xBB");
  PutFile(root + L"\\" + kTom, "cat and mouse");
  PutFile(root + L"\\" + std::wstring(196, L'n') + L".txt", "long");
  CreateDirectoryW((root + L"\\Empty").c_str(), nullptr);
  PutFile(root + L"\\readonly.txt", "do not write", FILE_ATTRIBUTE_READONLY);
  PutFile(root + L"\\Custom\\desktop.ini", "[.ShellClassInfo]\r\nIconIndex=3\r\n");
  SetFileAttributesW((root + L"\\Custom").c_str(), FILE_ATTRIBUTE_SYSTEM);
  PutFile(root + L"\\big.bin", Pattern(40 << 20));
  PutFile(root + L"\\My Music\\song.mp3", Pattern(3000));
}

RawValue Read(const char* key, const char* name) {
  return ReadRawValue(HKEY_CURRENT_USER, key, name);
}

// The folder's both values, as a relocation writes them.
void Locate(const char* valueName, const std::wstring& stored) {
  WriteRawValue(HKEY_CURRENT_USER, kUserShellFoldersKey, valueName, TextValue(REG_EXPAND_SZ, stored));
  WriteRawValue(HKEY_CURRENT_USER, kShellFoldersKey, valueName, TextValue(REG_SZ, Expanded(stored)));
}

// Where My Documents' User Shell Folders value points, expanded.
std::wstring PersonalNow() {
  return Expanded(UpToNul(Read(kUserShellFoldersKey, "Personal").bytes));
}

ULONGLONG FileIndex(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  BY_HANDLE_FILE_INFORMATION info = {};
  GetFileInformationByHandle(file, &info);
  CloseHandle(file);
  return (ULONGLONG(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
}

bool Holds(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

ProgramRun RunCli(const std::wstring& arguments) {
  return RunAndCapture(Cli(arguments));
}

// Renamed on C:, then copied to the second volume, its values given by a variable; then a file held open, which
// leaves every file and value as it was.
void TestMoves(const std::wstring& scratch, const SecondVolume& volume) {
  const std::wstring docs = scratch + L"\\Docs", renamed = scratch + L"\\Renamed", back = scratch + L"\\Back";
  const std::wstring other = volume.Root() + L"Docs";
  MakeDocuments(docs);
  Locate("Personal", docs);
  Locate("My Music", docs + L"\\My Music");
  const Tree before = Snapshot(docs);
  CHECK_EQ(before.size(), 15u);
  // Wine keeps what is to be carried: the folder's System attribute, the file's read-only one.
  CHECK_EQ(before.at(L"Custom").attributes, static_cast<DWORD>(FILE_ATTRIBUTE_SYSTEM));
  CHECK_EQ(before.at(L"readonly.txt").attributes, static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
  const ULONGLONG bigIndex = FileIndex(docs + L"\\big.bin");

  ProgramRun onOne = RunCli(L"set \"My Documents\" \"" + renamed + L"\" --move");
  CHECK_EQ(onOne.exitCode, 0);
  CHECK_EQ(Differences(before, Snapshot(renamed)), std::string());
  CHECK(!Exists(docs));
  CHECK_EQ(FileIndex(renamed + L"\\big.bin"), bigIndex);  // renamed, not copied
  e2e::CheckFolderValues(HKEY_CURRENT_USER, "My Music", renamed + L"\\My Music");

  // A reference is kept as typed, when it names a variable of the user's environment at logon, which the shell
  // expands it in; one set only where zolvane-cli runs is refused.
  SetEnvironmentVariableW(L"ZOLVANE_MOVE_DRIVE", volume.Root().substr(0, 2).c_str());
  const std::wstring setAcross = L"set \"My Documents\" %ZOLVANE_MOVE_DRIVE%\\Docs --move";
  ProgramRun scriptOnly = RunCli(setAcross);
  CHECK_EQ(scriptOnly.exitCode, 3);
  CHECK(Holds(scriptOnly.err, "%ZOLVANE_MOVE_DRIVE% is set only where this runs"));
  const RawValue userVariable = ReadRawValue(HKEY_CURRENT_USER, "Environment", "ZOLVANE_MOVE_DRIVE");
  CHECK(WriteRawValue(HKEY_CURRENT_USER, "Environment", "ZOLVANE_MOVE_DRIVE",
                      TextValue(REG_SZ, volume.Root().substr(0, 2))));
  ProgramRun across = RunCli(setAcross);
  CHECK(WriteRawValue(HKEY_CURRENT_USER, "Environment", "ZOLVANE_MOVE_DRIVE", userVariable));
  CHECK_EQ(across.exitCode, 0);
  CHECK(Holds(across.out, "My Music: follows My Documents to " + Utf8(other) + "\\My Music\r\n"));
  CHECK_EQ(across.err, std::string());
  CHECK_EQ(Differences(before, Snapshot(other)), std::string());
  CHECK(!Exists(renamed));
  e2e::CheckFolderValues(HKEY_CURRENT_USER, "Personal", L"%ZOLVANE_MOVE_DRIVE%\\Docs");
  e2e::CheckFolderValues(HKEY_CURRENT_USER, "My Music", L"%ZOLVANE_MOVE_DRIVE%\\Docs\\My Music");
  const RawValue personal = Read(kUserShellFoldersKey, "Personal"), music = Read(kUserShellFoldersKey, "My Music");
  auto valuesKept = [&] {
    return Read(kUserShellFoldersKey, "Personal") == personal && Read(kUserShellFoldersKey, "My Music") == music;
  };

  HANDLE held = CreateFileW((other + L"\\" + kTom).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  CHECK(held != INVALID_HANDLE_VALUE);
  ProgramRun inUse = RunCli(L"set \"My Documents\" \"" + back + L"\" --move");
  CloseHandle(held);
  CHECK_EQ(inUse.exitCode, 6);
  CHECK(Holds(inUse.err, Utf8(other + L"\\" + kTom)));
  CHECK_EQ(Differences(before, Snapshot(other)), std::string());
  CHECK(!Exists(back));
  CHECK(valuesKept());
}

// A small My Documents for the cut-off moves: a few files, one of 3 MB copied in three pieces, one read-only.
void MakeSmallDocuments(const std::wstring& root) {
  PutFile(root + L"\\a.txt", "a");
  PutFile(root + L"\\Sub\\b.txt", "bb");
  PutFile(root + L"\\Sub\\Deeper\\c.txt", "ccc");
  PutFile(root + L"\\\u4E2D\u6587 & (x)\\d.txt", "dddd", FILE_ATTRIBUTE_READONLY);
  PutFile(root + L"\\big.bin", Pattern(3 << 20));
}

// Ended at spread calls of each function, then list: every file once, whole, where My Documents' values point,
// and the words say which. Across the cuts, some moves are finished and some undone.
void TestCutOffMoves(const std::wstring& scratch, const SecondVolume& volume) {
  const std::wstring source = scratch + L"\\Cut", target = volume.Root() + L"Cut";
  const std::wstring move = L"set \"My Documents\" " + target + L" --move";
  auto reset = [&] {
    RemoveTree(source);
    RemoveTree(target);
    MakeSmallDocuments(source);
    Locate("Personal", source);
  };
  reset();
  const Tree before = Snapshot(source);
  int finished = 0, undone = 0;
  for (const wchar_t* function : {L"WriteFile", L"MoveFileExW", L"DeleteFileW"}) {
    CutRun counted = RunCutAtCall(0, L"kernel32.dll", function, Cli(move));
    if (!CHECK_EQ(counted.outcome, 1LL)) continue;
    unsigned calls = static_cast<unsigned>(std::stoul(counted.report.substr(counted.report.find(" after ") + 7)));
    std::printf("a whole move: %s\n", counted.report.c_str());
    std::vector<unsigned> cuts;
    for (unsigned i = 1; i <= 4; ++i) {
      unsigned at = calls <= 4 ? i : (calls * i + 4) / 5;
      if (at <= calls && (cuts.empty() || at != cuts.back())) cuts.push_back(at);
    }
    for (unsigned at : cuts) {
      reset();
      CutRun cut = RunCutAtCall(at, L"kernel32.dll", function, Cli(move));
      CHECK(cut.Cut());
      ProgramRun next = RunCli(L"list");
      CHECK_EQ(next.exitCode, 0);
      bool there = PersonalNow() == target;
      const std::wstring& where = there ? target : source;
      const std::wstring& notThere = there ? source : target;
      std::string what = Utf8(function) + " " + std::to_string(at) + ": ";
      CHECK_EQ(what + Differences(before, Snapshot(where)), what);
      CHECK_EQ(what + (Exists(notThere) ? "left at " + Utf8(notThere) : ""), what);
      bool saysFinished = Holds(next.err, "A move of My Documents that was cut off has been finished");
      bool saysUndone = Holds(next.err, "A move of My Documents that was cut off has been undone");
      CHECK(!(saysFinished && !there) && !(saysUndone && there));
      finished += saysFinished;
      undone += saysUndone;
    }
  }
  std::printf("cut-off moves finished: %d, undone: %d\n", finished, undone);
  CHECK(finished > 0 && undone > 0);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  cliPath = Wide(e2e::WindowsPath(argv[1]));
  e2e::RegistryKeeper keeper;
  for (const ShellFolder& folder : kShellFolders) {
    keeper.Keep(RootOf(folder.hive), kUserShellFoldersKey, folder.valueName);
    keeper.Keep(RootOf(folder.hive), kShellFoldersKey, folder.valueName);
  }
  const std::wstring scratch = L"C:\\zolvane-move-" + std::to_wstring(GetCurrentProcessId());
  CreateDirectoryW(scratch.c_str(), nullptr);
  {
    SecondVolume volume;
    platform::Win32Platform win32;
    platform::VolumeInfo onC, onOther;
    if (CHECK(volume.ready()) &&
        CHECK(win32.platform().fileTree.Volume(Utf8(scratch), &onC) == 0 &&
              win32.platform().fileTree.Volume(Utf8(volume.Root()) + "Docs", &onOther) == 0) &&
        CHECK(onC.id != onOther.id)) {
      TestMoves(scratch, volume);
      TestCutOffMoves(scratch, volume);
    }
  }
  RemoveTree(scratch);
  return wine_check::Summary();
}
