// The platform contract: each behaviour of platform.h that the product relies on, checked the same way against
// whichever implementation it is given.
#include "tests/contract/platform_contract.h"

#include <optional>
#include <vector>

namespace contract {

namespace {

using platform::kHkeyCurrentUser;

class Checks {
 public:
  explicit Checks(const Setting& setting) : setting_(setting) {}

  void That(bool held, const std::string& what) { setting_.check(held, what); }
  void Code(std::int32_t got, std::int32_t expected, const std::string& what) {
    That(got == expected, what + ": answered " + std::to_string(got) + ", expected " + std::to_string(expected));
  }

 private:
  const Setting& setting_;
};

// A missing value or key is ERROR_FILE_NOT_FOUND to every call; a value is read back as written, of any type
// and length, its name matched without regard to case; a write makes the key it needs.
void RegistryContract(platform::Registry& registry, const Setting& setting, Checks& checks) {
  const std::string key = setting.scratchKey;
  const std::string missingKey = key + "\\No such key";
  platform::RegistryValue value;
  checks.Code(registry.ReadValue(kHkeyCurrentUser, missingKey, "x", &value), platform::kErrorFileNotFound,
              "a value of a missing key");
  std::vector<platform::RegistryValue> values;
  checks.Code(registry.ReadValues(kHkeyCurrentUser, missingKey, &values), platform::kErrorFileNotFound,
              "the values of a missing key");
  checks.Code(registry.DeleteValue(kHkeyCurrentUser, missingKey, "x"), platform::kErrorFileNotFound,
              "a deletion in a missing key");

  const platform::RegistryValue written[] = {
      {"Text", platform::kRegExpandSz, std::string("%\0A\0\0\0", 6)},
      {"Odd", platform::kRegSz, std::string("A\0B", 3)},  // no terminator, and half a character
      {"Nothing", platform::kRegSz, std::string()},
      {"Number", platform::kRegDword, std::string("\x07\0\0\0", 4)},
      {"Long", platform::kRegBinary, std::string(70000, '\xAB')},
  };
  for (const platform::RegistryValue& one : written) {
    checks.Code(registry.WriteValue(kHkeyCurrentUser, key + "\\Made", one), 0, "a write of " + one.name);
  }
  for (const platform::RegistryValue& one : written) {
    platform::RegistryValue read;
    checks.Code(registry.ReadValue(kHkeyCurrentUser, key + "\\Made", one.name, &read), 0, "a read of " + one.name);
    checks.That(read.type == one.type && read.bytes == one.bytes, one.name + " reads back as written");
  }
  checks.Code(registry.ReadValue(kHkeyCurrentUser, key + "\\Made", "NUMBER", &value), 0, "a name in another case");
  checks.Code(registry.ReadValue(kHkeyCurrentUser, key + "\\Made", "Missing", &value), platform::kErrorFileNotFound,
              "a missing value of a key that exists");
  checks.Code(registry.ReadValues(kHkeyCurrentUser, key + "\\Made", &values), 0, "the values of a key");
  checks.That(values.size() == sizeof written / sizeof written[0], "every value of the key is listed");

  for (const platform::RegistryValue& one : written) {
    checks.Code(registry.DeleteValue(kHkeyCurrentUser, key + "\\Made", one.name), 0, "a deletion of " + one.name);
  }
  checks.Code(registry.DeleteValue(kHkeyCurrentUser, key + "\\Made", "Text"), platform::kErrorFileNotFound,
              "a value deleted twice");
}

// A defined variable is found whatever the case of its name; an undefined one is none.
void EnvironmentContract(platform::Environment& environment, Checks& checks) {
  std::optional<std::string> profile = environment.Variable("USERPROFILE");
  checks.That(profile.has_value() && !profile->empty(), "USERPROFILE is defined");
  checks.That(environment.Variable("userprofile") == profile, "a variable's name in another case");
  checks.That(!environment.Variable("ZOLVANE_NO_SUCH_VARIABLE").has_value(), "an undefined variable is none");
}

// A temporary folder ends in a backslash; the system's words for an error have no line end.
void SystemContract(platform::System& system, Checks& checks) {
  std::string temp = system.TempFolder();
  checks.That(!temp.empty() && temp.back() == '\\', "the temporary folder ends in a backslash");
  std::string denied = system.ErrorText(platform::kErrorAccessDenied);
  checks.That(!denied.empty() && denied.find_first_of("\r\n") == std::string::npos && denied.back() != ' ',
              "the words for access denied, on one line");
  platform::LocalTime now = system.Now();
  checks.That(now.year >= 2000 && now.month >= 1 && now.month <= 12 && now.day >= 1 && now.day <= 31 && now.hour >= 0 &&
                  now.hour < 24 && now.minute >= 0 && now.minute < 60 && now.second >= 0 && now.second < 61,
              "now is a moment of the calendar");
}

// A new file is made only where there is none, and read back whole; a read is refused, before anything is read,
// for a folder and for more than it may take; a replacement takes the other's place in one step.
void FilesContract(platform::Files& files, const Setting& setting, Checks& checks) {
  const std::string file = setting.scratchFolder + "contract file.txt";
  const std::string other = setting.scratchFolder + "contract other.txt";
  const std::string folder = setting.scratchFolder.substr(0, setting.scratchFolder.size() - 1);
  checks.That(files.FullPath(file) == file, "a full path stays as it is");
  std::string madeFull = files.FullPath("relative.txt");
  checks.That(
      madeFull.size() > 13 && madeFull.compare(madeFull.size() - 13, 13, "\\relative.txt") == 0 && madeFull[1] == ':',
      "a relative name made full against a folder of a drive: " + madeFull);

  checks.Code(files.WriteNewFile(file, "first"), 0, "a new file");
  checks.Code(files.WriteNewFile(file, "second"), platform::kErrorFileExists, "a new file over one that exists");
  std::string bytes;
  checks.Code(files.ReadWholeFile(file, 1024, &bytes), 0, "a whole file read");
  checks.That(bytes == "first", "the file that was there is kept");
  checks.Code(files.ReadWholeFile(file, 4, &bytes), platform::kErrorFileTooLarge, "a file beyond the limit");
  checks.Code(files.ReadWholeFile(folder, 1024, &bytes), platform::kErrorBadFileType, "a folder read as a file");
  checks.Code(files.ReadWholeFile(other, 1024, &bytes), platform::kErrorFileNotFound, "a missing file read");
  checks.That(files.Exists(file) && !files.IsFolder(file), "a file is there, and no folder");
  checks.That(files.Exists(folder) && files.IsFolder(folder), "a folder is there, and a folder");

  checks.Code(files.WriteNewFile(other, std::string()), 0, "an empty new file");
  checks.Code(files.ReadWholeFile(other, 1024, &bytes), 0, "an empty file read");
  checks.That(bytes.empty(), "an empty file reads as nothing");
  checks.Code(files.MoveToNewName(file, other), platform::kErrorAlreadyExists, "a move to a name a file has");
  checks.Code(files.Replace(file, other), 0, "a file put in the place of another");
  checks.Code(files.ReadWholeFile(other, 1024, &bytes), 0, "the replaced file read");
  checks.That(bytes == "first" && !files.Exists(file), "the replacement holds the moved file, which is gone");
  setting.setReadOnly(other, true);
  checks.That(files.IsReadOnly(other), "a read-only file");
  setting.setReadOnly(other, false);
  checks.That(!files.IsReadOnly(other), "a writable file");
  checks.That(files.LongFullPath(other) == other, "a long full path stays as it is");
  checks.That(files.LongFullPath("\\\\?\\" + other) == other, "a path behind \\\\?\\ is the same file");
  checks.That(files.LongFullPath(folder + "\\none.txt") == folder + "\\none.txt", "a missing file in a folder");
  checks.Code(files.MoveToNewName(other, file), 0, "a move to a new name");
  checks.That(files.Exists(file) && !files.Exists(other), "the moved file has its new name only");
  checks.Code(files.Replace(file, other), 0, "the file moved back");
  checks.Code(files.Delete(other), 0, "a file deleted");
  checks.Code(files.Delete(other), platform::kErrorFileNotFound, "a file deleted twice");

  const std::string made = setting.scratchFolder + "made";
  checks.Code(files.CreateFolder(made), 0, "a folder made");
  checks.That(files.IsFolder(made), "the folder made is there");
  checks.Code(files.CreateFolder(made), platform::kErrorAlreadyExists, "a folder made twice");
  checks.Code(files.CreateFolder(made + "\\in\\deeper"), platform::kErrorPathNotFound,
              "a folder in a folder that is not there");
}

// A lock is its holder's: the holder may take it again, another waits for it and times out, and once it is let
// go another has it at once.
void LocksContract(platform::Locks& locks, const Setting& setting, Checks& checks) {
  const std::string name = "Zolvane platform contract";
  platform::LockHandle held = platform::LockHandle::kNone;
  bool abandoned = true;
  checks.Code(locks.Acquire(name, 0, &held, &abandoned), 0, "a free lock");
  checks.That(!abandoned, "a free lock is not abandoned");
  std::int32_t elsewhere = 0;
  setting.runOnAnotherThread([&] {
    platform::LockHandle other = platform::LockHandle::kNone;
    bool otherAbandoned = false;
    elsewhere = locks.Acquire(name, 50, &other, &otherAbandoned);
    if (elsewhere == 0) locks.Release(other);
  });
  checks.Code(elsewhere, platform::kErrorWaitTimeout, "a busy lock, waited for elsewhere");
  platform::LockHandle again = platform::LockHandle::kNone;
  checks.Code(locks.Acquire(name, 0, &again, &abandoned), 0, "the holder taking its lock again");
  if (again != platform::LockHandle::kNone) locks.Release(again);
  locks.Release(held);
  // A holder that ends without letting go: the next has the lock, and learns that it was abandoned.
  setting.runOnAnotherThread([&] {
    platform::LockHandle other = platform::LockHandle::kNone;
    bool otherAbandoned = false;
    elsewhere = locks.Acquire(name, 0, &other, &otherAbandoned);
  });
  checks.Code(elsewhere, 0, "a lock let go, taken elsewhere");
  checks.Code(locks.Acquire(name, 0, &held, &abandoned), 0, "a lock whose holder ended");
  checks.That(abandoned, "a lock whose holder ended is said to be abandoned");
  locks.Release(held);
  checks.Code(locks.Acquire(name, 0, &held, &abandoned), 0, "the lock let go again");
  checks.That(!abandoned, "a lock let go properly is not abandoned");
  locks.Release(held);
}

// A process ends with its exit code; one that runs too long is ended, and said so.
void ProcessesContract(platform::Processes& processes, const Setting& setting, Checks& checks) {
  platform::ProcessHandle quick = platform::ProcessHandle::kNone;
  checks.Code(processes.Start(setting.quickProgram, setting.quickCommandLine, &quick), 0, "a program started");
  platform::ProcessEnd end = processes.Finish(quick, 30000);
  checks.That(end.how == platform::ProcessEnd::How::kExited && end.exitCode == 3, "it ended by itself, with code 3");

  platform::ProcessHandle slow = platform::ProcessHandle::kNone;
  checks.Code(processes.Start(setting.longRunningProgram, setting.longRunningCommandLine, &slow), 0,
              "a program that runs on started");
  end = processes.Finish(slow, 200);
  checks.That(end.how == platform::ProcessEnd::How::kEnded, "a program that runs too long is ended");
}

// The desktop is a folder of the user's; a stock folder has a path.
void ShellContract(platform::Shell& shell, Checks& checks) {
  platform::DesktopFolderAnswer desktop = shell.DesktopFolder();
  checks.That(desktop.result == platform::DesktopFolderAnswer::Result::kFound && !desktop.path.empty(),
              "the desktop folder's path");
  constexpr int kCsidlPersonal = 0x05;
  std::optional<std::string> documents = shell.StockFolderPath(kCsidlPersonal);
  checks.That(documents.has_value() && !documents->empty(), "My Documents' stock location");
  std::optional<std::string> applicationData = shell.ApplicationDataFolder();
  checks.That(applicationData.has_value() && !applicationData->empty(), "the application-data folder");
}

}  // namespace

void RunPlatformContract(platform::Platform& platform, const Setting& setting) {
  Checks checks(setting);
  RegistryContract(platform.registry, setting, checks);
  EnvironmentContract(platform.environment, checks);
  SystemContract(platform.system, checks);
  FilesContract(platform.files, setting, checks);
  LocksContract(platform.locks, setting, checks);
  ProcessesContract(platform.processes, setting, checks);
  ShellContract(platform.shell, checks);
}

}  // namespace contract
