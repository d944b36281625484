// zolvane-cli.exe under Wine as a console and a script run it, against the prefix's real registry, regedit and
// shell: one smoke test of a few commands end to end (set with a path no code page holds, show and restore as the
// shell then answers, a shared folder, a backup through folders longer than 128 characters imported again, an
// import stored byte for byte, a path refused, the usage, and list), each with its exit code, its
// output and the registry it leaves. With --german, restore --all on a German Windows; with --scripts, the
// README's logon scripts run by Wine's cmd. Every value of the fifteen folders is put back as it was.
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "backup_check.h"
#include "run_program.h"
#include "scratch.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/registry_keeper.h"
#include "text/utf16.h"
#include "text/utf8.h"
#include "vocabulary/catalogue.h"
#include "wide_text.h"
#include "wine_check.h"

namespace {

// environment: as CapturedRun takes it; empty for this program's own.
ProgramRun RunCli(const std::wstring& arguments, const std::wstring& folder = std::wstring(),
                  const std::wstring& environment = std::wstring()) {
  return CapturedRun(Cli(arguments), L"cli", folder, environment).Finish();
}

RawValue Read(const ShellFolder& folder, const char* key) {
  return ReadRawValue(RootOf(folder.hive), key, folder.valueName);
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

// Both keys' values of all fifteen folders, put back when the keeper goes: the prefix is shared with the e2e tests.
void KeepEveryFolder(e2e::RegistryKeeper& keeper) {
  for (const ShellFolder& folder : kShellFolders) {
    keeper.Keep(RootOf(folder.hive), kUserShellFoldersKey, folder.valueName);
    keeper.Keep(RootOf(folder.hive), kShellFoldersKey, folder.valueName);
  }
}

// Both keys hold path for the folder: unexpanded as REG_EXPAND_SZ, expanded as Windows expands it as REG_SZ.
void CheckStored(const ShellFolder& folder, const std::wstring& path) {
  e2e::CheckFolderValues(RootOf(folder.hive), folder.valueName, path);
}

// The shell's answer for My Documents: the path, or the HRESULT when it gives none.
std::string ShellPersonal(int flags) {
  wchar_t path[MAX_PATH] = L"";
  HRESULT result = SHGetFolderPathW(nullptr, CSIDL_PERSONAL | flags, nullptr, SHGFP_TYPE_CURRENT, path);
  return result == S_OK ? Utf8(path) : "HRESULT " + std::to_string(static_cast<unsigned long>(result));
}

// set by the value's name in another case, of a path no code page holds with spaces around it: both keys hold it
// as the console passed it, the shell answers it for My Documents at once, and show prints it. restore writes the
// stock location, which the shell then answers. A shared folder is written in HKLM's 64-bit view.
void TestSetShowRestore() {
  const ShellFolder& personal = Folder("My Documents");
  const std::wstring folder = TempFolder() + L"Zolvane " + (kCyrillicGreekCjkPath + 3) + L" " + kBeyondBmpCharacter;
  CreateDirectoryW(folder.c_str(), nullptr);
  ProgramRun set = RunCli(L"set personal \"  " + folder + L"  \"");
  CHECK_EQ(set.exitCode, 0);
  CHECK_EQ(set.out + set.err, std::string("Successfully done!\r\n"));
  CheckStored(personal, folder);
  CHECK_EQ(ShellPersonal(0), Utf8(folder));
  ProgramRun show = RunCli(L"show \"My Documents\"");
  CHECK_EQ(show.exitCode, 0);
  CHECK_EQ(show.out, Utf8(folder) + "\r\n");

  const std::wstring stock = Expanded(Wide(personal.stockDefaultPath));
  bool stockExisted = Exists(stock);
  ProgramRun restore = RunCli(L"restore \"My Documents\"");
  CHECK_EQ(restore.exitCode, 0);
  CHECK_EQ(restore.out, std::string("Restored the default values!\r\n"));
  CheckStored(personal, Wide(personal.stockDefaultPath));
  CHECK_EQ(ShellPersonal(CSIDL_FLAG_CREATE), Utf8(stock));
  if (!stockExisted) RemoveDirectoryW(stock.c_str());
  RemoveDirectoryW(folder.c_str());

  CHECK_EQ(RunCli(L"set COMMONVIDEO \"%ALLUSERSPROFILE%\\Zolvane CLI Video\"").exitCode, 0);
  CheckStored(Folder("Shared Video"), L"%ALLUSERSPROFILE%\\Zolvane CLI Video");
}

// This program's environment with TMP and TEMP set to folder.
std::wstring EnvironmentWithTemp(const std::wstring& folder) {
  std::wstring block;
  wchar_t* strings = GetEnvironmentStringsW();
  for (const wchar_t* entry = strings; *entry != L'\0'; entry += wcslen(entry) + 1) {
    if (_wcsnicmp(entry, L"TMP=", 4) != 0 && _wcsnicmp(entry, L"TEMP=", 5) != 0)
      block += entry + std::wstring(1, L'\0');
  }
  FreeEnvironmentStringsW(strings);
  return block + L"TMP=" + folder + L'\0' + L"TEMP=" + folder + L'\0';
}

// A backup named relative to the current folder lands there, made through regedit's exports in the temporary
// folder, both longer than the 128 characters OpenFile took and named in no code page. It holds the four keys, a
// value no code page holds, and a key below them, which regedit exports too; imported after a change, it brings
// the value back exactly and passes that key over, naming it.
void TestBackupImportedAgain(e2e::RegistryKeeper& keeper) {
  const std::string subKey = std::string(kUserShellFoldersKey) + "\\ZolvaneSubkey";
  keeper.KeepKeyAbsence(HKEY_CURRENT_USER, subKey);
  WriteRawValue(HKEY_CURRENT_USER, subKey.c_str(), "v", TextValue(REG_SZ, L"1"));
  const std::wstring wideName = std::wstring(kCyrillicGreekCjkPath + 3) + L" " + kBeyondBmpCharacter;
  const std::wstring folder = TempFolder() + L"Zolvane " + wideName + L" " + std::wstring(100, L'x');
  const std::wstring file = folder + L"\\zolvane-cli-backup.bak";
  CreateDirectoryW(folder.c_str(), nullptr);
  CHECK_EQ(RunCli(L"set \"My Music\" \"D:\\" + wideName + L"\"").exitCode, 0);
  RawValue music = Read(Folder("My Music"), kUserShellFoldersKey);
  ProgramRun backup = RunCli(L"backup zolvane-cli-backup.bak", folder, EnvironmentWithTemp(folder));
  CHECK_EQ(backup.exitCode, 0);
  CHECK_EQ(backup.out, "Shell folder registry keys are now backed up.\r\nBackup file: " + Utf8(file) + "\r\n");
  CHECK_EQ(WhatTheBackupMisses(file), std::string());
  for (int i = 1; i <= 4; ++i) CHECK(!Exists(folder + L"\\splfolders" + std::to_wstring(i) + L".txt"));

  CHECK_EQ(RunCli(L"set \"My Music\" D:\\ElsewhereMusic").exitCode, 0);
  WriteRawValue(HKEY_CURRENT_USER, subKey.c_str(), "v", TextValue(REG_SZ, L"2"));
  ProgramRun import = RunCli(L"import \"" + file + L"\"");
  CHECK_EQ(import.exitCode, 0);
  // (The message shortens so long a path.)
  CHECK_EQ(import.out.rfind("Restored the special folder paths from \"C:\\", 0), 0u);
  CHECK_EQ(import.out.substr(import.out.find("\r\n") + 2),
           "The file also holds keys below the four keys; they were left as they are:\r\nHKEY_CURRENT_USER\\" + subKey +
               "\r\n");
  CHECK(Read(Folder("My Music"), kUserShellFoldersKey) == music);
  CHECK(ReadRawValue(HKEY_CURRENT_USER, subKey.c_str(), "v") == TextValue(REG_SZ, L"2"));
  DeleteFileW(file.c_str());
  RemoveDirectoryW(folder.c_str());
}

// A restore stores its file's values byte for byte through the real registry: a list of bytes that goes on in the
// next line, a text no code page holds, and a text without its terminator, which the registry gets with one (read
// back, it is the value written, not another program's).
void TestImportStoresValuesWhole(e2e::RegistryKeeper& keeper) {
  const char* const probes[] = {"ZolvaneProbeBytes", "ZolvaneProbeText", "ZolvaneProbeBare"};
  for (const char* probe : probes) keeper.Keep(HKEY_CURRENT_USER, kUserShellFoldersKey, probe);
  const std::wstring wide = std::wstring(L"D:\\") + (kCyrillicGreekCjkPath + 3);
  const std::wstring file = TempFolder() + L"zolvane-import-whole.reg";
  const std::string text =
      "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\" + std::string(kUserShellFoldersKey) + "]\r\n" +
      "\"ZolvaneProbeBytes\"=hex(2):43,00,3a,00,5c,00,\\\r\n  5a,00,00,00\r\n" + "\"ZolvaneProbeText\"=\"D:\\\\" +
      Utf8(kCyrillicGreekCjkPath + 3) + "\"\r\n" + "\"ZolvaneProbeBare\"=hex(2):43,00,3a,00,5c,00,41,00\r\n\r\n" +
      "[HKEY_CURRENT_USER\\" + kShellFoldersKey + "]\r\n\"My Music\"=\"D:\\\\Imported\"\r\n";
  WriteFileBytes(file, "\xFF\xFE" + Utf8ToUtf16Le(text));
  ProgramRun whole = RunCli(L"import \"" + file + L"\"");
  CHECK_EQ(whole.exitCode, 0);
  CHECK_EQ(whole.out.substr(0, whole.out.find("\r\n")),
           "Restored the special folder paths from \"" + Utf8(file) + "\".");
  CHECK(ReadRawValue(HKEY_CURRENT_USER, kUserShellFoldersKey, probes[0]) == TextValue(REG_EXPAND_SZ, L"C:\\Z"));
  CHECK(ReadRawValue(HKEY_CURRENT_USER, kUserShellFoldersKey, probes[1]) == TextValue(REG_SZ, wide));
  CHECK(ReadRawValue(HKEY_CURRENT_USER, kUserShellFoldersKey, probes[2]) == TextValue(REG_EXPAND_SZ, L"C:\\A"));
  CHECK(Read(Folder("My Music"), kShellFoldersKey) == TextValue(REG_SZ, L"D:\\Imported"));
  DeleteFileW(file.c_str());
}

// A path no folder can live at is refused on standard error with exit code 3, and nothing is written; the usage
// goes to standard output with exit code 0.
void TestRefusedPathAndUsage() {
  RawValue before = Read(Folder("My Documents"), kUserShellFoldersKey);
  ProgramRun relative = RunCli(L"set Personal relative\\docs");
  CHECK_EQ(relative.exitCode, 3);
  CHECK_EQ(relative.out + relative.err,
           std::string("The path \"relative\\docs\" cannot be where a folder lives: it is not a full path such "
                       "as C:\\Folder or \\\\server\\share\\Folder. Nothing was written.\r\n"));
  CHECK(Read(Folder("My Documents"), kUserShellFoldersKey) == before);
  ProgramRun help = RunCli(L"/?");
  CHECK_EQ(help.exitCode, 0);
  CHECK_EQ(help.out.rfind("Usage:\r\n", 0), 0u);
}

// list gives each folder's stored value and location as the registry holds them; its locations are printed last,
// as where the fifteen folders live in this prefix (scripts/test.sh shows them).
void TestList() {
  ProgramRun run = RunCli(L"list");
  CHECK_EQ(run.exitCode, 0);
  std::vector<std::string> lines = Lines(run.out);
  CHECK_EQ(lines.size(), kShellFolderCount);
  std::printf("Where the fifteen folders live in this prefix:\n");
  for (std::size_t i = 0; i < lines.size() && i < kShellFolderCount; ++i) {
    const ShellFolder& folder = *ShellFolderAtListPosition(static_cast<int>(i));
    std::wstring stored = UpToNul(Read(folder, kUserShellFoldersKey).bytes);
    std::string hive = folder.hive == platform::kHkeyLocalMachine ? "HKLM" : "HKCU";
    CHECK_EQ(lines[i],
             std::string(folder.displayName) + "\t" + hive + "\t" + Utf8(stored) + "\t" + Utf8(Expanded(stored)));
    std::printf("  %-26s %s\n", folder.displayName, lines[i].substr(lines[i].rfind('\t') + 1).c_str());
  }
}

// Where Wine's shell puts a folder on a system of this language.
std::wstring ShellStockPath(const ShellFolder& folder) {
  wchar_t path[MAX_PATH] = L"";
  HRESULT result = SHGetFolderPathW(nullptr, folder.csidl | CSIDL_FLAG_DONT_VERIFY, nullptr, SHGFP_TYPE_DEFAULT, path);
  CHECK_EQ(static_cast<long long>(result), static_cast<long long>(S_OK));
  return path;
}

// On a German Windows restore --all writes where the shell keeps each folder, each per-user one from %USERPROFILE%
// on.
void TestRestoreAllOnAGermanSystem() {
  CHECK_EQ(static_cast<long long>(PRIMARYLANGID(GetSystemDefaultUILanguage())), static_cast<long long>(LANG_GERMAN));
  e2e::RegistryKeeper keeper;
  KeepEveryFolder(keeper);
  CHECK_EQ(RunCli(L"set Personal D:\\Elsewhere").exitCode, 0);
  CHECK_EQ(RunCli(L"restore --all").exitCode, 0);
  for (const ShellFolder& folder : kShellFolders) {
    std::wstring stored = UpToNul(Read(folder, kUserShellFoldersKey).bytes);
    CHECK_EQ(Utf8(UpToNul(Read(folder, kShellFoldersKey).bytes)), Utf8(ShellStockPath(folder)));
    CHECK_EQ(Utf8(Expanded(stored)), Utf8(ShellStockPath(folder)));
    if (folder.hive == platform::kHkeyCurrentUser) CHECK_EQ(Utf8(stored).rfind("%USERPROFILE%\\", 0), 0u);
  }
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

// The README's three scripts, copied to a share as an administrator would, with zolvane-cli.exe and a layout
// beside them and no logs folder yet, and run by cmd at the logons of users whose names cmd could read as syntax
// or no code page holds, on two computers. Each user's folders (the fifteen and Application Data) are theirs: put
// in the registry at their logon and kept at the next one's, as a roaming profile would.
class LogonScripts {
 public:
  explicit LogonScripts(const std::wstring& scriptsFolder) : share_(TempFolder() + L"zolvane netlogon (test)\\") {
    RemoveTree(share_.substr(0, share_.size() - 1));
    CreateDirectoryW(share_.c_str(), nullptr);
    for (const wchar_t* folder : {L"temp", L"profiles", L"home"}) CreateDirectoryW((share_ + folder).c_str(), nullptr);
    for (const wchar_t* script : {L"apply-layout.cmd", L"check-folders.cmd", L"undo-layout.cmd"}) {
      CHECK(CopyFileW((scriptsFolder + L"\\" + script).c_str(), (share_ + script).c_str(), FALSE));
    }
    CHECK(CopyFileW(cliPath.c_str(), (share_ + L"zolvane-cli.exe").c_str(), FALSE));
    for (const wchar_t* name : {L"USERNAME", L"COMPUTERNAME", L"TEMP", L"TMP"})
      saved_.emplace_back(name, Environment(name));
  }
  ~LogonScripts() {
    for (const auto& [name, value] : saved_) SetEnvironmentVariableW(name.c_str(), value.c_str());
    RemoveTree(share_.substr(0, share_.size() - 1));
  }

  const std::wstring& share() const { return share_; }
  void WriteLayout(const std::wstring& text) { WriteFileBytes(share_ + L"layout.txt", Utf8(text)); }
  std::wstring Profile(const std::wstring& user) const { return share_ + L"profiles\\" + user; }
  // The user logs on at the computer: their name, temporary folder and registry, as Windows sets them. A user's
  // first logon finds My Documents in the profile, with a letter in it, and Application Data there too.
  void LogOn(const std::wstring& computer, const std::wstring& user) {
    if (!user_.empty()) registries_[user_] = ReadUsersFolders();
    user_ = user;
    std::wstring temp = share_ + L"temp\\" + user;
    CreateDirectoryW(temp.c_str(), nullptr);
    SetEnvironmentVariableW(L"COMPUTERNAME", computer.c_str());
    SetEnvironmentVariableW(L"USERNAME", user.c_str());
    SetEnvironmentVariableW(L"TEMP", temp.c_str());
    SetEnvironmentVariableW(L"TMP", temp.c_str());
    if (registries_.count(user) != 0) {
      WriteUsersFolders(registries_[user]);
      return;
    }
    CreateDirectoryW(Profile(user).c_str(), nullptr);
    CreateDirectoryW((Profile(user) + L"\\My Documents").c_str(), nullptr);
    WriteFileBytes(Profile(user) + L"\\My Documents\\letter.txt", "Dear " + Utf8(user));
    CHECK_EQ(RunCli(L"set Personal \"" + Profile(user) + L"\\My Documents\"").exitCode, 0);
    for (const char* key : {kUserShellFoldersKey, kShellFoldersKey})
      WriteRawValue(HKEY_CURRENT_USER, key, "AppData", TextValue(REG_SZ, Profile(user) + L"\\Application Data"));
  }
  ProgramRun Run(const std::wstring& script, const std::wstring& parameter = std::wstring()) {
    return RunAndCapture(L"cmd.exe /c \"\"" + share_ + script + L"\" " + parameter + L"\"", share_);
  }
  std::string Log() const { return ReadFileBytes(share_ + L"logs\\zolvane.log"); }
  std::wstring State(const std::wstring& computer, const std::wstring& user) const {
    return share_ + L"logs\\state\\" + computer + L"-" + user + L".csv";
  }

 private:
  using Folders = std::vector<RawValue>;
  static std::vector<std::pair<const char*, const char*>> UsersValues() {
    std::vector<std::pair<const char*, const char*>> values;
    for (const char* key : {kUserShellFoldersKey, kShellFoldersKey}) {
      values.emplace_back(key, "AppData");
      for (const ShellFolder& folder : kShellFolders) {
        if (folder.hive == platform::kHkeyCurrentUser) values.emplace_back(key, folder.valueName);
      }
    }
    return values;
  }
  static Folders ReadUsersFolders() {
    Folders folders;
    for (const auto& [key, name] : UsersValues()) folders.push_back(ReadRawValue(HKEY_CURRENT_USER, key, name));
    return folders;
  }
  static void WriteUsersFolders(const Folders& folders) {
    std::size_t i = 0;
    for (const auto& [key, name] : UsersValues()) WriteRawValue(HKEY_CURRENT_USER, key, name, folders[i++]);
  }

  std::wstring share_;
  std::wstring user_;
  std::map<std::wstring, Folders> registries_;
  std::vector<std::pair<std::wstring, std::wstring>> saved_;
};

// "2026-12-09 05:46:00<TAB>PC-A<TAB>Tom&Jerry<TAB>apply ...<TAB>0<TAB>1 moved, ...": the log's last line is of this
// computer and user, with the exit code and what the run came to.
bool LogEndsWith(const std::string& log, const std::wstring& user, const std::string& command,
                 const std::string& ending) {
  std::vector<std::string> lines = Lines(log);
  if (lines.empty()) return false;
  const std::string& last = lines.back();
  std::string who = "\t" + Utf8(Environment(L"COMPUTERNAME")) + "\t" + Utf8(user) + "\t" + command;
  return last.size() >= 19 + who.size() + ending.size() && last.compare(19, who.size(), who) == 0 &&
         last.compare(last.size() - ending.size(), ending.size(), ending) == 0;
}

// Two rounds of logons on two computers: the first moves each user's My Documents with its letter to the user's
// folder on the share (made, with the logs folder, where missing) and passes over the shared folder's line; the
// second finds all in place and writes nothing, but makes again a user's folder deleted in between. Each check
// replaces its computer's and user's state file; the README's join gives one row a computer and user. The undo
// script puts a user's folder back with the letter, once. The log reads back as UTF-8, one line a run.
void TestLogonScripts(const std::wstring& scriptsFolder) {
  e2e::RegistryKeeper keeper;
  KeepEveryFolder(keeper);
  for (const char* key : {kUserShellFoldersKey, kShellFoldersKey}) keeper.Keep(HKEY_CURRENT_USER, key, "AppData");
  LogonScripts scripts(scriptsFolder);
  const std::wstring documents = scripts.share() + L"home\\%USERNAME%\\My Documents";
  scripts.WriteLayout(L"My Documents = " + documents + L"\r\nShared Music = " + scripts.share() + L"Music\r\n");
  RawValue music = Read(Folder("Shared Music"), kShellFoldersKey);
  const std::wstring kUsers[] = {L"Tom&Jerry", L"50%Off", L"Jos\u00e9 M\u00fcller"};
  const std::string apply = "apply \"" + Utf8(scripts.share()) + "layout.txt\" --hive HKCU --create --move";
  std::size_t runs = 0;
  for (const std::wstring& user : kUsers) {
    scripts.LogOn(L"PC-A", user);
    CHECK_EQ(Exists(scripts.share() + L"logs"), runs > 0);  // only the first run finds no logs folder
    ProgramRun first = scripts.Run(L"apply-layout.cmd");
    CHECK_EQ(first.exitCode, 0);
    CHECK_EQ(first.err, "Made the folder \"" + Expanded(Utf8(documents)) + "\".\r\n");
    CHECK_EQ(ReadFileBytes(Expanded(documents) + L"\\letter.txt"), "Dear " + Utf8(user));
    CHECK(!Exists(scripts.Profile(user) + L"\\My Documents\\letter.txt"));
    CheckStored(Folder("My Documents"), documents);
    CHECK(LogEndsWith(scripts.Log(), user, apply, "\t0\t1 moved, 0 unchanged, 1 passed over."));
    CHECK_EQ(scripts.Run(L"check-folders.cmd").exitCode, 0);
    std::vector<std::string> state = Lines(ReadFileBytes(scripts.State(L"PC-A", user)));
    CHECK(state.size() == 1 && IsOkRow(state[0], user));
    CHECK(LogEndsWith(scripts.Log(), user, "check --csv --no-header --out", "\t0\tNo problem found."));
    runs += 2;
  }
  CHECK(Read(Folder("Shared Music"), kShellFoldersKey) == music);

  // The startup script moves the shared folder, keeping where it was per machine, in the all-users application
  // data; its undo puts it back and retires that.
  wchar_t common[MAX_PATH] = L"";
  CHECK_EQ(static_cast<long long>(SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_DEFAULT, common)),
           0ll);
  const std::wstring sharedKept = std::wstring(common) + L"\\Zolvane\\before-layout (shared folders).txt";
  RawValue sharedMusic = Read(Folder("Shared Music"), kUserShellFoldersKey);
  CHECK_EQ(scripts.Run(L"apply-layout.cmd", L"HKLM").exitCode, 0);
  CheckStored(Folder("Shared Music"), scripts.share() + L"Music");
  CHECK_EQ(ReadFileBytes(sharedKept).find("\r\nShared Music = " + Utf8(UpToNul(sharedMusic.bytes)) + "\r\n") !=
               std::string::npos,
           true);
  CHECK_EQ(scripts.Run(L"undo-layout.cmd", L"HKLM").exitCode, 0);
  CHECK(Read(Folder("Shared Music"), kUserShellFoldersKey) == sharedMusic);
  CHECK(!Exists(sharedKept));
  runs += 2;

  // Eight runs at once append to one log: eight whole lines.
  const std::wstring together = scripts.share() + L"logs\\together.log";
  {
    std::vector<std::unique_ptr<CapturedRun>> started;
    for (int i = 0; i < 8; ++i)
      started.push_back(
          std::make_unique<CapturedRun>(Cli(L"check --log \"" + together + L"\""), L"together" + std::to_wstring(i)));
    for (auto& run : started) CHECK_EQ(run->Finish().exitCode, 0);
  }
  std::vector<std::string> together8 = Lines(ReadFileBytes(together));
  CHECK_EQ(together8.size(), 8u);
  const std::string whole = "\t0\tNo problem found.";
  for (const std::string& line : together8) CHECK_EQ(line.substr(line.size() - whole.size()), whole);

  // Tom&Jerry's folder on the server is deleted; the next logons, at another computer, make it again.
  RemoveTree(Expanded(scripts.share() + L"home\\Tom&Jerry"));
  for (const std::wstring& user : kUsers) {
    scripts.LogOn(L"PC-B", user);
    bool deleted = user == kUsers[0];
    std::vector<ULONGLONG> written = KeysLastWritten();
    Sleep(20);
    ProgramRun again = scripts.Run(L"apply-layout.cmd");
    CHECK_EQ(again.exitCode, 0);
    CHECK(KeysLastWritten() == written);
    CHECK(Exists(Expanded(documents)));
    CHECK(LogEndsWith(scripts.Log(), user, apply,
                      deleted ? "\t0\t0 moved, 1 made again, 0 unchanged, 1 passed over."
                              : "\t0\t0 moved, 1 unchanged, 1 passed over."));
    CHECK_EQ(scripts.Run(L"check-folders.cmd").exitCode, 0);
    runs += 2;
  }
  // What the second logons' check relies on: a value written is seen in its key's time. (Wine keeps the time of
  // a value written as it was, so under Wine that check shows that nothing changed; the native tests show that
  // nothing is written at all.)
  std::vector<ULONGLONG> written = KeysLastWritten();
  Sleep(20);
  CHECK_EQ(RunCli(L"set Personal \"" + scripts.share() + L"elsewhere\"").exitCode, 0);
  CHECK(KeysLastWritten() != written);
  CHECK_EQ(RunCli(L"set Personal \"" + documents + L"\"").exitCode, 0);

  const std::wstring& jose = kUsers[2];
  // The README's join, with pushd: one header and the latest row of each computer and user.
  WriteFileBytes(scripts.share() + L"join.cmd",
                 "pushd \"" + Utf8(scripts.share()) +
                     "logs\\state\"\r\n"
                     "echo Computer,User,Time,Folder,Problem,Detail> ..\\all-machines.csv\r\n"
                     "for %%f in (*.csv) do @type \"%%f\" >> ..\\all-machines.csv\r\npopd\r\n");
  CHECK_EQ(scripts.Run(L"join.cmd").exitCode, 0);
  std::vector<std::string> sheet = Lines(ReadFileBytes(scripts.share() + L"logs\\all-machines.csv"));
  CHECK_EQ(sheet.size(), 1u + 6u);
  CHECK_EQ(std::count_if(sheet.begin(), sheet.end(),
                         [](const std::string& row) { return row.find(",ok,") != std::string::npos; }),
           6);

  // José undoes the layout: My Documents, with the letter, back where it was; the kept layout retired, so the
  // next undo has nothing to do.
  ProgramRun undo = scripts.Run(L"undo-layout.cmd");
  CHECK_EQ(undo.exitCode, 0);
  CheckStored(Folder("My Documents"), scripts.Profile(jose) + L"\\My Documents");
  CHECK_EQ(ReadFileBytes(scripts.Profile(jose) + L"\\My Documents\\letter.txt"), "Dear " + Utf8(jose));
  CHECK(!Exists(scripts.Profile(jose) + L"\\Application Data\\Zolvane\\before-layout.txt"));
  CHECK(LogEndsWith(scripts.Log(), jose, "apply --undo --hive HKCU --move",
                    "\t0\tPut back as they were before the first layout: My Documents."));
  CHECK_EQ(scripts.Run(L"undo-layout.cmd").exitCode, 0);
  CHECK(LogEndsWith(
      scripts.Log(), jose, "apply --undo --hive HKCU --move",
      "\t0\tNothing to undo: no layout moved these folders since the last undo, or none kept where they were."));
  runs += 2;

  // A layout with an unusable path fails at logon and writes nothing; the log's line holds all zolvane-cli said.
  scripts.WriteLayout(L"My Documents = relative\\docs\r\n");
  RawValue before = Read(Folder("My Documents"), kUserShellFoldersKey);
  CHECK_EQ(scripts.Run(L"apply-layout.cmd").exitCode, 3);
  CHECK(Read(Folder("My Documents"), kUserShellFoldersKey) == before);
  CHECK(LogEndsWith(scripts.Log(), jose, apply,
                    "\t3\t\"" + Utf8(scripts.share()) +
                        "layout.txt\" puts a folder where no folder can live, so nothing was changed. Line 1: My "
                        "Documents = relative\\docs The path \"relative\\docs\" cannot be where a folder lives: it "
                        "is not a full path such as C:\\Folder or \\\\server\\share\\Folder."));
  runs += 1;

  // One line a run, in UTF-8: José's name as its two bytes, never as a code page's one.
  std::string log = scripts.Log();
  CHECK_EQ(Lines(log).size(), runs);
  CHECK(IsValidUtf8(log));
  CHECK(log.find("\tJos\xC3\xA9 M\xC3\xBC"
                 "ller\t") != std::string::npos);
  std::printf("The log, read back as UTF-8:\n%s", log.c_str());
}

}  // namespace

// zolvane_cli_test CLI [--german | --scripts FOLDER]: with --german, the test of a German Windows, run in a German
// environment; with --scripts, the logon scripts of that folder run by cmd.
int main(int argc, char** argv) {
  if (argc < 2) return 2;
  cliPath = Wide(e2e::WindowsPath(argv[1]));
  if (argc == 3 && std::string(argv[2]) == "--german") {
    TestRestoreAllOnAGermanSystem();
    return wine_check::Summary();
  }
  if (argc == 4 && std::string(argv[2]) == "--scripts") {
    TestLogonScripts(Wide(e2e::WindowsPath(argv[3])));
    return wine_check::Summary();
  }
  {
    e2e::RegistryKeeper keeper;
    KeepEveryFolder(keeper);
    TestSetShowRestore();
    TestBackupImportedAgain(keeper);
    TestImportStoresValuesWhole(keeper);
    TestRefusedPathAndUsage();
  }
  TestList();
  return wine_check::Summary();
}
