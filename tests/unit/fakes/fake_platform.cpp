#include "fakes/fake_platform.h"

#include <cstring>

std::optional<std::string> FakeEnvironment::GetEnvironmentVariableA(const std::string& name) {
  if (log_.Record("GetEnvironmentVariableA(" + name + ")")) return std::nullopt;
  auto found = variables_.find(name);
  if (found == variables_.end()) return std::nullopt;
  return found->second;
}

int FakeSystem::GetVersionExA(platform::OsVersionInfo* info) {
  passedIn = *info;
  if (log_.Record("GetVersionExA(" + std::to_string(info->dwOSVersionInfoSize) + ")")) return 0;
  info->dwMajorVersion = version_.dwMajorVersion;
  info->dwMinorVersion = version_.dwMinorVersion;
  info->dwBuildNumber = version_.dwBuildNumber;
  info->dwPlatformId = version_.dwPlatformId;
  return 1;
}

void FakeSystem::SetVersion(std::uint32_t platformId, std::uint32_t major, std::uint32_t minor) {
  version_.dwPlatformId = platformId;
  version_.dwMajorVersion = major;
  version_.dwMinorVersion = minor;
}

std::int32_t FakeShell::SHGetFolderPathA(platform::Handle hwndOwner, int nFolder, platform::Handle hToken,
                                         std::uint32_t dwFlags, std::string* path) {
  if (auto fail = log_.Record("SHGetFolderPathA(" + std::to_string(hwndOwner) + ", " + std::to_string(nFolder) + ", " +
                              std::to_string(hToken) + ", " + std::to_string(dwFlags) + ")")) {
    return *fail;
  }
  if (folderPathResult == platform::kSOk) *path = desktopPath;
  return folderPathResult;
}

platform::Handle FakeShell::GetDesktopWindow() {
  log_.Record("GetDesktopWindow()");
  return kDesktopWindow;
}

platform::Handle FakeShell::ShellExecuteA(platform::Handle hwnd, const std::string& operation, const std::string& file,
                                          const std::optional<std::string>& parameters,
                                          const std::optional<std::string>& directory, int showCmd) {
  if (log_.Record("ShellExecuteA(" + operation + ", " + file + ")")) return 2;
  executions.push_back(Execution{hwnd, operation, file, parameters, directory, showCmd});
  return 42;
}

platform::Handle FakeShell::SHBrowseForFolderA(const platform::BrowseInfo& browseInfo) {
  if (log_.Record("SHBrowseForFolderA(" + browseInfo.lpszTitle + ")")) return 0;
  browses.push_back(browseInfo);
  return browseConfirms ? kPickedPidl : 0;
}

int FakeShell::SHGetPathFromIDListA(platform::Handle pidl, char* pszPath) {
  if (log_.Record("SHGetPathFromIDListA(" + std::to_string(pidl) + ")")) return 0;
  if (browseLeavesNoZero) {
    std::memset(pszPath, 'X', platform::kMaxPath);
    return 0;
  }
  std::size_t length = std::min(browseBufferBytes.size(), platform::kMaxPath - 1);
  std::memcpy(pszPath, browseBufferBytes.data(), length);
  pszPath[length] = '\0';
  return 1;
}

void FakeShell::CoTaskMemFree(platform::Handle pv) {
  log_.Record("CoTaskMemFree(" + std::to_string(pv) + ")");
  freed.push_back(pv);
}
