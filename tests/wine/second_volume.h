// A second volume for the tests and the bench under Wine: a free drive letter mapped through Wine's mount manager
// to a folder of /dev/shm, a tmpfs, so that a move between it and C: crosses volumes.
#pragma once

#include <windows.h>
#include <winioctl.h>

#include <cstring>
#include <string>

#include "scratch.h"
#include "wide_text.h"

// Wine's own request to its mount manager (include/ddk/mountmgr.h): a drive letter for a Unix folder, or none.
struct MountManagerUnixDrive {
  ULONG size;
  ULONG type;
  ULONG fsType;
  DWORD serial;
  ULONGLONG unixDevice;
  WCHAR letter;
  USHORT mountPointOffset;
  USHORT deviceOffset;
  USHORT labelOffset;
};
constexpr DWORD kDefineUnixDrive = CTL_CODE('m', 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);

// unixFolder empty: the letter is taken away.
inline bool DefineUnixDrive(wchar_t letter, const std::string& unixFolder) {
  HANDLE manager = CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (manager == INVALID_HANDLE_VALUE) return false;
  std::string request(sizeof(MountManagerUnixDrive) + unixFolder.size() + 1, '\0');
  auto* drive = reinterpret_cast<MountManagerUnixDrive*>(&request[0]);
  drive->size = static_cast<ULONG>(request.size());
  drive->letter = letter;
  drive->type = unixFolder.empty() ? DRIVE_NO_ROOT_DIR : DRIVE_FIXED;
  drive->mountPointOffset = unixFolder.empty() ? 0 : sizeof(MountManagerUnixDrive);
  std::memcpy(&request[sizeof(MountManagerUnixDrive)], unixFolder.c_str(), unixFolder.size());
  DWORD returned = 0;
  BOOL done = DeviceIoControl(manager, kDefineUnixDrive, &request[0], static_cast<DWORD>(request.size()), nullptr, 0,
                              &returned, nullptr);
  CloseHandle(manager);
  return done != FALSE;
}

// A second volume: a free drive letter mapped to a folder of /dev/shm, a tmpfs; both gone when it goes. Wine's
// DefineDosDevice makes a name its file functions never follow, so the mount manager maps the letter.
class SecondVolume {
 public:
  SecondVolume() {
    std::string name = "zolvane-move-" + std::to_string(GetCurrentProcessId());
    unixFolder_ = "/dev/shm/" + name;
    windowsFolder_ = L"Z:\\dev\\shm\\" + Wide(name);
    CreateDirectoryW(windowsFolder_.c_str(), nullptr);
    DWORD taken = GetLogicalDrives();
    for (wchar_t letter = L'X'; letter > L'L' && letter_ == 0; --letter) {
      if (!(taken & (1u << (letter - L'A'))) && DefineUnixDrive(letter, unixFolder_)) letter_ = letter;
    }
  }
  ~SecondVolume() {
    if (letter_ != 0) DefineUnixDrive(letter_, std::string());
    RemoveTree(windowsFolder_);
  }
  bool ready() const { return letter_ != 0; }
  std::wstring Root() const { return std::wstring(1, letter_) + L":\\"; }
  // The folder the letter stands for, as Unix names it.
  const std::string& UnixFolder() const { return unixFolder_; }

 private:
  std::string unixFolder_;
  std::wstring windowsFolder_;
  wchar_t letter_ = 0;
};
