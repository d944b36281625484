// The system services Zolvane uses, as small interfaces free of windows.h.
//
// Each operation is at the level of what Zolvane needs (a registry value, a whole file, a folder dialog that gives
// a path or nothing), wrapped once in platform/win32/ with every Win32 ritual (size queries, buffers, item lists,
// COM, handles) and faked once in the tests, so that a fake can record or fail any of them. Texts are UTF-8 in
// this interface and UTF-16 at the system: the Win32 layer converts them at the call. Registry data is handed
// over as the system stores it (a string's bytes in UTF-16LE).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// A registry hive: a predefined root, 0x80000001 or 0x80000002.
using HKey = std::uintptr_t;
// Handles of different kinds have types of their own, so that one cannot be passed for another.
enum class WindowHandle : std::uintptr_t { kNone = 0 };
enum class ProcessHandle : std::uintptr_t { kNone = 0 };
enum class LockHandle : std::uintptr_t { kNone = 0 };

constexpr HKey kHkeyCurrentUser = 0x80000001u;
constexpr HKey kHkeyLocalMachine = 0x80000002u;

constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegExpandSz = 2;
constexpr std::uint32_t kRegBinary = 3;
constexpr std::uint32_t kRegDword = 4;
constexpr std::uint32_t kRegMultiSz = 7;

constexpr std::int32_t kErrorSuccess = 0;
constexpr std::int32_t kErrorFileNotFound = 2;
constexpr std::int32_t kErrorPathNotFound = 3;
constexpr std::int32_t kErrorAccessDenied = 5;
constexpr std::int32_t kErrorInvalidHandle = 6;
constexpr std::int32_t kErrorNotEnoughMemory = 8;
constexpr std::int32_t kErrorInvalidData = 13;
constexpr std::int32_t kErrorNotSameDevice = 17;
constexpr std::int32_t kErrorSharingViolation = 32;  // another program holds the file open and shares it not
constexpr std::int32_t kErrorLockViolation = 33;     // another program has locked a part of the file
constexpr std::int32_t kErrorFileExists = 80;
constexpr std::int32_t kErrorDiskFull = 112;
constexpr std::int32_t kErrorDirNotEmpty = 145;
constexpr std::int32_t kErrorAlreadyExists = 183;
constexpr std::int32_t kErrorBadFileType = 222;  // not a file on a disk: a folder, a device or a pipe
constexpr std::int32_t kErrorFileTooLarge = 223;
constexpr std::int32_t kErrorWaitTimeout = 258;
constexpr std::int32_t kErrorCantRead = 1012;   // a registry key could not be read
constexpr std::int32_t kErrorCantWrite = 1013;  // a registry key could not be written
constexpr std::int32_t kErrorFunctionFailed = 1627;

// One registry value as stored: its name, type and bytes (a string's bytes are UTF-16LE, as the system keeps them).
struct RegistryValue {
  std::string name;
  std::uint32_t type = 0;
  std::string bytes;
};

// The registry's values, by hive, key and name. On 64-bit Windows every call works on the 64-bit view, the one
// the shell reads, also from a 32-bit process; 32-bit Windows has only that one. Each call returns 0 or the
// system's code: ERROR_FILE_NOT_FOUND when the key or the value does not exist.
class Registry {
 public:
  virtual ~Registry() = default;
  // Opens the key for reading only. A value that grows while it is read is read again.
  virtual std::int32_t ReadValue(HKey hive, const std::string& subKey, const std::string& name,
                                 RegistryValue* value) = 0;
  // Every value of the key, in the registry's order.
  virtual std::int32_t ReadValues(HKey hive, const std::string& subKey, std::vector<RegistryValue>* values) = 0;
  // Creates the key when it is missing, then stores the value.
  virtual std::int32_t WriteValue(HKey hive, const std::string& subKey, const RegistryValue& value) = 0;
  virtual std::int32_t DeleteValue(HKey hive, const std::string& subKey, const std::string& name) = 0;
};

