// The real platform: each interface of platform.h over the wide Win32 calls, one file an area.
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"

namespace platform {

// A function of a library in the system folder, which is loaded on first use and then stays loaded for the
// life of the process. Null when the library or the function cannot be had.
void* SystemFunction(const char* dll, const char* name);

class Win32Registry : public Registry {
 public:
  std::int32_t ReadValue(HKey hive, const std::string& subKey, const std::string& name, RegistryValue* value) override;
  std::int32_t ReadValues(HKey hive, const std::string& subKey, std::vector<RegistryValue>* values) override;
  std::int32_t WriteValue(HKey hive, const std::string& subKey, const RegistryValue& value) override;
  std::int32_t DeleteValue(HKey hive, const std::string& subKey, const std::string& name) override;
};

class Win32Environment : public Environment {
 public:
  std::optional<std::string> Variable(const std::string& name) override;
  bool AtLogon(const std::string& name) override;

 private:
  // The names of the user's environment at logon, ASCII letters lowered; read once, when first asked.
  bool logonRead_ = false;
  bool logonKnown_ = false;
  std::vector<std::string> logonNames_;
};

class Win32System : public System {
 public:
  LocalTime Now() override;
  WindowsVersion Version() override;
  std::string WindowsFolder() override;
  std::string TempFolder() override;
  std::string ErrorText(std::int32_t code) override;
  std::uint16_t InstalledUiLanguage() override;
  void Pause(std::uint32_t ms) override;
  std::uint32_t Ticks() override;
  int OutputConsoleColumns() override;
};

class Win32Files : public Files {
 public:
  std::string FullPath(const std::string& path) override;
  std::string LongFullPath(const std::string& path) override;
  std::int32_t CreateFolder(const std::string& path) override;
  bool IsReadOnly(const std::string& path) override;
  bool Exists(const std::string& path) override;
  bool IsFolder(const std::string& path) override;
  std::int32_t ReadWholeFile(const std::string& path, std::size_t maxBytes, std::string* bytes) override;
  std::int32_t WriteNewFile(const std::string& path, const std::string& bytes) override;
  std::int32_t AppendToFile(const std::string& path, const std::string& bytes) override;
  std::int32_t Delete(const std::string& path) override;
  std::int32_t Replace(const std::string& from, const std::string& to) override;
  std::int32_t MoveToNewName(const std::string& from, const std::string& to) override;
};

class Win32FileTree : public FileTree {
 public:
  std::int32_t List(const std::string& folder, std::vector<TreeEntry>* entries) override;
  std::int32_t Describe(const std::string& path, TreeEntry* entry) override;
  std::int32_t Volume(const std::string& path, VolumeInfo* volume) override;
  std::int32_t Rename(const std::string& from, const std::string& to) override;
  std::int32_t CopyToNew(const std::string& from, const std::string& to, const Progress& progress) override;
  std::int32_t CompareBytes(const std::string& one, const std::string& other, bool* same) override;
  std::int32_t SetFolderDetails(const std::string& folder, std::uint32_t attributes, std::uint64_t created,
                                std::uint64_t lastWritten) override;
  std::int32_t MakeFolder(const std::string& folder) override;
  std::int32_t RemoveFile(const std::string& path, bool evenReadOnly) override;
  std::int32_t RemoveFolder(const std::string& folder, bool evenReadOnly) override;
};

class Win32Processes : public Processes {
 public:
  std::int32_t Start(const std::string& program, const std::string& commandLine, ProcessHandle* process) override;
  ProcessEnd Finish(ProcessHandle process, std::uint32_t timeoutMs) override;
};

class Win32Shell : public Shell {
 public:
  DesktopFolderAnswer DesktopFolder() override;
  std::optional<std::string> ApplicationDataFolder() override;
  std::optional<std::string> StockFolderPath(int csidl) override;
  void OpenWebPage(const std::string& address) override;
  std::optional<std::string> BrowseForFolder(WindowHandle owner, const std::string& title) override;
  FileChoice ChooseFile(WindowHandle owner, const std::string& title, const std::string& initialFolder,
                        const std::string& preselectedName, const std::string& filter) override;

 private:
  // The first answer for the application-data folder; asked for by one thread at a time.
  std::optional<std::string> applicationData_;
};

class Win32Locks : public Locks {
 public:
  std::int32_t Acquire(const std::string& name, std::uint32_t timeoutMs, LockHandle* lock, bool* abandoned) override;
  void Release(LockHandle lock) override;
};

// All of the above, wired together.
class Win32Platform {
 public:
  Win32Platform() = default;
  Platform& platform() { return platform_; }

 private:
  Win32Registry registry_;
  Win32Environment environment_;
  Win32System system_;
  Win32Files files_;
  Win32Processes processes_;
  Win32Shell shell_;
  Win32Locks locks_;
  Win32FileTree fileTree_;
  Platform platform_{registry_, environment_, system_, files_, processes_, shell_, locks_, fileTree_};
};

}  // namespace platform
