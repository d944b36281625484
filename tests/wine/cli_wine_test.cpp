// zolvane-cli.exe under Wine, as a script runs it, against the prefix's real registry and regedit: list, set,
// show and restore read back from both keys, restore --all, a backup imported again, a foreign file refused, a
// layout printed and applied (again, edited, and refused halfway), check, and the exit codes. Every value of the
// fifteen folders is put back as it was.
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <string>
#include <vector>

#include "run_program.h"
#include "scratch.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/registry_keeper.h"
#include "vocabulary/catalogue.h"
#include "wide_text.h"
#include "wine_check.h"

namespace {

std::wstring cliPath;

ProgramRun Cli(const std::wstring& arguments, const std::wstring& folder = std::wstring()) {
  return RunAndCapture(L"\"" + cliPath + L"\" " + arguments, folder);
}

HKEY HiveOf(const ShellFolder& folder) {
  return folder.hive == platform::kHkeyLocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

RawValue Read(const ShellFolder& folder, const char* key) {
  return ReadRawValue(HiveOf(folder), key, folder.valueName);
}

// A string value's text, up to its terminating zero.
std::wstring TextOf(const RawValue& value) {
  std::wstring units = Utf16LeUnits(value.bytes);
  return units.substr(0, units.find(L'\0'));
}

std::wstring Expanded(const std::wstring& text) {
  wchar_t buffer[4096];
  DWORD length = ExpandEnvironmentStringsW(text.c_str(), buffer, 4096);
  return length == 0 || length > 4096 ? text : std::wstring(buffer);
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  CHECK_EQ(text.substr(start), std::string());
  return lines;
}

const ShellFolder& Folder(const char* displayName) {
  return *FindShellFolder(displayName);
}

// Both keys' values of all fifteen folders, put back when a test ends: the prefix is shared with the e2e tests.
class SavedFolders {
 public:
  SavedFolders() {
    for (const ShellFolder& folder : kShellFolders) {
      saved_.push_back(Read(folder, kUserShellFoldersKey));
      saved_.push_back(Read(folder, kShellFoldersKey));
    }
  }
  ~SavedFolders() {
    std::size_t i = 0;
    for (const ShellFolder& folder : kShellFolders) {
      WriteRawValue(HiveOf(folder), kUserShellFoldersKey, folder.valueName, saved_[i++]);
      WriteRawValue(HiveOf(folder), kShellFoldersKey, folder.valueName, saved_[i++]);
    }
  }
  const RawValue& UserShellFolders(const ShellFolder& folder) const {
    return saved_[2 * static_cast<std::size_t>(&folder - kShellFolders.data())];
  }

 private:
  std::vector<RawValue> saved_;
};

// Both keys hold path for the folder: unexpanded as REG_EXPAND_SZ, expanded as REG_SZ.
void CheckStored(const ShellFolder& folder, const std::wstring& path) {
  RawValue userShell = Read(folder, kUserShellFoldersKey);
  RawValue shell = Read(folder, kShellFoldersKey);
  CHECK_EQ(static_cast<long long>(userShell.type), REG_EXPAND_SZ);
  CHECK_EQ(ShowUtf16Le(userShell.bytes), ShowUtf16Le(Utf16LeWithTerminator(path)));
  CHECK_EQ(static_cast<long long>(shell.type), REG_SZ);
  CHECK_EQ(ShowUtf16Le(shell.bytes), ShowUtf16Le(Utf16LeWithTerminator(Expanded(path))));
}

void TestListMatchesTheRegistry() {
  ProgramRun run = Cli(L"list");
  CHECK_EQ(run.exitCode, 0);
  std::vector<std::string> lines = Lines(run.out);
  CHECK_EQ(lines.size(), kShellFolderCount);
  for (std::size_t i = 0; i < lines.size() && i < kShellFolderCount; ++i) {
    const ShellFolder& folder = *ShellFolderAtListPosition(static_cast<int>(i));
    std::wstring stored = TextOf(Read(folder, kUserShellFoldersKey));
    std::string hive = folder.hive == platform::kHkeyLocalMachine ? "HKLM" : "HKCU";
    CHECK_EQ(lines[i],
             std::string(folder.displayName) + "\t" + hive + "\t" + Utf8(stored) + "\t" + Utf8(Expanded(stored)));
  }
}

// set by one name and show by the other, then restore: each read back from both keys.
void TestSetShowRestore(const char* displayName, const std::wstring& folderArgument, const std::wstring& path) {
  SavedFolders saved;
  const ShellFolder& folder = Folder(displayName);
  ProgramRun set = Cli(L"set \"" + folderArgument + L"\" \"  " + path + L"  \"");
  CHECK_EQ(set.exitCode, 0);
  CHECK_EQ(set.out, std::string("Successfully done!\r\n"));
  CheckStored(folder, path);
  ProgramRun show = Cli(L"show \"" + Wide(displayName) + L"\"");
  CHECK_EQ(show.exitCode, 0);
  CHECK_EQ(show.out, Utf8(Expanded(path)) + "\r\n");

  ProgramRun restore = Cli(L"restore \"" + folderArgument + L"\"");
  CHECK_EQ(restore.exitCode, 0);
  CHECK_EQ(restore.out, std::string("Restored the default values!\r\n"));
  CheckStored(folder, Wide(folder.stockDefaultPath));
}

void TestRestoreAll() {
  SavedFolders saved;
  ProgramRun run = Cli(L"restore --all");
  CHECK_EQ(run.exitCode, 0);
  CHECK_EQ(run.err, std::string());
  std::vector<std::string> lines = Lines(run.out);
  CHECK_EQ(lines.size(), kShellFolderCount);
  for (std::size_t i = 0; i < lines.size() && i < kShellFolderCount; ++i) {
    const ShellFolder& folder = *ShellFolderAtListPosition(static_cast<int>(i));
    CHECK_EQ(lines[i], std::string(folder.displayName) + ": Restored the default values!");
    CheckStored(folder, Wide(folder.stockDefaultPath));
  }
}

// A file named relative to the program's folder lands there, though regedit runs elsewhere.
void TestBackupThenImportBringsAValueBack() {
  SavedFolders saved;
  const ShellFolder& myMusic = Folder("My Music");
  std::wstring file = TempFolder() + L"zolvane-cli-backup.bak";
  DeleteFileW(file.c_str());
  ProgramRun backup = Cli(L"backup zolvane-cli-backup.bak", TempFolder());
  CHECK_EQ(backup.exitCode, 0);
  CHECK_EQ(backup.out, "Shell folder registry keys are now backed up.\r\nBackup file: " + Utf8(file) + "\r\n");
  CHECK(GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES);

  CHECK_EQ(Cli(L"set \"My Music\" D:\\ElsewhereMusic").exitCode, 0);
  ProgramRun import = Cli(L"import \"" + file + L"\"");
  CHECK_EQ(import.exitCode, 0);
  CHECK_EQ(import.out, "Restored the special folder paths from \"" + Utf8(file) + "\".\r\n");
  CHECK_EQ(ShowUtf16Le(Read(myMusic, kUserShellFoldersKey).bytes), ShowUtf16Le(saved.UserShellFolders(myMusic).bytes));
  DeleteFileW(file.c_str());
}

// A file that would also set a key of its own is refused as a whole: not even its shell-folder value is set.
void TestImportOfAForeignKeyIsRefused() {
  const char* const kForeignKey = "Software\\ZolvaneCliForeign";
  const ShellFolder& myMusic = Folder("My Music");
  RawValue before = Read(myMusic, kUserShellFoldersKey);
  std::wstring file = TempFolder() + L"zolvane-cli-foreign.reg";
  std::string content =
      "Windows Registry Editor Version 5.00\r\n\r\n"
      "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders]\r\n"
      "\"My Music\"=\"D:\\\\ForeignMusic\"\r\n\r\n"
      "[HKEY_CURRENT_USER\\Software\\ZolvaneCliForeign]\r\n\"planted\"=\"yes\"\r\n";
  HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(handle, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
  CloseHandle(handle);

  ProgramRun import = Cli(L"import \"" + file + L"\"");
  CHECK_EQ(import.exitCode, 3);
  CHECK_EQ(import.out, std::string());
  CHECK(import.err.find("nothing was imported") != std::string::npos);
  CHECK(Read(myMusic, kUserShellFoldersKey) == before);
  HKEY planted = nullptr;
  CHECK(RegOpenKeyExW(HKEY_CURRENT_USER, Wide(kForeignKey).c_str(), 0, KEY_QUERY_VALUE, &planted) != ERROR_SUCCESS);
  DeleteFileW(file.c_str());
}

// The layout printed applies again and changes nothing; an edited one moves three folders, read back from both
// keys with their types; one whose third folder is refused leaves all three as they were.
void TestLayoutApply() {
  SavedFolders saved;
  std::wstring file = TempFolder() + L"zolvane-layout.txt";
  ProgramRun layout = Cli(L"layout");
  CHECK_EQ(layout.exitCode, 0);
  WriteFileBytes(file, layout.out);
  ProgramRun again = Cli(L"apply \"" + file + L"\"");
  CHECK_EQ(again.exitCode, 0);
  CHECK_EQ(Lines(again.out).back(), std::string("0 moved, 15 unchanged."));

  const std::wstring edited =
      L"Desktop = D:\\Layout Desk\r\nshared music = %ALLUSERSPROFILE%\\Layout Music\r\n"
      L"Personal = " +
      std::wstring(kCyrillicGreekCjkPath) + L"\r\n";
  WriteFileBytes(file, "\xFF\xFE" + std::string(reinterpret_cast<const char*>(edited.c_str()), edited.size() * 2));
  ProgramRun dryRun = Cli(L"apply \"" + file + L"\" --dry-run");
  CHECK_EQ(dryRun.exitCode, 2);
  CHECK_EQ(Lines(dryRun.out).front(),
           "Desktop: would move: " + Utf8(TextOf(saved.UserShellFolders(Folder("Desktop")))) + " -> D:\\Layout Desk");
  CHECK(Read(Folder("Desktop"), kUserShellFoldersKey) == saved.UserShellFolders(Folder("Desktop")));
  ProgramRun apply = Cli(L"apply \"" + file + L"\"");
  CHECK_EQ(apply.exitCode, 0);
  CHECK_EQ(Lines(apply.out).front(), std::string("Desktop: moved (the folder \"D:\\Layout Desk\" does not exist yet)"));
  CHECK_EQ(Lines(apply.out).back(), std::string("3 moved, 0 unchanged."));
  CheckStored(Folder("Desktop"), L"D:\\Layout Desk");
  CheckStored(Folder("Shared Music"), L"%ALLUSERSPROFILE%\\Layout Music");
  CheckStored(Folder("My Documents"), kCyrillicGreekCjkPath);
  CHECK_EQ(Lines(Cli(L"apply \"" + file + L"\"").out).back(), std::string("0 moved, 3 unchanged."));

  // HKCU's Shell Folders refuses every write: the two shared folders move, the third is refused.
  RawValue video = Read(Folder("Shared Video"), kUserShellFoldersKey);
  RawValue music = Read(Folder("Shared Music"), kShellFoldersKey);
  RawValue pictures = Read(Folder("My Pictures"), kShellFoldersKey);
  WriteFileBytes(file, "Shared Video = V:\\Second\r\nShared Music = M:\\Second\r\nMy Pictures = P:\\Second\r\n");
  {
    e2e::ShellFoldersRefusal refusal;
    if (!CHECK(refusal.refused())) return;
    ProgramRun refused = Cli(L"apply \"" + file + L"\"");
    CHECK_EQ(refused.exitCode, 5);
    CHECK_EQ(refused.out,
             std::string("Shared Video: put back\r\nShared Music: put back\r\nMy Pictures: Access Denied. No "
                         "changes were made.\r\n"));
  }
  CHECK(Read(Folder("Shared Video"), kUserShellFoldersKey) == video);
  CHECK(Read(Folder("Shared Music"), kShellFoldersKey) == music);
  CHECK(Read(Folder("My Pictures"), kShellFoldersKey) == pictures);
  DeleteFileW(file.c_str());
}

std::wstring Environment(const wchar_t* name) {
  wchar_t value[1024] = L"";
  DWORD length = GetEnvironmentVariableW(name, value, 1024);
  return length < 1024 ? std::wstring(value, length) : std::wstring();
}

// "PC,Ann,2026-12-09T01:57:00,,ok,": check --csv's row of a machine with no problem, of this computer and user.
bool IsOkRow(const std::string& row, const std::wstring& user) {
  std::string who = Utf8(Environment(L"COMPUTERNAME")) + "," + Utf8(user) + ",";
  std::string time = row.substr(std::min(row.size(), who.size()), 19);
  return row.rfind(who, 0) == 0 && time.size() == 19 && time[10] == 'T' && row.substr(who.size() + 19) == ",,ok,";
}

// A folder pointed at a drive that is not there is a problem check names; a file that is no layout is refused.
void TestCheckAndRefusedLayout() {
  SavedFolders saved;
  ProgramRun clean = Cli(L"check --csv");
  std::printf("check of this prefix: exit %lld\n%s", clean.exitCode, clean.out.c_str());
  CHECK_EQ(clean.exitCode, 0);
  CHECK_EQ(Lines(clean.out).size(), 2u);
  CHECK(IsOkRow(Lines(clean.out).back(), Environment(L"USERNAME")));
  CHECK_EQ(Cli(L"set \"My Music\" Q:\\Nowhere").exitCode, 0);
  ProgramRun check = Cli(L"check");
  CHECK_EQ(check.exitCode, 2);
  CHECK(check.out.find("My Music\tlocation missing\t\"Q:\\Nowhere\" does not exist\r\n") != std::string::npos);
  ProgramRun csv = Cli(L"check --csv");
  CHECK_EQ(csv.exitCode, 2);
  CHECK(csv.out.find(",My Music,location missing,") != std::string::npos);

  std::wstring file = TempFolder() + L"zolvane-no-layout.txt";
  WriteFileBytes(file, "My Music = D:\\A\r\nDownloads = D:\\B\r\n");
  RawValue before = Read(Folder("My Music"), kUserShellFoldersKey);
  ProgramRun refused = Cli(L"apply \"" + file + L"\"");
  CHECK_EQ(refused.exitCode, 3);
  CHECK(refused.err.find("Line 2: Downloads = D:\\B") != std::string::npos);
  CHECK(Read(Folder("My Music"), kUserShellFoldersKey) == before);
  DeleteFileW(file.c_str());
}

void TestExitCodes() {
  ProgramRun unknown = Cli(L"show Nowhere");
  CHECK_EQ(unknown.exitCode, 1);
  CHECK(unknown.err.find("\"Nowhere\"") != std::string::npos);
  ProgramRun none = Cli(L"");
  CHECK_EQ(none.exitCode, 1);
  CHECK(none.err.find("Usage:") != std::string::npos);
  ProgramRun help = Cli(L"/?");
  CHECK_EQ(help.exitCode, 0);
  CHECK_EQ(help.out.rfind("Usage:\r\n", 0), 0u);
  CHECK_EQ(Cli(L"-h").out, help.out);
  ProgramRun version = Cli(L"--version");
  CHECK_EQ(version.exitCode, 0);
  CHECK_EQ(version.out.rfind("zolvane-cli ", 0), 0u);
  CHECK_EQ(Cli(L"show personal").exitCode, 0);
  RawValue before = Read(Folder("My Documents"), kUserShellFoldersKey);
  ProgramRun relative = Cli(L"set Personal relative\\docs");
  CHECK_EQ(relative.exitCode, 3);
  CHECK_EQ(relative.err,
           std::string("The path \"relative\\docs\" cannot be where a folder lives: it is not a full path. "
                       "Nothing was written.\r\n"));
  CHECK(Read(Folder("My Documents"), kUserShellFoldersKey) == before);
}

// Where Wine's shell puts a folder on a system of this language.
std::wstring ShellStockPath(const ShellFolder& folder) {
  wchar_t path[MAX_PATH] = L"";
  HRESULT result = SHGetFolderPathW(nullptr, folder.csidl | CSIDL_FLAG_DONT_VERIFY, nullptr, SHGFP_TYPE_DEFAULT, path);
  CHECK_EQ(static_cast<long long>(result), static_cast<long long>(S_OK));
  return path;
}

// On a German Windows restore writes where the shell keeps each folder, from the profile's variable on.
void TestRestoreOnAGermanSystem() {
  CHECK_EQ(static_cast<long long>(PRIMARYLANGID(GetSystemDefaultUILanguage())), static_cast<long long>(LANG_GERMAN));
  SavedFolders saved;
  const ShellFolder& personal = Folder("My Documents");
  CHECK_EQ(Cli(L"set Personal D:\\Elsewhere").exitCode, 0);
  ProgramRun restore = Cli(L"restore \"My Documents\"");
  CHECK_EQ(restore.exitCode, 0);
  CHECK_EQ(restore.out, std::string("Restored the default values!\r\n"));
  CheckStored(personal, L"%USERPROFILE%\\Documents");

  ProgramRun all = Cli(L"restore --all");
  CHECK_EQ(all.exitCode, 0);
  for (const ShellFolder& folder : kShellFolders) {
    CHECK_EQ(Utf8(TextOf(Read(folder, kShellFoldersKey))), Utf8(ShellStockPath(folder)));
    std::wstring stored = TextOf(Read(folder, kUserShellFoldersKey));
    CHECK_EQ(Utf8(Expanded(stored)), Utf8(ShellStockPath(folder)));
  }
  // Each per-user folder lies in the profile, and is stored from %USERPROFILE% on.
  for (const ShellFolder& folder : kShellFolders) {
    if (folder.hive != platform::kHkeyCurrentUser) continue;
    CHECK_EQ(Utf8(TextOf(Read(folder, kUserShellFoldersKey))).rfind("%USERPROFILE%\\", 0), 0u);
  }
}

// When each of the four keys was last written.
std::vector<ULONGLONG> KeysLastWritten() {
  std::vector<ULONGLONG> times;
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    for (const char* key : {kUserShellFoldersKey, kShellFoldersKey}) {
      HKEY opened = nullptr;
      FILETIME written = {};
      if (RegOpenKeyExW(root, Wide(key).c_str(), 0, KEY_QUERY_VALUE, &opened) == ERROR_SUCCESS) {
        RegQueryInfoKeyW(opened, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                         nullptr, &written);
        RegCloseKey(opened);
      }
      times.push_back((static_cast<ULONGLONG>(written.dwHighDateTime) << 32) | written.dwLowDateTime);
    }
  }
  return times;
}

// The README's two scripts, copied to a share as an administrator would, with zolvane-cli.exe and a layout
// beside them, and run by cmd at the logons of users whose names cmd could read as syntax.
class LogonScripts {
 public:
  explicit LogonScripts(const std::wstring& scriptsFolder) : share_(TempFolder() + L"zolvane netlogon (test)\\") {
    RemoveTree(share_.substr(0, share_.size() - 1));
    CreateDirectoryW(share_.c_str(), nullptr);
    CreateDirectoryW((share_ + L"logs").c_str(), nullptr);
    CreateDirectoryW((share_ + L"temp").c_str(), nullptr);
    for (const wchar_t* script : {L"apply-layout.cmd", L"check-folders.cmd"}) {
      CHECK(CopyFileW((scriptsFolder + L"\\" + script).c_str(), (share_ + script).c_str(), FALSE));
    }
    CHECK(CopyFileW(cliPath.c_str(), (share_ + L"zolvane-cli.exe").c_str(), FALSE));
    for (const wchar_t* name : {L"USERNAME", L"TEMP", L"TMP"}) saved_.emplace_back(name, Environment(name));
  }
  ~LogonScripts() {
    for (const auto& [name, value] : saved_) SetEnvironmentVariableW(name.c_str(), value.c_str());
    RemoveTree(share_.substr(0, share_.size() - 1));
  }

  const std::wstring& share() const { return share_; }
  void WriteLayout(const std::wstring& text) { WriteFileBytes(share_ + L"layout.txt", Utf8(text)); }
  // The user logs on: their name and temporary folder, as Windows sets them.
  void LogOn(const std::wstring& user) {
    std::wstring temp = share_ + L"temp\\" + user;
    CreateDirectoryW(temp.c_str(), nullptr);
    SetEnvironmentVariableW(L"USERNAME", user.c_str());
    SetEnvironmentVariableW(L"TEMP", temp.c_str());
    SetEnvironmentVariableW(L"TMP", temp.c_str());
  }
  ProgramRun Run(const wchar_t* script) {
    return RunAndCapture(L"cmd.exe /c \"\"" + share_ + script + L"\"\"", share_);
  }
  std::string Log() const { return ReadFileBytes(share_ + L"logs\\" + Environment(L"COMPUTERNAME") + L".log"); }
  std::string Csv() const { return ReadFileBytes(share_ + L"logs\\" + Environment(L"COMPUTERNAME") + L".csv"); }

 private:
  std::wstring share_;
  std::vector<std::pair<std::wstring, std::wstring>> saved_;
};

// "12/9/2026 5:46 AM PC Tom&Jerry apply exit 0: 1 moved, ...": a log line names the user and ends with the
// exit code and the summary.
bool LogEndsWith(const std::string& log, const std::wstring& user, const std::string& ending) {
  std::vector<std::string> lines = Lines(log);
  std::string expected = " " + Utf8(Environment(L"COMPUTERNAME")) + " " + Utf8(user) + " " + ending;
  return !lines.empty() && lines.back().size() > expected.size() &&
         lines.back().compare(lines.back().size() - expected.size(), expected.size(), expected) == 0;
}

// Each user's logon makes their folder on the share with the folders above it (--create) and moves My Documents
// there, passes over the shared folder's line (--hive HKCU), and logs it; the check writes the machine's ok row.
void TestLogonScripts(const std::wstring& scriptsFolder) {
  SavedFolders saved;
  LogonScripts scripts(scriptsFolder);
  const std::wstring documents = scripts.share() + L"home\\%USERNAME%\\My Documents";
  scripts.WriteLayout(L"My Documents = " + documents + L"\r\nShared Music = " + scripts.share() + L"Music\r\n");
  RawValue music = Read(Folder("Shared Music"), kShellFoldersKey);
  for (const wchar_t* user : {L"Smith (Admin)", L"Tom&Jerry", L"50%Off"}) {
    scripts.LogOn(user);
    ProgramRun first = scripts.Run(L"apply-layout.cmd");
    CHECK_EQ(first.exitCode, 0);
    CHECK_EQ(first.out + first.err, std::string());
    CHECK(Exists(Expanded(documents)));
    CheckStored(Folder("My Documents"), documents);
    CHECK(LogEndsWith(scripts.Log(), user, "apply exit 0: 1 moved, 0 unchanged, 1 passed over."));
    // The next logon finds every folder in place: it writes nothing, and says so.
    std::vector<ULONGLONG> written = KeysLastWritten();
    Sleep(20);
    ProgramRun second = scripts.Run(L"apply-layout.cmd");
    CHECK_EQ(second.exitCode, 0);
    CHECK(KeysLastWritten() == written);
    CHECK(LogEndsWith(scripts.Log(), user, "apply exit 0: 0 moved, 1 unchanged, 1 passed over."));

    CHECK_EQ(scripts.Run(L"check-folders.cmd").exitCode, 0);
    CHECK(IsOkRow(Lines(scripts.Csv()).back(), user));
    CHECK(LogEndsWith(scripts.Log(), user, "check exit 0: No problem found."));
  }
  CHECK(Read(Folder("Shared Music"), kShellFoldersKey) == music);
  // What the second logon's check relies on: a value written is seen in its key's time. (Wine keeps the time of
  // a value written as it was, so under Wine that check shows that nothing changed; the native tests show that
  // nothing is written at all.)
  std::vector<ULONGLONG> written = KeysLastWritten();
  Sleep(20);
  CHECK_EQ(Cli(L"set Personal \"" + scripts.share() + L"elsewhere\"").exitCode, 0);
  CHECK(KeysLastWritten() != written);
  CHECK_EQ(Cli(L"set Personal \"" + documents + L"\"").exitCode, 0);

  // The header once, however many runs; a broken folder is a row of its own.
  CHECK_EQ(Cli(L"set \"My Music\" Q:\\Nowhere").exitCode, 0);
  CHECK_EQ(scripts.Run(L"check-folders.cmd").exitCode, 2);
  std::vector<std::string> rows = Lines(scripts.Csv());
  CHECK_EQ(std::count(rows.begin(), rows.end(), std::string("Computer,User,Time,Folder,Problem,Detail")), 1);
  CHECK_EQ(rows.front(), std::string("Computer,User,Time,Folder,Problem,Detail"));
  CHECK(rows.back().find(",My Music,location missing,") != std::string::npos);
  CHECK(LogEndsWith(scripts.Log(), L"50%Off", "check exit 2: 1 problem."));

  // A layout with an unusable path fails at logon, writes nothing, and the log holds all zolvane-cli said.
  scripts.WriteLayout(L"My Documents = relative\\docs\r\n");
  RawValue before = Read(Folder("My Documents"), kUserShellFoldersKey);
  CHECK_EQ(scripts.Run(L"apply-layout.cmd").exitCode, 3);
  CHECK(Read(Folder("My Documents"), kUserShellFoldersKey) == before);
  std::string log = scripts.Log();
  CHECK(log.find(" 50%Off apply exit 3: The path \"relative\\docs\" cannot be where a folder lives: it is not a full "
                 "path.\r\n") != std::string::npos);
  CHECK(log.find("puts a folder where no folder can live, so nothing was changed.\r\nLine 1: My Documents = "
                 "relative\\docs\r\n") != std::string::npos);
}

}  // namespace

// zolvane_cli_test CLI [--german | --scripts FOLDER]: with --german, the tests of a German Windows, run in a German
// environment; with --scripts, the logon scripts of that folder run by cmd.
int main(int argc, char** argv) {
  if (argc < 2) return 2;
  cliPath = Wide(e2e::WindowsPath(argv[1]));
  if (argc == 3 && std::string(argv[2]) == "--german") {
    TestRestoreOnAGermanSystem();
    return wine_check::Summary();
  }
  if (argc == 4 && std::string(argv[2]) == "--scripts") {
    TestLogonScripts(Wide(e2e::WindowsPath(argv[3])));
    return wine_check::Summary();
  }
  TestListMatchesTheRegistry();
  TestSetShowRestore("My Music", L"my music", kCyrillicGreekCjkPath);
  TestSetShowRestore("Shared Video", L"COMMONVIDEO", L"%ALLUSERSPROFILE%\\Zolvane CLI Video");
  TestSetShowRestore("Common Desktop", L"Common Desktop", L"%PUBLIC%\\Zolvane CLI Desk");
  TestRestoreAll();
  TestBackupThenImportBringsAValueBack();
  TestImportOfAForeignKeyIsRefused();
  TestLayoutApply();
  TestCheckAndRefusedLayout();
  TestExitCodes();
  return wine_check::Summary();
}
