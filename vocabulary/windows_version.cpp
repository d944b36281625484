// The running Windows version's name, from its platform and version numbers.
#include "vocabulary/windows_version.h"

namespace {

constexpr std::uint32_t kVerPlatformWin32Windows = 1;
constexpr std::uint32_t kVerPlatformWin32Nt = 2;

std::string Windows9xName(std::uint32_t minor) {
  switch (minor) {
    case 0:
      return "Windows 95";
    case 10:
      return "Windows 98";
    case 90:
      return "Windows Millennium";
    default:
      return std::string();
  }
}

std::string WindowsNtName(std::uint32_t major, std::uint32_t minor) {
  switch (major) {
    case 3:
      return "Windows NT 3.51";
    case 4:
      return "Windows NT 4.0";
    case 5:
      return minor == 0 ? "Windows 2000" : "Windows XP";
    default:
      return std::string();
  }
}

}  // namespace

bool IsWindowsXp(platform::System& system) {
  return GetWindowsVersionName(system) == "Windows XP";
}

std::string GetWindowsVersionName(platform::System& system) {
  // A version the system did not give is all zero, which names no platform: "Failed".
  platform::WindowsVersion version = system.Version();
  if (version.platformId == kVerPlatformWin32Windows) return Windows9xName(version.minor);
  if (version.platformId == kVerPlatformWin32Nt) return WindowsNtName(version.major, version.minor);
  return "Failed";
}
