// The stock location of a folder: the catalogue's English path, or the shell's own in the system's language.
#include "features/stock_location.h"

#include <cstdint>
#include <optional>

#include "text/ascii_case.h"

namespace {

// The primary language of a language identifier is its low ten bits.
bool IsEnglish(std::uint16_t language) {
  constexpr std::uint16_t kPrimaryLanguageMask = 0x3ff;
  constexpr std::uint16_t kLanguageEnglish = 0x09;
  return (language & kPrimaryLanguageMask) == kLanguageEnglish;
}

// "USERPROFILE" for "%USERPROFILE%\Desktop": every stock path of the catalogue begins with its variable.
std::string LeadingVariable(const std::string& stockPath) {
  return stockPath.substr(1, stockPath.find('%', 1) - 1);
}

// "%NAME%\rest" where path is the variable's value followed by "\rest" or nothing; the path as it is otherwise.
// Windows compares paths without regard to case; a folder whose name merely begins with the value's last
// part ("C:\Users\Anna" against "C:\Users\Ann") is not inside it.
std::string WithVariableInFront(const std::string& path, const std::string& name,
                                const std::optional<std::string>& value) {
  if (!value || value->empty()) return path;
  std::string folder = value->back() == '\\' ? value->substr(0, value->size() - 1) : *value;
  if (path.size() < folder.size() || !SameIgnoringAsciiCase(path.substr(0, folder.size()), folder)) return path;
  if (path.size() > folder.size() && path[folder.size()] != '\\') return path;
  return "%" + name + "%" + path.substr(folder.size());
}

}  // namespace

std::string StockLocation(platform::Platform& platform, const ShellFolder& folder) {
  if (IsEnglish(platform.system.InstalledUiLanguage())) return folder.stockDefaultPath;
  std::optional<std::string> shellPath = platform.shell.StockFolderPath(folder.csidl);
  if (!shellPath || shellPath->empty()) return folder.stockDefaultPath;
  std::string variable = LeadingVariable(folder.stockDefaultPath);
  return WithVariableInFront(*shellPath, variable, platform.environment.Variable(variable));
}
