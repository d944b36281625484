// Reading and writing layout files, line by line.
#include "features/layout_file.h"

#include <algorithm>

#include "features/feature_texts.h"
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
  // UTF-16 without its byte-order mark: every other byte of its Latin letters is NUL, which no UTF-8 text holds.
  if (decoded.encoding == TextEncoding::kUtf8 && bytes.find('\0') != std::string::npos)
    return Refused(0, std::string(), kLayoutHoldsNulBytes);
  if (!decoded.valid) return Refused(0, std::string(), kLayoutNotText);
  std::vector<std::string> lines = SplitLines(decoded.text);
  LayoutFile file;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    int number = static_cast<int>(i + 1);
    const std::string& line = lines[i];
    if (std::any_of(line.begin(), line.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x20 && c != '\t'; })) {
      return Refused(number, line, kLayoutLineControlCharacter);
    }
    std::string content = WithoutOuterBlanks(line);
    if (content.empty() || content[0] == ';' || content[0] == '#') continue;
    std::size_t equals = content.find('=');
    if (equals == std::string::npos) return Refused(number, line, kNoEqualsSign);
    std::string name = WithoutOuterBlanks(content.substr(0, equals));
    const ShellFolder* folder = FindShellFolderByAnyName(name);
    if (folder == nullptr) return Refused(number, line, UnknownFolderName(name));
    for (const LayoutEntry& earlier : file.entries) {
      if (earlier.folder != folder) continue;
      return Refused(number, line, FolderNamedTwice(folder->displayName, earlier.lineNumber));
    }
    std::string path = WithoutOuterBlanks(content.substr(equals + 1));
    if (path.empty()) return Refused(number, line, kNoPathAfterEquals);
    file.entries.push_back(LayoutEntry{folder, path, number, line});
  }
  if (file.entries.empty()) return Refused(0, std::string(), kLayoutNamesNoFolder);
  file.readable = true;
  return file;
}

std::vector<std::string> LayoutLines(const std::vector<std::pair<const ShellFolder*, RegValue>>& stored) {
  std::vector<std::string> lines = {kLayoutFileHeading};
  for (const auto& [folder, value] : stored) {
    std::string name = folder->displayName;
    if (value.IsText() && !Trimmed(value.text()).empty()) {
      lines.push_back(name + " = " + value.text());
    } else {
      lines.push_back(NoPathComment(name));
    }
  }
  return lines;
}