class Environment {
 public:
  virtual ~Environment() = default;
  // The value of a defined variable (names match without regard to case; a variable defined empty is empty
  // text), or none.
  virtual std::optional<std::string> Variable(const std::string& name) = 0;
  // Whether the variable is one of the user's own environment as Windows builds it at logon (the system's and the
  // user's variables in the registry, and those of the profile), where the shell expands a folder's stored path;
  // false for one set only in the environment this process was started in, such as a script's. True when that
  // cannot be told.
  virtual bool AtLogon(const std::string& name) = 0;
};

// What GetVersionExW says of the running system; all zero when it says nothing.
struct WindowsVersion {
  std::uint32_t platformId = 0;
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
  std::uint32_t build = 0;
};

// A moment in the system's local time.
struct LocalTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

class System {
 public:
  virtual ~System() = default;
  // Now, in the computer's own time zone.
  virtual LocalTime Now() = 0;
  virtual WindowsVersion Version() = 0;
  // The Windows folder, or empty text when the system names none.
  virtual std::string WindowsFolder() = 0;
  // The temporary folder with its trailing backslash, or empty text when the system gives none.
  virtual std::string TempFolder() = 0;
  // The system's own words for an error code, without a line end; empty text when it has none.
  virtual std::string ErrorText(std::int32_t code) = 0;
  // The language Windows was installed in (a language identifier: 0x0409 English, 0x0407 German), which named
  // the profile's folders; a language added later renames none.
  virtual std::uint16_t InstalledUiLanguage() = 0;
  // Waits that long, for a file another program holds open to be let go.
  virtual void Pause(std::uint32_t ms) = 0;
  // Milliseconds since the system started, wrapping after 49 days: a difference of two tells how long passed.
  virtual std::uint32_t Ticks() = 0;
  // How many characters wide the console is that standard output writes to; 0 when it goes to a file or a pipe.
  virtual int OutputConsoleColumns() = 0;
};

// Files, by path. Every operation returns 0 or the system's error code unless it says otherwise.
class Files {
 public:
  virtual ~Files() = default;
  // The same file's path in its one long form: full, each folder and the file by its long name (not its 8.3 one,
  // "SPLF~LWB.TXT"), without the "\\\\?\\" prefix; the file itself need not exist, its folder should.
  virtual std::string LongFullPath(const std::string& path) = 0;
  // Makes a folder whose parent exists: 0, ERROR_ALREADY_EXISTS (183) when it is there, or the system's code. It
  // takes the rights of the folder it is made in.
  virtual std::int32_t CreateFolder(const std::string& path) = 0;
  // A file that may not be written or replaced.
  virtual bool IsReadOnly(const std::string& path) = 0;
  // The path made full against the current folder ("backup.bak" as "C:\\Work\\backup.bak"); the path as it is
  // when the system cannot make it full.
  virtual std::string FullPath(const std::string& path) = 0;
  // A file or a folder.
  virtual bool Exists(const std::string& path) = 0;
  virtual bool IsFolder(const std::string& path) = 0;
  // The whole content of an existing file on a disk, read once while nobody may write it: ERROR_BAD_FILE_TYPE
  // for a folder, a device or a pipe, ERROR_FILE_TOO_LARGE for more than maxBytes, both before anything is read.
  virtual std::int32_t ReadWholeFile(const std::string& path, std::size_t maxBytes, std::string* bytes) = 0;
  // Creates a file that must not exist yet (ERROR_FILE_EXISTS when it does), writes the bytes and flushes them
  // to the disk before it closes the file.
  virtual std::int32_t WriteNewFile(const std::string& path, const std::string& bytes) = 0;
  // Adds the bytes at the end of a file, made when it is missing, in one write of a handle opened to append only:
  // what many processes (many machines, on a share) append to one file at once lands whole, one after another.
  // Others may read and append meanwhile. ERROR_PATH_NOT_FOUND when its folder is not there.
  virtual std::int32_t AppendToFile(const std::string& path, const std::string& bytes) = 0;
  virtual std::int32_t Delete(const std::string& path) = 0;
  // Puts the file in the place of another, which it replaces in one step, and is on the disk when this returns.
  virtual std::int32_t Replace(const std::string& from, const std::string& to) = 0;
  // The same to a name that no file has: ERROR_ALREADY_EXISTS (183), and nothing moved, when one has.
  virtual std::int32_t MoveToNewName(const std::string& from, const std::string& to) = 0;
};

