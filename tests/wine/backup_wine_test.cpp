// The backup through the main window's presenter against Wine's real regedit, shell and files: the file on the desktop,
// its content, an import round trip with regedit /s, no temporary file left, and the same file twice. The prefix is put
// back.
#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "fakes/fake_main_view.h"
#include "platform/win32/win32_platform.h"
#include "presenters/main_presenter.h"
#include "run_program.h"
#include "wide_text.h"
#include "wine_check.h"

namespace {

struct ShellKey {
  HKEY root;
  const char* rootName;
  const wchar_t* subKey;
};

const ShellKey kKeys[4] = {
    {HKEY_CURRENT_USER, "HKEY_CURRENT_USER",
     L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders"},
    {HKEY_CURRENT_USER, "HKEY_CURRENT_USER", L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders"},
    {HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE",
     L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders"},
    {HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE",
     L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders"},
};
const char kHeader[] = "Windows Registry Editor Version 5.00";
const char kSuccess[] = "Shell folder registry keys are now backed up.";

std::string KeyName(const ShellKey& key) {
  return std::string(key.rootName) + "\\" + Utf8(key.subKey);
}

struct Value {
  std::wstring name;
  DWORD type = 0;
  std::string bytes;
};

// Every value of a key, as the registry holds it.
std::vector<Value> ReadKey(const ShellKey& key) {
  std::vector<Value> values;
  HKEY opened = nullptr;
  if (RegOpenKeyExW(key.root, key.subKey, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) return values;
  for (DWORD index = 0;; ++index) {
    wchar_t name[16384];
    BYTE data[65536];
    DWORD nameLength = 16384;
    DWORD size = sizeof data;
    Value value;
    if (RegEnumValueW(opened, index, name, &nameLength, nullptr, &value.type, data, &size) != ERROR_SUCCESS) break;
    value.name.assign(name, nameLength);
    value.bytes.assign(reinterpret_cast<const char*>(data), size);
    values.push_back(value);
  }
  RegCloseKey(opened);
  return values;
}

// Puts a key back as ReadKey found it: its values rewritten, values added since then deleted.
void RestoreKey(const ShellKey& key, const std::vector<Value>& saved) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(key.root, key.subKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &opened) != ERROR_SUCCESS) return;
  std::set<std::wstring> savedNames;
  for (const Value& value : saved) {
    savedNames.insert(value.name);
    RegSetValueExW(opened, value.name.c_str(), 0, value.type, reinterpret_cast<const BYTE*>(value.bytes.data()),
                   static_cast<DWORD>(value.bytes.size()));
  }
  for (const Value& now : ReadKey(key)) {
    if (!savedNames.count(now.name)) RegDeleteValueW(opened, now.name.c_str());
  }
  RegCloseKey(opened);
}

// The backup's lines, decoded from UTF-16LE after its byte-order mark; every line must end in CR LF.
std::vector<std::string> Lines(const std::string& bytes) {
  std::wstring wide((bytes.size() - 2) / 2, L'\0');
  for (std::size_t i = 0; i < wide.size(); ++i) {
    wide[i] = static_cast<wchar_t>(static_cast<unsigned char>(bytes[2 + 2 * i]) |
                                   (static_cast<unsigned char>(bytes[3 + 2 * i]) << 8));
  }
  std::string text = Utf8(wide);
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start) + " <no CR LF>");
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

// The value name at the start of a .reg value line ("name"=... or @=...), with its escapes undone.
bool ValueNameOf(const std::string& line, std::string* name) {
  if (line.rfind("@=", 0) == 0) {
    name->clear();
    return true;
  }
  if (line.empty() || line[0] != '"') return false;
  name->clear();
  for (std::size_t i = 1; i < line.size(); ++i) {
    if (line[i] == '\\' && i + 1 < line.size()) {
      *name += line[++i];
    } else if (line[i] == '"') {
      return line.compare(i + 1, 1, "=") == 0;
    } else {
      *name += line[i];
    }
  }
  return false;
}

std::string Upper(std::string text) {
  CharUpperBuffA(&text[0], static_cast<DWORD>(text.size()));
  return text;
}

// The names of the values under each section "[key]" of the backup, by key name in upper case.
std::vector<std::pair<std::string, std::set<std::string>>> Sections(const std::vector<std::string>& lines) {
  std::vector<std::pair<std::string, std::set<std::string>>> sections;
  std::string name;
  for (const std::string& line : lines) {
    if (!line.empty() && line[0] == '[') {
      sections.emplace_back(Upper(line.substr(1, line.size() - 2)), std::set<std::string>());
    } else if (!sections.empty() && ValueNameOf(line, &name)) {
      sections.back().second.insert(name);
    }
  }
  return sections;
}

void CheckContent(const std::string& bytes) {
  CHECK(bytes.size() > 2 && bytes.compare(0, 2, "\xFF\xFE") == 0);
  std::vector<std::string> lines = Lines(bytes);
  CHECK(!lines.empty() && lines[0] == kHeader);
  int headers = 0;
  int marks = 0;
  for (const std::string& line : lines) {
    if (line.find(kHeader) != std::string::npos) ++headers;
    if (line.find("\xEF\xBB\xBF") != std::string::npos) ++marks;  // U+FEFF in UTF-8
    if (line.find(" <no CR LF>") != std::string::npos) CHECK_EQ(line, std::string("a line ended in CR LF"));
  }
  CHECK_EQ(headers, 1);
  CHECK_EQ(marks, 0);

  auto sections = Sections(lines);
  CHECK_EQ(static_cast<long long>(sections.size()), 4LL);
  for (std::size_t i = 0; i < sections.size() && i < 4; ++i) {
    CHECK_EQ(sections[i].first, Upper(KeyName(kKeys[i])));
    std::set<std::string> expected;
    for (const Value& value : ReadKey(kKeys[i])) expected.insert(Utf8(value.name));
    CHECK(!expected.empty());
    CHECK(sections[i].second == expected);
    for (const std::string& name : expected) {
      if (!sections[i].second.count(name)) CHECK_EQ(name, std::string("a value name in the backup"));
    }
  }
}

Value FindValue(const ShellKey& key, const std::wstring& name) {
  for (const Value& value : ReadKey(key)) {
    if (value.name == name) return value;
  }
  return Value();
}

void CheckImportRoundTrip(const std::string& backupPath) {
  const ShellKey& userShell = kKeys[0];
  Value before = FindValue(userShell, L"Personal");
  CHECK(before.type == REG_EXPAND_SZ || before.type == REG_SZ);

  HKEY key = nullptr;
  RegOpenKeyExW(userShell.root, userShell.subKey, 0, KEY_SET_VALUE, &key);
  const char relocated[] = "C:\\ZolvaneRelocatedDocs";
  RegSetValueExA(key, "Personal", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(relocated), sizeof relocated);
  RegCloseKey(key);
  CHECK(FindValue(userShell, L"Personal").bytes != before.bytes);

  CHECK_EQ(RunAndWait(Wide("regedit /s \"" + backupPath + "\"")), 0LL);
  Value after = FindValue(userShell, L"Personal");
  CHECK_EQ(static_cast<long long>(after.type), static_cast<long long>(before.type));
  CHECK(after.bytes == before.bytes);
  std::printf("Personal after relocation and import: %s\n",
              Utf8(std::wstring(reinterpret_cast<const wchar_t*>(after.bytes.data()), after.bytes.size() / 2)).c_str());
}

void CheckNoTemporaryFile() {
  for (const wchar_t* name : {L"splfolders1.txt", L"splfolders2.txt", L"splfolders3.txt", L"splfolders4.txt"}) {
    std::string path = Utf8(TempFolder() + name);
    CHECK_EQ(path + (Exists(TempFolder() + name) ? " exists" : " is gone"), path + " is gone");
  }
}

void PrintFirstLines(const std::string& bytes, std::size_t count) {
  std::vector<std::string> lines = Lines(bytes);
  std::printf("First lines of the backup (%u bytes, begins %02X %02X):\n", static_cast<unsigned>(bytes.size()),
              static_cast<unsigned char>(bytes[0]), static_cast<unsigned char>(bytes[1]));
  for (std::size_t i = 0; i < lines.size() && i < count; ++i) std::printf("  %s\n", lines[i].c_str());
}

}  // namespace

int main() {
  platform::Win32Platform win32;
  FakeMainView view;
  MainPresenter presenter(win32.platform(), view);
  view.Attach(&presenter);

  char desktop[MAX_PATH] = "";
  bool desktopExisted = SHGetFolderPathA(nullptr, CSIDL_DESKTOP, nullptr, SHGFP_TYPE_CURRENT, desktop) == S_OK;
  SHGetFolderPathA(nullptr, CSIDL_DESKTOP | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, desktop);
  std::string backupPath = std::string(desktop) + "\\specialfolders.bak";
  bool hadBackup = Exists(Wide(backupPath));
  std::string earlierBackup = ReadFileBytes(Wide(backupPath));
  std::vector<Value> saved[4];
  for (int i = 0; i < 4; ++i) saved[i] = ReadKey(kKeys[i]);

  presenter.OnBackup();
  CHECK_EQ(view.messages.size() == 1 ? view.messages[0].prompt : std::string("one message"), std::string(kSuccess));
  std::string first = ReadFileBytes(Wide(backupPath));
  CHECK(!first.empty());
  CheckNoTemporaryFile();
  if (first.size() > 2) {
    PrintFirstLines(first, 8);
    CheckContent(first);
    CheckImportRoundTrip(backupPath);
  }

  view.messages.clear();
  presenter.OnBackup();
  CHECK_EQ(view.messages.size() == 1 ? view.messages[0].prompt : std::string("one message"), std::string(kSuccess));
  std::string second = ReadFileBytes(Wide(backupPath));
  CHECK(second == first);
  CheckNoTemporaryFile();

  for (int i = 0; i < 4; ++i) RestoreKey(kKeys[i], saved[i]);
  if (hadBackup) {
    WriteFileBytes(Wide(backupPath), earlierBackup);
  } else {
    DeleteFileA(backupPath.c_str());
  }
  if (!desktopExisted) RemoveDirectoryA(desktop);
  return wine_check::Summary();
}
