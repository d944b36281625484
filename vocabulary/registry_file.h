// The registry editor's file format, read the one way both the backup's check and the restore read it: a file
// that may set only values of the four shell-folder keys.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "vocabulary/shell_folder_keys.h"

// The header line of the registry editor's version 5 files, which the backup writes.
extern const char* const kRegistryFileHeader;

// A file larger than this is no backup of four keys, and is not read at all (RegistryFileTooLarge says why).
constexpr std::size_t kMaxRegistryFileBytes = 16u * 1024 * 1024;

// One value the file sets or deletes, as the registry is to hold it.
struct RegistryFileValue {
  const ShellFolderKey* key = nullptr;  // one of kShellFolderKeys
  std::string name;                     // empty for the key's default value
  bool deleted = false;                 // "Name"=-
  std::uint32_t type = 0;
  std::string bytes;  // as the registry stores them: UTF-16LE with its terminator for a string
};

// What a file holds, or the first line that stops it.
struct RegistryFile {
  bool readable = false;
  int offendingLineNumber = 0;  // 1-based; 0 when the file as a whole is refused (its size, its encoding)
  std::string offendingLine;
  std::string reason;  // for the user, in a sentence
  // In file order; a name given twice in a key is there once, as its last line says.
  std::vector<RegistryFileValue> values;
  // The sections of keys below the four keys, which regedit exports along with them; their values are read
  // and passed over.
  std::vector<std::string> passedOverKeys;
  // Which of kShellFolderKeys have a section of their own.
  std::array<bool, 4> sections = {};
};

// A value's name or text as a registry file holds it: in quotes, a backslash and a quote escaped, and a line
// break written \n or \r, as the registry editor writes them.
std::string RegistryFileQuoted(const std::string& text);

// A registry file of these lines, as the registry editor writes one: UTF-16LE behind its byte-order mark, the
// version 5 header, each line ended by CR LF.
std::string RegistryFileBytes(const std::vector<std::string>& lines);

// The file as stored: UTF-16LE behind its byte-order mark, or UTF-8; CR, LF and CR LF end a line. Its first line
// is "Windows Registry Editor Version 5.00" or "REGEDIT4"; after it, each line is blank, a comment (";"), a
// section ("[KEY]"), a value ("Name"=... or @=...) or the continuation of a list of bytes that the line before
// it ended with a backslash. Any other line, a control character in a line, any key but the four and the keys
// below them, and a key's deletion refuse the whole file, as does a file that names no value of the four keys.
// maxBytes: a larger file is refused unread (Zolvane's own journal may be larger than a backup).
RegistryFile ParseRegistryFile(const std::string& bytes, std::size_t maxBytes = kMaxRegistryFileBytes);
