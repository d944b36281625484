// A move's progress line: its words, cut by characters (not bytes) to one line less one column, so that the
// console never wraps it, and written again only when a quarter of a second has passed.
#include "cli/progress_line.h"

#include "cli/cli_texts.h"
#include "text/utf8.h"

namespace {

constexpr std::uint32_t kLeastMsBetweenLines = 250;
constexpr int kFewestColumns = 10;  // a console narrower than this shows no progress
constexpr std::size_t kFewestNameCharacters = 8;

std::size_t Characters(const std::string& text) {
  std::size_t count = 0;
  for (std::size_t at = 0; at < text.size(); NextCodePoint(text, at)) ++count;
  return count;
}

// The text's first count characters.
std::string Head(const std::string& text, std::size_t count) {
  std::size_t at = 0;
  for (std::size_t i = 0; i < count && at < text.size(); ++i) NextCodePoint(text, at);
  return text.substr(0, at);
}

// The text's last characters, count in all with "..." before them when some were cut: a path's end names it.
std::string Tail(const std::string& text, std::size_t count) {
  std::size_t characters = Characters(text);
  if (characters <= count) return text;
  std::size_t at = 0;
  for (std::size_t i = 0; i < characters - (count - 3); ++i) NextCodePoint(text, at);
  return "..." + text.substr(at);
}

}  // namespace

ProgressLine::ProgressLine(platform::System& system, CliOutput& output)
    : system_(system), output_(output), columns_(system.OutputConsoleColumns()) {}

void ProgressLine::Show(const std::string& name, const MoveProgress& progress) {
  if (columns_ < kFewestColumns) return;
  std::uint32_t now = system_.Ticks();
  if (shown_ && now - shownAt_ < kLeastMsBetweenLines) return;
  shown_ = true;
  shownAt_ = now;
  std::string text = ProgressText(name, progress.filesDone, progress.files, progress.bytesDone, progress.bytes);
  // The counts whole, then as much of the path's end as the line has room for.
  std::size_t room = static_cast<std::size_t>(columns_ - 1);
  std::size_t used = Characters(text);
  if (!progress.current.empty() && used + 2 + kFewestNameCharacters <= room)
    text += ": " + Tail(progress.current, room - used - 2);
  text = Head(text, room);
  Write(text, Characters(text));
}

void ProgressLine::Clear() {
  if (!shown_) return;
  Write("", 0);
  output_.Out("\r");
  shown_ = false;
}

// Spaces cover what the line before showed beyond this one.
void ProgressLine::Write(const std::string& text, std::size_t characters) {
  std::size_t cover = shownCharacters_ > characters ? shownCharacters_ - characters : 0;
  output_.Out("\r" + text + std::string(cover, ' '));
  shownCharacters_ = characters;
}
