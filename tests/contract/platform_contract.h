// What Zolvane relies on of each interface of platform.h, written once and run twice: natively against the
// in-memory fakes, and under Wine against platform/win32/, so that the fakes are shown to answer as Windows does.
#pragma once

#include <functional>
#include <string>

#include "platform/platform.h"

namespace contract {

// Where a run of the contract may work, what it may run, and where its checks go.
struct Setting {
  // A key below HKEY_CURRENT_USER that holds nothing of anyone's; the contract's values are deleted again.
  std::string scratchKey;
  // An existing folder of the run's own, with its trailing backslash.
  std::string scratchFolder;
  // A program, by its full path, and a command line that runs until it is ended.
  std::string longRunningProgram;
  std::string longRunningCommandLine;
  // A program and a command line that end at once with exit code 3.
  std::string quickProgram;
  std::string quickCommandLine;
  // Marks a file read-only, and writable again, as the user does in its properties.
  std::function<void(const std::string& path, bool readOnly)> setReadOnly;
  // Holds a file open without sharing it, as another program may, and lets it go again.
  std::function<void(const std::string& path, bool held)> holdOpen;
  // Whether another program could open the file for writing now.
  std::function<bool(const std::string& path)> canOpenForWriting;
  // An existing folder on another volume than scratchFolder's, with its trailing backslash.
  std::string otherVolumeFolder;
  // An existing folder that stands for another place (a junction or a mount point), never followed.
  std::string reparsePoint;
  // Whether a creation time set is kept: Wine on Linux has none of its own, and reads back the last-write time.
  bool creationTimesKept = true;
  // Runs the work on a thread of its own, and returns once it has run.
  std::function<void(const std::function<void()>& work)> runOnAnotherThread;
  // Reports one check: whether it held, and what it was.
  std::function<void(bool held, const std::string& what)> check;
};

// Every contract in turn: the registry, the environment, the system, files, the file tree, locks, processes and
// the shell.
void RunPlatformContract(platform::Platform& platform, const Setting& setting);

}  // namespace contract
