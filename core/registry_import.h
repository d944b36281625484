// Restoring a backup of the shell-folder keys: the file is checked line by line, then imported by regedit.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

// How long the registry editor may take over an import before it is ended and the import fails.
constexpr std::uint32_t kImportTimeoutMs = 30000;

// One value the file sets, as the registry should hold it once the file is imported: read back to learn
// whether the import took.
struct ImportedValue {
  platform::HKey hive = 0;
  std::string keyPath;  // below the hive, as the catalogue names it
  std::string valueName;
  std::uint32_t type = 0;
  std::string bytes;  // the value's data as the registry stores it (UTF-16LE with its terminator for strings)
};

// What the check of a file found: whether it may be imported, and if not, the first line that stops it.
struct RegistryFileCheck {
  bool importable = false;
  int offendingLineNumber = 0;  // 1-based; 0 when the file as a whole is refused (empty, no header)
  std::string offendingLine;
  std::string reason;  // for the user, in a sentence
  // The values the file sets, in file order, to be read back after the import (those whose text depends on a
  // code page are left out).
  std::vector<ImportedValue> values;
};

// A registry file (UTF-16LE with its byte-order mark, or single-byte text; the "Windows Registry Editor
// Version 5.00" header or "REGEDIT4") whose every section is one of the four shell-folder keys and whose every
// line is a value assignment, a continuation, a comment or blank. Anything else is refused.
RegistryFileCheck CheckRegistryFile(const std::string& bytes);

struct ImportOutcome {
  enum class Result { kImported, kInvalidFile, kFailed };
  Result result = Result::kFailed;
  // 0 when imported; otherwise the system's error code of the step that failed (kInvalidFile: 13).
  std::int32_t code = 0;
  // For the user, in the window's words: what happened, and for a failure why.
  std::string message;
};

class RegistryImport {
 public:
  explicit RegistryImport(platform::Platform& platform) : platform_(platform) {}

  // Reads and checks the file, imports it with "regedit /s" from the Windows folder, waits for it (bounded)
  // and reads the values it sets back. It shows nothing, so it may run away from the window's thread; no
  // failure escapes. A refused file changes nothing.
  ImportOutcome Run(const std::string& file);

 private:
  std::string ReadFile(const std::string& file);
  std::string FindRegistryEditor();
  void RunRegistryEditor(const std::string& file);
  std::uint32_t WaitForEditor(platform::ProcessHandle process, const std::string& regedit);
  void CheckValuesStored(const std::vector<ImportedValue>& values);

  platform::Platform& platform_;
};
