// zolvane-cli ended exactly as it enters a write of the registry, as by a power cut, and another program writing
// meanwhile; then any command. Every value is as before, or as the other program left it, and the next command says
// how many values it put back. What the tests change is put back.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "backup_check.h"
#include "cut_at_call.h"
#include "run_program.h"
#include "scratch.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/registry_keeper.h"
#include "text/utf16.h"
#include "vocabulary/catalogue.h"
#include "vocabulary/shell_folder_keys.h"
#include "wide_text.h"
#include "wine_check.h"

namespace {

struct Value {
  HKEY root;
  const char* key;
  std::string name;

  RawValue Read() const { return ReadRawValue(root, key, name.c_str()); }
  void Write(const RawValue& value) const { WriteRawValue(root, key, name.c_str(), value); }
  std::string FullName() const {
    return (root == HKEY_CURRENT_USER ? "HKEY_CURRENT_USER\\" : "HKEY_LOCAL_MACHINE\\") + std::string(key) + "\\" +
           name;
  }
};

// What each value held at first, put back when the keeper goes, whatever happened.
void Keep(e2e::RegistryKeeper& keeper, const std::vector<Value>& values) {
  for (const Value& value : values) keeper.Keep(value.root, value.key, value.name);
}

// What the next command says of a cut-off change: how many values it put back, and which two it left to the other
// program, the later written first.
std::string Undone(const char* run, int putBack, const Value& reached, const Value& neverReached) {
  return std::string(run) + " that was cut off has been undone: " + std::to_string(putBack) +
         (putBack == 1 ? " value" : " values") + " put back.\r\nChanged since, left as it is:\r\n" +
         neverReached.FullName() + "\r\n" + reached.FullName() + "\r\n";
}

// How many writes of the registry a command makes before its change's first: the shell writes the folder it is
// asked for (the journal's) to its Shell Folders value. Counted on a set of a folder already there.
int writesBefore = 0;

CutRun CutAtWrite(int write, const std::wstring& arguments) {
  return RunCutAtCall(static_cast<unsigned>(writesBefore + write), L"advapi32.dll", L"RegSetValueExW", Cli(arguments));
}

void TestSetCutBetweenItsTwoWrites() {
  const ShellFolder& music = *FindShellFolder("My Music");
  Value user{HKEY_CURRENT_USER, kUserShellFoldersKey, music.valueName};
  Value shell{HKEY_CURRENT_USER, kShellFoldersKey, music.valueName};
  e2e::RegistryKeeper keeper;
  Keep(keeper, {user, shell});
  RawValue userBefore = user.Read(), shellBefore = shell.Read();
  RunAndCapture(Cli(L"set \"My Music\" D:\\CutSet"));
  CutRun counted = RunCutAtCall(0, L"advapi32.dll", L"RegSetValueExW", Cli(L"set \"My Music\" D:\\CutSet"));
  if (!CHECK_EQ(counted.outcome, 1LL)) return;
  writesBefore = std::atoi(counted.report.substr(counted.report.find(" after ") + 7).c_str());
  std::printf("%d writes of the registry before a change's first (%s)\n", writesBefore, counted.report.c_str());
  user.Write(userBefore);
  shell.Write(shellBefore);

  CutRun cut = CutAtWrite(2, L"set \"My Music\" D:\\CutSet");
  CHECK(cut.Cut());
  CHECK(user.Read() == TextValue(REG_EXPAND_SZ, L"D:\\CutSet"));
  CHECK(shell.Read() == shellBefore);
  ProgramRun next = RunAndCapture(Cli(L"list"));
  CHECK_EQ(next.err, std::string("A relocation that was cut off has been undone: 1 value put back.\r\n"));
  CHECK(user.Read() == userBefore);
  CHECK(shell.Read() == shellBefore);
  // Cut as its journal, written whole, moves into its place: no value is written, nothing is left to undo, and the
  // next change goes ahead.
  CHECK(RunCutAtCall(1, L"kernel32.dll", L"MoveFileExW", Cli(L"set \"My Music\" D:\\CutSet")).Cut());
  CHECK(user.Read() == userBefore);
  next = RunAndCapture(Cli(L"set \"My Music\" D:\\CutSet"));
  CHECK_EQ(next.exitCode, 0LL);
  CHECK_EQ(next.err.find("undone"), std::string::npos);
  CHECK(shell.Read() == TextValue(REG_SZ, L"D:\\CutSet"));
}

// A change of many values cut at several writes, and another program setting the value the cut change wrote first
// and the last one, which it never reached: the next command puts back the others only.
void TestCutAtSeveralWrites(const char* run, const std::wstring& arguments, const std::vector<Value>& values,
                            const std::vector<RawValue>& before) {
  for (int cutAt : {3, 7, 12}) {
    for (std::size_t i = 0; i < values.size(); ++i) values[i].Write(before[i]);
    CHECK(CutAtWrite(cutAt, arguments).Cut());
    const RawValue theirs = TextValue(REG_SZ, L"D:\\Theirs");
    values.front().Write(theirs);
    values.back().Write(theirs);
    ProgramRun next = RunAndCapture(Cli(L"show Desktop"));
    CHECK_EQ(next.err, Undone(run, cutAt - 2, values.front(), values.back()));
    CHECK(values.front().Read() == theirs && values.back().Read() == theirs);
    for (std::size_t i = 1; i + 1 < values.size(); ++i) CHECK(values[i].Read() == before[i]);
  }
}

// restore --all writes each folder's Shell Folders value, then its User Shell Folders one, in the list's order.
void TestRestoreAllCutAtSeveralWrites() {
  std::vector<Value> values;
  std::vector<RawValue> elsewhere;
  for (const ShellFolder& folder : kShellFolders) {
    HKEY root = RootOf(folder.hive);
    values.push_back(Value{root, kShellFoldersKey, folder.valueName});
    elsewhere.push_back(TextValue(REG_SZ, L"D:\\Cut\\" + Wide(folder.valueName)));
    values.push_back(Value{root, kUserShellFoldersKey, folder.valueName});
    elsewhere.push_back(TextValue(REG_EXPAND_SZ, L"D:\\Cut\\" + Wide(folder.valueName)));
  }
  e2e::RegistryKeeper keeper;
  Keep(keeper, values);
  TestCutAtSeveralWrites("A restore of default locations", L"restore --all", values, elsewhere);
}

void TestImportCutAtSeveralWrites() {
  std::vector<Value> values;
  std::string lines =
      "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\" + std::string(kShellFoldersKey) + "]\r\n";
  for (int i = 0; i < 15; ++i) {
    values.push_back(Value{HKEY_CURRENT_USER, kShellFoldersKey, "ZolvaneCut" + std::to_string(i)});
    lines += "\"ZolvaneCut" + std::to_string(i) + "\"=\"D:\\\\Restored\"\r\n";
  }
  std::wstring file = TempFolder() + L"zolvane-cut-import.reg";
  WriteFileBytes(file, "\xFF\xFE" + Utf8ToUtf16Le(lines));
  e2e::RegistryKeeper keeper;
  Keep(keeper, values);
  TestCutAtSeveralWrites("A restore", L"import \"" + file + L"\"", values, std::vector<RawValue>(values.size()));
  DeleteFileW(file.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  cliPath = Wide(e2e::WindowsPath(argv[1]));
  TestSetCutBetweenItsTwoWrites();
  TestRestoreAllCutAtSeveralWrites();
  TestImportCutAtSeveralWrites();
  return wine_check::Summary();
}