// A file's or a folder's attributes, as the system keeps them (FILE_ATTRIBUTE_*).
constexpr std::uint32_t kAttributeReadOnly = 0x1;
constexpr std::uint32_t kAttributeHidden = 0x2;
constexpr std::uint32_t kAttributeSystem = 0x4;
constexpr std::uint32_t kAttributeFolder = 0x10;
constexpr std::uint32_t kAttributeArchive = 0x20;
constexpr std::uint32_t kAttributeNormal = 0x80;  // a file with no other attribute
constexpr std::uint32_t kAttributeReparsePoint = 0x400;

// One file or folder as its folder lists it. Times are counts of 100 ns since 1601-01-01 UTC, as the system
// keeps them.
struct TreeEntry {
  std::string name;  // without its folder
  bool folder = false;
  // A junction, a symbolic link or a mount point: it stands for another place, and is never followed.
  bool reparsePoint = false;
  std::uint32_t attributes = 0;
  std::uint64_t size = 0;  // a file's bytes; 0 for a folder
  std::uint64_t created = 0;
  std::uint64_t lastWritten = 0;
};

// The volume a path lies on.
struct VolumeInfo {
  std::string root;  // where it begins: "C:\\", "\\\\server\\share\\", or the folder it is mounted on
  // Equal for two paths that reach one volume by one root, different for two volumes (one reached through
  // another drive letter, subst's, is taken for another).
  std::string id;
  std::uint64_t freeBytes = 0;  // what the user may still fill there
};

// A folder's files and folders, for moving them with their content: what is there, on which volume, renamed on
// one volume, copied and compared across volumes, and deleted. Each call returns 0 or the system's code; paths
// may be longer than MAX_PATH.
class FileTree {
 public:
  // Called as a copy goes on, with the bytes copied so far.
  using Progress = std::function<void(std::uint64_t bytesDone)>;

  virtual ~FileTree() = default;
  // The folder's entries, without "." and "..", in no particular order.
  virtual std::int32_t List(const std::string& folder, std::vector<TreeEntry>* entries) = 0;
  // What the path names, itself (a reparse point is not followed): ERROR_FILE_NOT_FOUND when its folder has no
  // such entry, ERROR_PATH_NOT_FOUND when the folder is not there.
  virtual std::int32_t Describe(const std::string& path, TreeEntry* entry) = 0;
  // The volume of a path that need not exist, though its volume must.
  virtual std::int32_t Volume(const std::string& path, VolumeInfo* volume) = 0;
  // A file or a folder renamed on its volume, never replacing anything: ERROR_ALREADY_EXISTS (183) when the new
  // name is taken, ERROR_NOT_SAME_DEVICE (17) when it is on another volume. On the disk when this returns.
  virtual std::int32_t Rename(const std::string& from, const std::string& to) = 0;
  // A file copied to a path where there is none yet (ERROR_FILE_EXISTS, 80, when there is): its bytes, read
  // while nobody may write the file (a file held open without sharing is ERROR_SHARING_VIOLATION, 32, at once),
  // then its attributes and both times, on the disk when this returns. A copy that fails leaves no file behind.
  virtual std::int32_t CopyToNew(const std::string& from, const std::string& to, const Progress& progress) = 0;
  // Whether two files hold the same bytes.
  virtual std::int32_t CompareBytes(const std::string& one, const std::string& other, bool* same) = 0;
  // A folder's attributes and times, set once its content is in (a write into a folder changes its time).
  virtual std::int32_t SetFolderDetails(const std::string& folder, std::uint32_t attributes, std::uint64_t created,
                                        std::uint64_t lastWritten) = 0;
  // Made in a folder that exists: ERROR_ALREADY_EXISTS (183) when it is there.
  virtual std::int32_t MakeFolder(const std::string& folder) = 0;
  // A read-only file or folder is refused (ERROR_ACCESS_DENIED) unless evenReadOnly, which clears the attribute
  // first and puts it back when the deletion fails. A folder must be empty (ERROR_DIR_NOT_EMPTY, 145).
  virtual std::int32_t RemoveFile(const std::string& path, bool evenReadOnly) = 0;
  virtual std::int32_t RemoveFolder(const std::string& folder, bool evenReadOnly) = 0;
};

