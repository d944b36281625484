// Reading and writing layout files, line by line.
#include "features/layout_file.h"

#include <algorithm>

#include "text/text_file.h"
#include "text/trimmed.h"
#include "vocabulary/failure.h"

namespace {

LayoutFile Refused(int lineNumber, const std::string& line, const std::string& reason) {
  LayoutFile file;
  file.offendingLineNumber = lineNumber;
  file.offendingLine = line;
  file.reason = reason;
  return file;
}

}  // namespace

std::string LayoutFileTooLarge() {
  return FileLargerThan(kMaxLayoutFileBytes) + ".";
}

LayoutFile ParseLayoutFile(const std::string& bytes) {
  if (bytes.size() > kMaxLayoutFileBytes) return Refused(0, std::string(), LayoutFileTooLarge());
  DecodedText decoded = DecodeTextFile(bytes);
  if (!decoded.valid) {
    return Refused(0, std::string(), "The file is neither UTF-8 text nor UTF-16 text behind a byte-order mark.");
  }
  std::vector<std::string> lines = SplitLines(decoded.text);
  LayoutFile file;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    int number = static_cast<int>(i + 1);
    const std::string& line = lines[i];
    if (std::any_of(line.begin(), line.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x20 && c != '\t'; })) {
      return Refused(number, line, "This line holds a control character.");
    }
    std::string content = WithoutOuterBlanks(line);
    if (content.empty() || content[0] == ';' || content[0] == '#') continue;
    std::size_t equals = content.find('=');
    if (equals == std::string::npos)
      return Refused(number, line, "This line has no \"=\" between a folder and a path.");
    std::string name = WithoutOuterBlanks(content.substr(0, equals));
    const ShellFolder* folder = FindShellFolderByAnyName(name);
    if (folder == nullptr) {
      return Refused(number, line, Quoted(name) + " is none of the fifteen folders; \"zolvane-cli list\" names them.");
    }
    for (const LayoutEntry& earlier : file.entries) {
      if (earlier.folder != folder) continue;
      return Refused(number, line,
                     std::string(folder->displayName) + " is named twice; line " + std::to_string(earlier.lineNumber) +
                         " names it first.");
    }
    std::string path = WithoutOuterBlanks(content.substr(equals + 1));
    if (path.empty()) return Refused(number, line, "The path after \"=\" is empty.");
    file.entries.push_back(LayoutEntry{folder, path, number, line});
  }
  if (file.entries.empty()) return Refused(0, std::string(), "The file names no folder.");
  file.readable = true;
  return file;
}

std::vector<std::string> LayoutLines(const std::vector<std::pair<const ShellFolder*, RegValue>>& stored) {
  std::vector<std::string> lines = {
      "; Zolvane layout: where each special folder lives, as \"zolvane-cli apply\" reads it (the User Shell "
      "Folders value as stored)."};
  for (const auto& [folder, value] : stored) {
    std::string name = folder->displayName;
    if (value.IsText() && !Trimmed(value.text()).empty()) {
      lines.push_back(name + " = " + value.text());
    } else {
      lines.push_back("; " + name + " has no path under User Shell Folders.");
    }
  }
  return lines;
}
