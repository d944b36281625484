// A layout file: where each of some special folders is to live, one line a folder, "Folder name = path". What
// "zolvane-cli layout" writes and "zolvane-cli apply" reads.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "vocabulary/catalogue.h"
#include "vocabulary/reg_value.h"

// A layout of every folder is well under this; a file larger than this is not read, and why, for the user.
constexpr std::size_t kMaxLayoutFileBytes = 1024 * 1024;
std::string LayoutFileTooLarge();

struct LayoutEntry {
  const ShellFolder* folder = nullptr;
  std::string path;  // trimmed of spaces and tabs, references unexpanded
  int lineNumber = 0;
  std::string line;  // as the file has it, for a message that names it
};

// What a file holds, or the first line that stops it.
struct LayoutFile {
  bool readable = false;
  int offendingLineNumber = 0;  // 1-based; 0 when the file as a whole is refused
  std::string offendingLine;
  std::string reason;
  std::vector<LayoutEntry> entries;  // in file order
};

// UTF-8 with or without its byte-order mark, or UTF-16LE behind its mark; CR, LF and CR LF end a line. A line is
// blank, a comment (";" or "#" first), or "FOLDER = PATH" with FOLDER a display name or a registry value name in
// any case, each trimmed of spaces and tabs. An unknown folder, a folder named twice, a line without "=", a path
// that trims to nothing, a control character, or a file that names no folder refuses the whole file.
LayoutFile ParseLayoutFile(const std::string& bytes);

// The layout file of where the folders are stored to live: a comment line, then "Name = value" for each given
// folder with its User Shell Folders value as stored; a folder without a text value there is a comment, so that
// the file applies again as it is.
std::vector<std::string> LayoutLines(const std::vector<std::pair<const ShellFolder*, RegValue>>& stored);
