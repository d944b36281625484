// The fake environment, system and shell: in memory, every call recorded.
#include "fakes/fake_platform.h"

#include <algorithm>

#include "backup/shell_folder_keys.h"
#include "text/ascii_case.h"

#include "text/utf16.h"

std::optional<std::string> FakeEnvironment::GetEnvironmentVariableW(const std::string& name) {
  if (log_.Record("GetEnvironmentVariableW(" + name + ")")) return std::nullopt;
  auto found = variables_.find(name);
  if (found == variables_.end()) return std::nullopt;
  return found->second;
}

int FakeSystem::GetVersionExW(platform::OsVersionInfo* info) {
  passedIn = *info;
  if (log_.Record("GetVersionExW(" + std::to_string(info->dwOSVersionInfoSize) + ")")) return 0;
  info->dwMajorVersion = version_.dwMajorVersion;
  info->dwMinorVersion = version_.dwMinorVersion;
  info->dwBuildNumber = version_.dwBuildNumber;
  info->dwPlatformId = version_.dwPlatformId;
  return 1;
}

std::uint32_t FakeSystem::GetWindowsDirectoryW(std::string* path) {
  if (log_.Record("GetWindowsDirectoryW()")) return 0;
  *path = windowsFolder;
  return static_cast<std::uint32_t>(windowsFolder.size());
}

void FakeSystem::SetVersion(std::uint32_t platformId, std::uint32_t major, std::uint32_t minor) {
  version_.dwPlatformId = platformId;
  version_.dwMajorVersion = major;
  version_.dwMinorVersion = minor;
}

std::int32_t FakeShell::SHGetFolderPathW(platform::WindowHandle hwndOwner, int nFolder, std::uintptr_t hToken,
                                         std::uint32_t dwFlags, std::string* path) {
  if (auto fail =
          log_.Record("SHGetFolderPathW(" + std::to_string(static_cast<std::uintptr_t>(hwndOwner)) + ", " +
                      std::to_string(nFolder) + ", " + std::to_string(hToken) + ", " + std::to_string(dwFlags) + ")")) {
    return *fail;
  }
  if (folderPathResult == platform::kSOk) *path = desktopPath;
  return folderPathResult;
}

platform::WindowHandle FakeShell::GetDesktopWindow() {
  log_.Record("GetDesktopWindow()");
  return kDesktopWindow;
}

std::intptr_t FakeShell::ShellExecuteW(platform::WindowHandle hwnd, const std::string& operation,
                                       const std::string& file, const std::optional<std::string>& parameters,
                                       const std::optional<std::string>& directory, int showCmd) {
  if (log_.Record("ShellExecuteW(" + operation + ", " + file + ")")) return 2;
  executions.push_back(Execution{hwnd, operation, file, parameters, directory, showCmd});
  return 42;
}

platform::ItemIdList FakeShell::SHBrowseForFolderW(const platform::BrowseInfo& browseInfo) {
  if (log_.Record("SHBrowseForFolderW(" + browseInfo.lpszTitle + ")")) return platform::ItemIdList::kNone;
  browses.push_back(browseInfo);
  return browseConfirms ? kPickedPidl : platform::ItemIdList::kNone;
}

int FakeShell::SHGetPathFromIDListW(platform::ItemIdList pidl, char16_t* pszPath) {
  if (log_.Record("SHGetPathFromIDListW(" + std::to_string(static_cast<std::uintptr_t>(pidl)) + ")")) return 0;
  if (browseLeavesNoZero) {
    std::fill(pszPath, pszPath + platform::kMaxPath, u'X');
    return 0;
  }
  std::string units = Utf8ToUtf16Le(browsePath);
  std::size_t length = std::min(units.size() / 2, platform::kMaxPath - 1);
  for (std::size_t i = 0; i < length; ++i) {
    pszPath[i] = static_cast<char16_t>(static_cast<unsigned char>(units[2 * i]) |
                                       (static_cast<unsigned char>(units[2 * i + 1]) << 8));
  }
  pszPath[length] = u'\0';
  return 1;
}

void FakeShell::CoTaskMemFree(platform::ItemIdList pv) {
  log_.Record("CoTaskMemFree(" + std::to_string(static_cast<std::uintptr_t>(pv)) + ")");
  freed.push_back(pv);
}

