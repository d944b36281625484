// The fake environment, system and shell, and a stand-in for regedit /s: in memory, every call recorded.
#include "fakes/fake_platform.h"

#include <algorithm>

#include "backup/registry_import.h"
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

std::int32_t FakeShell::CoInitializeEx(std::uint32_t coInit) {
  if (auto fail = log_.Record("CoInitializeEx(" + std::to_string(coInit) + ")")) return *fail;
  return platform::kSOk;
}

void FakePlatform::ImportLikeRegedit(const std::string& commandLine) {
  std::size_t open = commandLine.find('"');
  std::size_t close = commandLine.rfind('"');
  if (commandLine.compare(0, 10, "regedit /s") != 0 || open == close) return;
  auto file = files.files.find(commandLine.substr(open + 1, close - open - 1));
  if (file == files.files.end()) return;
  for (const ImportedValue& value : CheckRegistryFile(file->second).values) {
    registry.SHSetValueW(value.hive, value.keyPath, value.valueName, value.type, value.bytes.data(),
                         static_cast<std::uint32_t>(value.bytes.size()));
  }
}
