// The fake environment, system and shell: in memory, every call recorded.
#include "fakes/fake_platform.h"

#include <algorithm>
#include <map>

#include "text/ascii_case.h"
#include "text/utf16.h"
#include "vocabulary/registry_file.h"
#include "vocabulary/shell_folder_keys.h"

std::optional<std::string> FakeEnvironment::Variable(const std::string& name) {
  if (log_.Record("Variable(" + name + ")")) return std::nullopt;
  auto found = variables_.find(name);
  if (found == variables_.end()) return std::nullopt;
  return found->second;
}

platform::WindowsVersion FakeSystem::Version() {
  if (log_.Record("Version()")) return platform::WindowsVersion();
  return version;
}

std::string FakeSystem::WindowsFolder() {
  if (log_.Record("WindowsFolder()")) return std::string();
  return "C:\\WINDOWS";
}

std::string FakeSystem::TempFolder() {
  if (log_.Record("TempFolder()")) return std::string();
  return tempFolder;
}

std::string FakeSystem::ErrorText(std::int32_t code) {
  static const std::map<std::int32_t, const char*> kTexts = {
      {2, "The system cannot find the file specified."},
      {5, "Access is denied."},
      {6, "The handle is invalid."},
      {8, "Not enough memory resources are available to process this command."},
      {32, "The process cannot access the file because it is being used by another process."},
      {80, "The file exists."},
      {112, "There is not enough space on the disk."},
      {258, "The wait operation timed out."},
      {1012, "The configuration registry key could not be read."},
      {1013, "The configuration registry key could not be written."},
  };
  auto found = kTexts.find(code);
  return found == kTexts.end() ? std::string() : found->second;
}

platform::DesktopFolderAnswer FakeShell::DesktopFolder() {
  if (log_.Record("DesktopFolder()")) return platform::DesktopFolderAnswer();
  return desktop;
}

std::optional<std::string> FakeShell::StockFolderPath(int csidl) {
  if (log_.Record("StockFolderPath(" + std::to_string(csidl) + ")")) return std::nullopt;
  auto found = stockFolders.find(csidl);
  if (found == stockFolders.end()) return std::nullopt;
  return found->second;
}

void FakeShell::OpenWebPage(const std::string& address) {
  log_.Record("OpenWebPage(" + address + ")");
  openedPages.push_back(address);
}

std::optional<std::string> FakeShell::BrowseForFolder(platform::WindowHandle owner, const std::string& title) {
  if (log_.Record("BrowseForFolder(" + title + ")")) return std::nullopt;
  browses.emplace_back(owner, title);
  return browsed;
}

platform::FileChoice FakeShell::ChooseFile(platform::WindowHandle owner, const std::string& title,
                                           const std::string& initialFolder, const std::string& preselectedName,
                                           const std::string& filter) {
  if (log_.Record("ChooseFile(" + initialFolder + ", " + preselectedName + ")")) return platform::FileChoice();
  fileDialogs.push_back(FileDialog{owner, title, initialFolder, preselectedName, filter});
  return fileChoice;
}

namespace {

std::string HexValue(std::uint32_t type, const std::string& bytes, std::size_t nameLength) {
  char prefix[16];
  std::snprintf(prefix, sizeof prefix, type == platform::kRegBinary ? "hex:" : "hex(%x):", type);
  std::string line = prefix;
  std::size_t column = nameLength + 1 + line.size();
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    char byte[4];
    std::snprintf(byte, sizeof byte, "%02x", static_cast<unsigned char>(bytes[i]));
    line += byte;
    column += 2;
    if (i + 1 == bytes.size()) break;
    line += ',';
    ++column;
    if (column > 76) {
      line += "\\\r\n  ";
      column = 2;
    }
  }
  return line;
}

std::string ValueLine(const std::string& name, const FakeRegistry::Value& value) {
  std::string quotedName = name.empty() ? "@" : RegistryFileQuoted(name);
  if (value.type == platform::kRegSz) {
    std::string text = Utf16LeToUtf8(value.bytes.substr(0, value.bytes.size() / 2 * 2));
    return quotedName + "=" + RegistryFileQuoted(text.substr(0, text.find('\0')));
  }
  if (value.type == platform::kRegDword && value.bytes.size() == 4) {
    char number[16];
    std::uint32_t data = 0;
    for (int i = 3; i >= 0; --i) data = data << 8 | static_cast<unsigned char>(value.bytes[i]);
    std::snprintf(number, sizeof number, "dword:%08x", data);
    return quotedName + "=" + number;
  }
  return quotedName + "=" + HexValue(value.type, value.bytes, quotedName.size());
}

// The key and the keys below it as Wine's regedit /e writes them: UTF-16LE behind a byte-order mark, the header,
// a section a key, REG_SZ quoted, REG_DWORD as dword:, anything else as hex(N): in lines of at most 80 columns.
std::string RegeditExport(const FakeRegistry& registry, platform::HKey hive, const std::string& subKey) {
  std::string prefix = (hive == platform::kHkeyCurrentUser ? "0x80000001\\" : "0x80000002\\") + subKey;
  std::string text = "Windows Registry Editor Version 5.00\r\n\r\n";
  for (const auto& [path, values] : registry.keys()) {
    bool inside = SameIgnoringAsciiCase(path.substr(0, prefix.size()), prefix) &&
                  (path.size() == prefix.size() || path[prefix.size()] == '\\');
    if (!inside) continue;
    text += "[" + std::string(HiveName(hive)) + path.substr(path.find('\\')) + "]\r\n";
    for (const auto& [name, value] : values) text += ValueLine(name, value) + "\r\n";
    text += "\r\n";
  }
  return "\xFF\xFE" + Utf8ToUtf16Le(text);
}

}  // namespace

FakeProcesses::Outcome FakePlatform::ExportLikeRegedit(const std::string& commandLine) {
  std::vector<std::string> quoted;
  for (std::size_t open = commandLine.find('"'); open != std::string::npos;) {
    std::size_t close = commandLine.find('"', open + 1);
    quoted.push_back(commandLine.substr(open + 1, close - open - 1));
    open = commandLine.find('"', close + 1);
  }
  if (commandLine.compare(0, 10, "regedit /e") != 0 || quoted.size() != 2) return FakeProcesses::Outcome();
  for (const ShellFolderKey& key : kShellFolderKeys) {
    if (key.FullName() == quoted[1]) files.files[quoted[0]] = RegeditExport(registry, key.hive, key.path);
  }
  return FakeProcesses::Outcome();
}