int FakeShell::GetOpenFileNameW(const platform::OpenFileName& ofn, std::string* file) {
  if (log_.Record("GetOpenFileNameW(" + ofn.lpstrInitialDir + ", " + ofn.lpstrFile + ")")) return 0;
  openDialogs.push_back(ofn);
  if (openDialogPick.empty()) return 0;
  *file = openDialogPick;
  return 1;
}

std::int32_t FakeShell::CoInitializeEx(std::uint32_t coInit) {
  if (auto fail = log_.Record("CoInitializeEx(" + std::to_string(coInit) + ")")) return *fail;
  return platform::kSOk;
}

namespace {

std::string Escaped(const std::string& text) {
  std::string escaped;
  for (char c : text) {
    if (c == '\\' || c == '"') escaped += '\\';
    escaped += c;
  }
  return escaped;
}

std::string HexValue(std::uint32_t type, const std::string& bytes, std::size_t nameLength) {
  char prefix[16];
  std::snprintf(prefix, sizeof prefix, type == platform::kRegBinary ? "hex:" : "hex(%x):", type);
  std::string line = prefix;
  std::size_t column = nameLength + 1 + line.size();
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    char byte[4];
    std::snprintf(byte, sizeof byte, "%02x", static_cast<unsigned char>(bytes[i]));
    line += byte;
    column += 2;
    if (i + 1 == bytes.size()) break;
    line += ',';
    ++column;
    if (column > 76) {
      line += "\\\r\n  ";
      column = 2;
    }
  }
  return line;
}

std::string ValueLine(const std::string& name, const FakeRegistry::Value& value) {
  std::string quotedName = name.empty() ? "@" : "\"" + Escaped(name) + "\"";
  if (value.type == platform::kRegSz) {
    std::string text = Utf16LeToUtf8(value.bytes.substr(0, value.bytes.size() / 2 * 2));
    return quotedName + "=\"" + Escaped(text.substr(0, text.find('\0'))) + "\"";
  }
  if (value.type == platform::kRegDword && value.bytes.size() == 4) {
    char number[16];
    std::uint32_t data = 0;
    for (int i = 3; i >= 0; --i) data = data << 8 | static_cast<unsigned char>(value.bytes[i]);
    std::snprintf(number, sizeof number, "dword:%08x", data);
    return quotedName + "=" + number;
  }
  return quotedName + "=" + HexValue(value.type, value.bytes, quotedName.size());
}

}  // namespace

std::string RegeditExport(const FakeRegistry& registry, platform::HKey hive, const std::string& subKey) {
  std::string prefix = (hive == platform::kHkeyCurrentUser ? "0x80000001\\" : "0x80000002\\") + subKey;
  std::string text = "Windows Registry Editor Version 5.00\r\n\r\n";
  for (const auto& [path, values] : registry.keys()) {
    bool inside = SameIgnoringAsciiCase(path.substr(0, prefix.size()), prefix) &&
                  (path.size() == prefix.size() || path[prefix.size()] == '\\');
    if (!inside) continue;
    text += "[" + std::string(HiveName(hive)) + path.substr(path.find('\\')) + "]\r\n";
    for (const auto& [name, value] : values) text += ValueLine(name, value) + "\r\n";
    text += "\r\n";
  }
  return "\xFF\xFE" + Utf8ToUtf16Le(text);
}

FakeProcesses::Outcome FakePlatform::ExportLikeRegedit(const std::string& commandLine) {
  std::vector<std::string> quoted;
  for (std::size_t open = commandLine.find('"'); open != std::string::npos;) {
    std::size_t close = commandLine.find('"', open + 1);
    quoted.push_back(commandLine.substr(open + 1, close - open - 1));
    open = commandLine.find('"', close + 1);
  }
  if (commandLine.compare(0, 10, "regedit /e") != 0 || quoted.size() != 2) return FakeProcesses::Outcome();
  for (const ShellFolderKey& key : kShellFolderKeys) {
    if (key.FullName() == quoted[1]) files.files[quoted[0]] = RegeditExport(registry, key.hive, key.path);
  }
  return FakeProcesses::Outcome();
}
