// The platform contract against platform/win32/ under Wine, the same contract the fakes pass natively
// (tests/unit/platform_contract_test.cpp). With --run-until-ended it is instead the program that runs too long.
#include <windows.h>

#include <functional>
#include <map>
#include <string>

#include "platform/win32/win32_platform.h"
#include "scratch.h"
#include "tests/contract/platform_contract.h"
#include "wine_check.h"

namespace {

const char* const kScratchKey = "Software\\Zolvane platform contract";

DWORD WINAPI RunWork(void* work) {
  (*static_cast<const std::function<void()>*>(work))();
  return 0;
}

void RunOnAnotherThread(const std::function<void()>& work) {
  HANDLE thread = CreateThread(nullptr, 0, &RunWork, const_cast<std::function<void()>*>(&work), 0, nullptr);
  if (!CHECK(thread != nullptr)) return;
  WaitForSingleObject(thread, 30000);
  CloseHandle(thread);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::string(argv[1]) == "--run-until-ended") {
    Sleep(60000);
    return 0;
  }
  std::wstring folder = TempFolder() + L"zolvane platform contract\\";
  CreateDirectoryW(folder.c_str(), nullptr);

  contract::Setting setting;
  setting.scratchKey = kScratchKey;
  setting.scratchFolder = Utf8(folder);
  setting.quickProgram = "C:\\windows\\system32\\cmd.exe";
  setting.quickCommandLine = "cmd.exe /c exit 3";
  setting.longRunningProgram = Utf8(OwnPath());
  setting.longRunningCommandLine = "\"" + Utf8(OwnPath()) + "\" --run-until-ended";
  setting.runOnAnotherThread = RunOnAnotherThread;
  setting.setReadOnly = [](const std::string& path, bool readOnly) {
    SetFileAttributesW(Wide(path).c_str(), readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
  };
  std::map<std::string, HANDLE> heldOpen;
  setting.holdOpen = [&](const std::string& path, bool held) {
    if (held) {
      heldOpen[path] = CreateFileW(Wide(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    } else {
      CloseHandle(heldOpen[path]);
    }
  };
  setting.canOpenForWriting = [](const std::string& path) {
    HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
  };
  // Wine takes a Unix mount point for a volume mounted in a folder: a reparse point, and another volume.
  setting.otherVolumeFolder = "Z:\\dev\\shm\\";
  setting.reparsePoint = "Z:\\dev\\shm";
  setting.creationTimesKept = false;
  setting.check = [](bool held, const std::string& what) { wine_check::Report(held, __FILE__, __LINE__, what); };
  platform::Win32Platform win32;
  contract::RunPlatformContract(win32.platform(), setting);

  RegDeleteKeyW(HKEY_CURRENT_USER, Wide(std::string(kScratchKey) + "\\Made").c_str());
  RegDeleteKeyW(HKEY_CURRENT_USER, Wide(kScratchKey).c_str());
  RemoveDirectoryW((folder + L"made").c_str());
  RemoveDirectoryW(folder.c_str());
  return wine_check::Summary();
}
