// zolvane-cli ended exactly as it enters a write of the registry, as by a power cut, and another program writing
// meanwhile; then any command. Every value is as before, or as the other program left it, and the next command says
// how many values it put back. What the tests change is put back.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "cut_at_call.h"
#include "run_program.h"
#include "scratch.h"
#include "tests/e2e/driver.h"
#include "text/utf16.h"
#include "vocabulary/catalogue.h"
#include "vocabulary/shell_folder_keys.h"
#include "wide_text.h"
#include "wine_check.h"

namespace {

std::wstring cliPath;

std::wstring Cli(const std::wstring& arguments) {
  return L"\"" + cliPath + L"\" " + arguments;
}

struct Value {
  HKEY root;
  const char* key;
  std::string name;
};

// What each value held at first, put back at the end whatever happened.
class Saved {
 public:
  explicit Saved(std::vector<Value> values) : values_(std::move(values)) {
    for (const Value& value : values_) held_.push_back(ReadRawValue(value.root, value.key, value.name.c_str()));
  }
  ~Saved() {
    for (std::size_t i = 0; i < values_.size(); ++i)
      WriteRawValue(values_[i].root, values_[i].key, values_[i].name.c_str(), held_[i]);
  }

 private:
  std::vector<Value> values_;
  std::vector<RawValue> held_;
};

RawValue Text(DWORD type, const std::string& text) {
  return RawValue{true, type, Utf8ToUtf16Le(text) + std::string(2, '\0')};
}

RawValue Read(const Value& value) {
  return ReadRawValue(value.root, value.key, value.name.c_str());
}

std::string FullName(const Value& value) {
  const char* hive = value.root == HKEY_CURRENT_USER ? "HKEY_CURRENT_USER\\" : "HKEY_LOCAL_MACHINE\\";
  return hive + std::string(value.key) + "\\" + value.name;
}

// What the next command says of a cut-off change: how many values it put back, and which two it left to the other
// program, the later written first.
std::string Undone(const char* run, int putBack, const Value& reached, const Value& neverReached) {
  return std::string(run) + " that was cut off has been undone: " + std::to_string(putBack) +
         (putBack == 1 ? " value" : " values") + " put back.\r\nChanged since, left as it is:\r\n" +
         FullName(neverReached) + "\r\n" + FullName(reached) + "\r\n";
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
  Saved saved({user, shell});
  RawValue userBefore = Read(user), shellBefore = Read(shell);
  RunAndCapture(Cli(L"set \"My Music\" D:\\CutSet"));
  CutRun counted = RunCutAtCall(0, L"advapi32.dll", L"RegSetValueExW", Cli(L"set \"My Music\" D:\\CutSet"));
  if (!CHECK_EQ(counted.outcome, 1LL)) return;
  writesBefore = std::atoi(counted.report.substr(counted.report.find(" after ") + 7).c_str());
  std::printf("%d writes of the registry before a change's first (%s)\n", writesBefore, counted.report.c_str());
  WriteRawValue(user.root, user.key, user.name.c_str(), userBefore);
  WriteRawValue(shell.root, shell.key, shell.name.c_str(), shellBefore);

  CutRun cut = CutAtWrite(2, L"set \"My Music\" D:\\CutSet");
  CHECK(cut.Cut());
  CHECK(Read(user) == Text(REG_EXPAND_SZ, "D:\\CutSet"));
  CHECK(Read(shell) == shellBefore);
  ProgramRun next = RunAndCapture(Cli(L"list"));
  CHECK_EQ(next.err, std::string("A relocation that was cut off has been undone: 1 value put back.\r\n"));
  CHECK(Read(user) == userBefore);
  CHECK(Read(shell) == shellBefore);
  // Cut as its journal, written whole, moves into its place: no value is written, nothing is left to undo, and the
  // next change goes ahead.
  CHECK(RunCutAtCall(1, L"kernel32.dll", L"MoveFileExW", Cli(L"set \"My Music\" D:\\CutSet")).Cut());
  CHECK(Read(user) == userBefore);
  next = RunAndCapture(Cli(L"set \"My Music\" D:\\CutSet"));
  CHECK_EQ(next.exitCode, 0LL);
  CHECK_EQ(next.err.find("undone"), std::string::npos);
  CHECK(Read(shell) == Text(REG_SZ, "D:\\CutSet"));
}

// A change of many values cut at several writes, and another program setting the value the cut change wrote first
// and the last one, which it never reached: the next command puts back the others only.
void TestCutAtSeveralWrites(const char* run, const std::wstring& arguments, const std::vector<Value>& values,
                            const std::vector<RawValue>& before) {
  for (int cutAt : {3, 7, 12}) {
    for (std::size_t i = 0; i < values.size(); ++i)
      WriteRawValue(values[i].root, values[i].key, values[i].name.c_str(), before[i]);
    CHECK(CutAtWrite(cutAt, arguments).Cut());
    const RawValue theirs = Text(REG_SZ, "D:\\Theirs");
    WriteRawValue(values.front().root, values.front().key, values.front().name.c_str(), theirs);
    WriteRawValue(values.back().root, values.back().key, values.back().name.c_str(), theirs);
    ProgramRun next = RunAndCapture(Cli(L"show Desktop"));
    CHECK_EQ(next.err, Undone(run, cutAt - 2, values.front(), values.back()));
    CHECK(Read(values.front()) == theirs && Read(values.back()) == theirs);
    for (std::size_t i = 1; i + 1 < values.size(); ++i) CHECK(Read(values[i]) == before[i]);
  }
}

// restore --all writes each folder's Shell Folders value, then its User Shell Folders one, in the list's order.
void TestRestoreAllCutAtSeveralWrites() {
  std::vector<Value> values;
  std::vector<RawValue> elsewhere;
  for (const ShellFolder& folder : kShellFolders) {
    HKEY root = folder.hive == kShellFolderKeys[0].hive ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
    values.push_back(Value{root, kShellFoldersKey, folder.valueName});
    elsewhere.push_back(Text(REG_SZ, std::string("D:\\Cut\\") + folder.valueName));
    values.push_back(Value{root, kUserShellFoldersKey, folder.valueName});
    elsewhere.push_back(Text(REG_EXPAND_SZ, std::string("D:\\Cut\\") + folder.valueName));
  }
  Saved saved(values);
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
  Saved saved(values);
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
