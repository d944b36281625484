// The log's line of a run and its one append: what many machines write to one file on a share stays whole.
#include "cli/run_log.h"

#include "cli/cli_texts.h"
#include "cli/cli_words.h"
#include "features/folder_maker.h"
#include "vocabulary/failure.h"

namespace {

// A file that others append to meanwhile, or an antivirus reads, is tried again a little later: two seconds at most.
constexpr int kAppendTries = 10;
constexpr std::uint32_t kAppendPauseMs = 200;

// A field's most bytes: a line stays one small write however much a run said or was given.
constexpr std::size_t kMostFieldBytes = 2000;

// One field of the line: no tab or line end of its own, every other control character as a space; cut at a
// character's start, with "..." after, when it is longer than the most.
std::string OneField(const std::string& text) {
  std::string field;
  for (char c : text) field += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
  if (field.size() <= kMostFieldBytes) return field;
  std::size_t cut = kMostFieldBytes;
  while (cut > 0 && (static_cast<unsigned char>(field[cut]) & 0xC0) == 0x80) --cut;
  return field.substr(0, cut) + "...";
}

std::int32_t AppendTried(platform::Platform& platform, const std::string& file, const std::string& line) {
  std::int32_t code = platform.files.AppendToFile(file, line);
  for (int tries = 1;
       tries < kAppendTries && (code == platform::kErrorSharingViolation || code == platform::kErrorLockViolation);
       ++tries) {
    platform.system.Pause(kAppendPauseMs);
    code = platform.files.AppendToFile(file, line);
  }
  return code;
}

}  // namespace

void RecordedOutput::Out(const std::string& text) {
  output_.Out(text);
  Keep(text, false);
}

void RecordedOutput::Err(const std::string& text) {
  output_.Err(text);
  Keep(text, true);
}

// Lines end in CR LF; a progress line on a console is redrawn after a CR alone, and only its last text counts.
void RecordedOutput::Keep(const std::string& text, bool error) {
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    std::string line = text.substr(start, end - start);
    std::size_t redrawn = line.rfind('\r');
    if (redrawn != std::string::npos) line.erase(0, redrawn + 1);
    if (line.empty()) continue;
    last_ = line;
    if (error) errors_.push_back(line);
  }
}

std::string RecordedOutput::Summary(bool failed) const {
  if (!failed || errors_.empty()) return last_;
  std::string joined;
  for (const std::string& line : errors_) joined += (joined.empty() ? "" : " ") + line;
  return joined;
}

std::string RunLogLine(const platform::LocalTime& time, const std::string& computer, const std::string& user,
                       const std::string& command, int exitCode, const std::string& summary) {
  return LocalTimeText(time, ' ') + "\t" + OneField(computer) + "\t" + OneField(user) + "\t" + OneField(command) +
         "\t" + std::to_string(exitCode) + "\t" + OneField(summary) + "\r\n";
}

int LogRun(platform::Platform& platform, CliOutput& output, const CliRequest& request, const RecordedOutput& said,
           int exitCode) {
  bool result = exitCode == 0 || exitCode == 2;
  std::string line = RunLogLine(platform.system.Now(), platform.environment.Variable("COMPUTERNAME").value_or(""),
                                platform.environment.Variable("USERNAME").value_or(""), request.typed, exitCode,
                                said.Summary(!result));
  std::string file = platform.files.FullPath(request.logFile);
  std::int32_t code = AppendTried(platform, file, line);
  std::size_t slash = file.find_last_of('\\');
  if (code == platform::kErrorPathNotFound && slash != std::string::npos) {
    std::vector<std::string> made;
    code = MakeFolderAndParents(platform.files, file.substr(0, slash), &made);
    if (code == 0) code = AppendTried(platform, file, line);
  }
  if (code == 0) return exitCode;
  output.Err(AsLines(kProgramPrefix + DescribeFailure(platform.system, kCannotWriteLogAction, file, code) + "\n" +
                     kLineNotLogged + line.substr(0, line.size() - 2)));
  return result ? 6 : exitCode;
}
