// A move's progress line: its words, cut by characters (not bytes) to one line less one column, so that the
// console never wraps it, and written again only when a quarter of a second has passed.
#include "cli/progress_line.h"

#include <vector>

#include "cli/cli_texts.h"
#include "text/utf8.h"

namespace {

constexpr std::uint32_t kLeastMsBetweenLines = 250;
constexpr int kFewestColumns = 10;  // a console narrower than this shows no progress

std::vector<std::size_t> CharacterStarts(const std::string& text) {
  std::vector<std::size_t> starts;
  for (std::size_t at = 0; at < text.size(); NextCodePoint(text, at)) starts.push_back(at);
  return starts;
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
  if (!progress.current.empty()) text += ": " + progress.current;
  // Its beginning (the folder and the counts) and its end (the file's name) are kept, its middle cut.
  std::vector<std::size_t> starts = CharacterStarts(text);
  std::size_t room = static_cast<std::size_t>(columns_ - 1);
  if (starts.size() > room) {
    std::size_t head = room / 2;
    std::size_t tail = room - head - 3;
    text = text.substr(0, starts[head]) + "..." + text.substr(starts[starts.size() - tail]);
    starts.resize(room);
  }
  Write(text, starts.size());
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
