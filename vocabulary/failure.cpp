// A failure told in the system's own words, so that the backup, the restore and the window say it the same way.
#include "vocabulary/failure.h"

#include <set>

std::string SystemReason(platform::System& system, std::int32_t code) {
  std::string reason = system.ErrorText(code);
  if (reason.empty()) reason = OwnWordsFor(code);
  return (reason.empty() ? std::string() : reason + " ") + ErrorNumber(code);
}

std::string WithSystemReason(platform::System& system, const std::string& what, std::int32_t code) {
  return what + ": " + SystemReason(system, code);
}

std::string DescribeFailure(platform::System& system, const char* action, const std::string& target,
                            std::int32_t code) {
  return WithSystemReason(system, std::string(action) + " " + Quoted(target), code);
}

namespace {

constexpr std::size_t kShownCharacters = 160;
constexpr std::size_t kShownHead = 100;
constexpr std::size_t kListedNames = 10;

// Where each UTF-8 character of the text begins.
std::vector<std::size_t> CharacterStarts(const std::string& text) {
  std::vector<std::size_t> starts;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) starts.push_back(i);
  }
  return starts;
}

}  // namespace

std::string Shortened(const std::string& raw) {
  // A control character shows as its code, never as itself: a name may hold a line break.
  std::string text;
  for (char c : raw) {
    if (static_cast<unsigned char>(c) >= 0x20) {
      text += c;
      continue;
    }
    const char digits[] = "0123456789ABCDEF";
    text += std::string("<0x") + digits[(c >> 4) & 0xF] + digits[c & 0xF] + ">";
  }
  if (text.size() <= kShownCharacters) return text;
  std::vector<std::size_t> starts = CharacterStarts(text);
  if (starts.size() <= kShownCharacters) return text;
  std::size_t tail = kShownCharacters - kShownHead - 3;
  return text.substr(0, starts[kShownHead]) + "..." + text.substr(starts[starts.size() - tail]);
}

std::string Quoted(const std::string& text) {
  return "\"" + Shortened(text) + "\"";
}

std::string NamedOnce(const std::vector<std::string>& names, const std::string& separator) {
  std::set<std::string> seen;
  std::string list;
  std::size_t listed = 0;
  std::size_t more = 0;
  for (const std::string& name : names) {
    if (!seen.insert(name).second) continue;
    if (listed == kListedNames) {
      ++more;
      continue;
    }
    list += (listed++ == 0 ? std::string() : separator) + Shortened(name);
  }
  if (more > 0) list += separator + "and " + std::to_string(more) + " more";
  return list;
}