// How a process came to an end once it was waited for.
struct ProcessEnd {
  enum class How { kExited, kEnded, kLost };  // ended by itself; ended because it ran too long; not known
  How how = How::kLost;
  std::uint32_t exitCode = 0;
};

class Processes {
 public:
  virtual ~Processes() = default;
  // Starts the program at a full path (so that nothing is searched for) with a command line, its window shown
  // minimised, in the system folder: 0 and the process, or the system's code. On 64-bit Windows a program of the
  // Windows folder starts as the 64-bit one, even from a 32-bit process.
  virtual std::int32_t Start(const std::string& program, const std::string& commandLine, ProcessHandle* process) = 0;
  // Waits up to timeoutMs for the process to end; one that still runs then is ended, and waited for (bounded)
  // so that it lets go of its files. The process is closed whatever happened.
  virtual ProcessEnd Finish(ProcessHandle process, std::uint32_t timeoutMs) = 0;
};

// What the user did in the open-file dialog.
struct FileChoice {
  enum class Result { kChosen, kCancelled, kFailed };
  Result result = Result::kCancelled;
  std::string path;         // kChosen: the file
  std::uint32_t error = 0;  // kFailed: the dialog's own error code
};

// The desktop folder as the shell answers for it: its path, or why it gives none.
struct DesktopFolderAnswer {
  enum class Result {
    kFound,
    kMissing,
    kInvalidFolder,
    kFailed
  };  // the folder is not there; the shell knows
      // no such folder; any other failure
  Result result = Result::kFailed;
  std::string path;  // kFound
};

class Shell {
 public:
  virtual ~Shell() = default;
  // The user's desktop folder, made when it is missing.
  virtual DesktopFolderAnswer DesktopFolder() = 0;
  // The user's application-data folder, made when it is missing; nothing when the shell gives none. The shell is
  // asked once a process.
  virtual std::optional<std::string> ApplicationDataFolder() = 0;
  // Where the shell puts a special folder by default, in the system's language, whether or not the folder is
  // there now; nothing when the shell gives no path.
  virtual std::optional<std::string> StockFolderPath(int csidl) = 0;
  // Hands an address to the shell, which opens it in the user's browser (who then tells of any failure).
  virtual void OpenWebPage(const std::string& address) = 0;
  // The system's folder dialog, for file-system folders: the chosen folder's path (empty text for a folder that
  // has none), or nothing when the user cancelled.
  virtual std::optional<std::string> BrowseForFolder(WindowHandle owner, const std::string& title) = 0;
  // The open-file dialog for an existing file, at initialFolder with preselectedName in its name box. The filter's
  // names and patterns are separated by '|'.
  virtual FileChoice ChooseFile(WindowHandle owner, const std::string& title, const std::string& initialFolder,
                                const std::string& preselectedName, const std::string& filter) = 0;
};

// Locks shared by every process of the user's session: named mutexes in the session's namespace.
class Locks {
 public:
  virtual ~Locks() = default;
  // Waits up to timeoutMs for the lock of this name: 0 with *lock held, and *abandoned true when its last holder
  // ended without letting go; WAIT_TIMEOUT (258) while another holds it, or the system's code. The holder may take
  // it again (and lets go as often). Released on the same thread.
  virtual std::int32_t Acquire(const std::string& name, std::uint32_t timeoutMs, LockHandle* lock, bool* abandoned) = 0;
  virtual void Release(LockHandle lock) = 0;
};

// Everything the program asks of the system, handed to the core in one piece.
struct Platform {
  Registry& registry;
  Environment& environment;
  System& system;
  Files& files;
  Processes& processes;
  Shell& shell;
  Locks& locks;
  FileTree& fileTree;
};

}  // namespace platform
