// A move's journal: its format, and the finish or the undo of a move that was cut off, file by file.
#include "vocabulary/move_journal.h"

#include <utility>

#include "text/text_file.h"
#include "text/utf8.h"
#include "vocabulary/change_journal.h"
#include "vocabulary/failure.h"
#include "vocabulary/shell_folder_keys.h"
#include "vocabulary/vocabulary_texts.h"

namespace {

using Kind = MoveStep::Kind;

const char* const kMoveJournalName = "moving.txt";
const char* const kHeader = "Zolvane move journal 1";

struct StepWord {
  Kind kind;
  const char* word;
  bool file;  // with the source file's size and last-write time
};
const StepWord kStepWords[] = {
    {Kind::kRename, "rename", false},     {Kind::kMakeFolder, "make", false}, {Kind::kCopy, "copy", true},
    {Kind::kAlreadyThere, "there", true}, {Kind::kJoin, "join", false},
};

std::string Line(const char* word, const std::string& text) {
  std::string line = std::string(word) + " ";
  AppendJournalText(line, text);
  return line + "\r\n";
}

std::string StepLine(const MoveStep& step) {
  for (const StepWord& words : kStepWords) {
    if (words.kind != step.kind) continue;
    std::string line = std::string(words.word) + " ";
    if (words.file) line += std::to_string(step.size) + " " + std::to_string(step.lastWritten) + " ";
    AppendJournalText(line, step.path);
    return line + "\r\n";
  }
  return std::string();
}

// The number at line[*pos] and the space after it.
bool ReadNumber(const std::string& line, std::size_t* pos, std::uint64_t* number) {
  std::size_t digits = 0;
  for (*number = 0; *pos < line.size() && line[*pos] >= '0' && line[*pos] <= '9' && digits < 20; ++digits, ++*pos)
    *number = *number * 10 + static_cast<std::uint64_t>(line[*pos] - '0');
  return digits > 0 && *pos < line.size() && line[(*pos)++] == ' ';
}

// The word of a line and where its rest begins.
std::string WordOf(const std::string& line, std::size_t* pos) {
  std::size_t space = line.find(' ');
  if (space == std::string::npos) return std::string();
  *pos = space + 1;
  return line.substr(0, space);
}

bool ReadText(const std::string& line, std::size_t pos, std::string* text) {
  return ReadJournalText(line, &pos, text) && pos == line.size();
}

bool ReadValue(const std::string& line, std::size_t pos, ValueChange* value) {
  if (pos + 1 >= line.size() || line[pos] < '0' || line[pos] > '3' || line[pos + 1] != ' ') return false;
  value->key = &kShellFolderKeys[static_cast<std::size_t>(line[pos] - '0')];
  pos += 2;
  return ReadJournalText(line, &pos, &value->name) && pos < line.size() && line[pos++] == ' ' &&
         ReadJournalState(line, &pos, &value->after) && pos == line.size();
}

bool ReadStep(const std::string& word, const std::string& line, std::size_t pos, MoveStep* step) {
  for (const StepWord& words : kStepWords) {
    if (word != words.word) continue;
    step->kind = words.kind;
    if (words.file && !(ReadNumber(line, &pos, &step->size) && ReadNumber(line, &pos, &step->lastWritten)))
      return false;
    return ReadText(line, pos, &step->path);
  }
  return false;
}

bool ReadLine(const std::string& line, MoveJournal* journal) {
  std::size_t pos = 0;
  std::string word = WordOf(line, &pos);
  std::string text;
  if (word == "folder") {
    std::string position = line.substr(pos);
    bool digits =
        !position.empty() && position.size() <= 2 && position.find_first_not_of("0123456789") == position.npos;
    journal->folder = ShellFolderAtListPosition(digits ? std::stoi(position) : -1);
    return journal->folder != nullptr;
  }
  if (word == "from") return ReadText(line, pos, &journal->source);
  if (word == "to") return ReadText(line, pos, &journal->target);
  if (word == "made") {
    journal->madeAbove.emplace_back();
    return ReadText(line, pos, &journal->madeAbove.back());
  }
  if (word == "value") {
    journal->values.emplace_back();
    return ReadValue(line, pos, &journal->values.back());
  }
  journal->steps.emplace_back();
  return ReadStep(word, line, pos, &journal->steps.back());
}

bool IsNotThere(std::int32_t code) {
  return code == platform::kErrorFileNotFound || code == platform::kErrorPathNotFound;
}

// A file or a folder that failed, with the system's words for why.
std::string WithWhy(platform::System& system, const std::string& path, std::int32_t code) {
  return Shortened(path) + ": " + SystemReason(system, code);
}

class Aftermath {
 public:
  Aftermath(platform::Platform& platform, const MoveJournal& journal) : platform_(platform), journal_(journal) {}

  MoveAftermath Finish() {
    for (const MoveStep& step : journal_.steps) {
      if (step.kind == Kind::kCopy || step.kind == Kind::kAlreadyThere) DeleteSource(step);
    }
    for (auto step = journal_.steps.rbegin(); step != journal_.steps.rend(); ++step) {
      if (step->kind == Kind::kMakeFolder || step->kind == Kind::kJoin) Tree().RemoveFolder(Source(*step), true);
    }
    Tree().RemoveFolder(journal_.source, true);
    return std::move(done_);
  }

  MoveAftermath Undo() {
    for (auto step = journal_.steps.rbegin(); step != journal_.steps.rend(); ++step) {
      if (step->kind == Kind::kCopy) RemoveCopy(*step);
      if (step->kind == Kind::kRename) RenameBack(*step);
      if (step->kind == Kind::kMakeFolder) Tree().RemoveFolder(Target(*step), true);
    }
    for (auto made = journal_.madeAbove.rbegin(); made != journal_.madeAbove.rend(); ++made)
      Tree().RemoveFolder(*made, true);
    return std::move(done_);
  }

 private:
  platform::FileTree& Tree() { return platform_.fileTree; }
  std::string Source(const MoveStep& step) const { return JoinedPath(journal_.source, step.path); }
  std::string Target(const MoveStep& step) const { return JoinedPath(journal_.target, step.path); }

  // Whether the two files hold the same bytes; a comparison that fails is no.
  bool Same(const std::string& one, const std::string& other) {
    bool same = false;
    return Tree().CompareBytes(one, other, &same) == 0 && same;
  }

  void DeleteSource(const MoveStep& step) {
    platform::TreeEntry now;
    std::int32_t code = Tree().Describe(Source(step), &now);
    if (IsNotThere(code)) return;  // deleted already
    if (code != 0) return done_.notDone.push_back(WithWhy(platform_.system, Source(step), code));
    if (now.size != step.size || now.lastWritten != step.lastWritten || !Same(Source(step), Target(step)))
      return done_.kept.push_back(Source(step));
    code = Tree().RemoveFile(Source(step), true);
    if (code != 0) return done_.notDone.push_back(WithWhy(platform_.system, Source(step), code));
    if (step.kind == Kind::kCopy) ++done_.files;
  }

  // A copy is given its source's last-write time after its last byte: one shorter than the source was, without
  // that time, is a copy this run was cut off in, and goes with the rest.
  void RemoveCopy(const MoveStep& step) {
    platform::TreeEntry copy;
    if (Tree().Describe(Target(step), &copy) != 0) return;  // never made
    bool unfinished = copy.size < step.size && copy.lastWritten != step.lastWritten;
    if (!unfinished && !Same(Source(step), Target(step))) return done_.kept.push_back(Target(step));
    std::int32_t code = Tree().RemoveFile(Target(step), true);
    if (code != 0) return done_.notDone.push_back(WithWhy(platform_.system, Target(step), code));
    ++done_.files;
  }

  void RenameBack(const MoveStep& step) {
    platform::TreeEntry entry;
    if (Tree().Describe(Source(step), &entry) == 0 || Tree().Describe(Target(step), &entry) != 0) return;
    std::int32_t code = Tree().Rename(Target(step), Source(step));
    if (code != 0) return done_.notDone.push_back(WithWhy(platform_.system, Target(step), code));
    ++done_.files;
  }

  platform::Platform& platform_;
  const MoveJournal& journal_;
  MoveAftermath done_;
};

}  // namespace

std::string JoinedPath(const std::string& folder, const std::string& below) {
  if (below.empty()) return folder;
  if (folder.empty() || folder.back() == '\\') return folder + below;
  return folder + "\\" + below;
}

std::string MoveJournalPath(platform::Platform& platform) {
  return JournalPathNamed(platform, kMoveJournalName);
}

std::string MoveJournalBytes(const MoveJournal& journal) {
  std::string text = std::string(kHeader) + "\r\n";
  text += "folder " + std::to_string(ListPositionOf(*journal.folder)) + "\r\n";
  text += Line("from", journal.source) + Line("to", journal.target);
  for (const std::string& made : journal.madeAbove) text += Line("made", made);
  for (const ValueChange& value : journal.values) {
    text += "value ";
    text += static_cast<char>('0' + (value.key - kShellFolderKeys.data()));
    text += ' ';
    AppendJournalText(text, value.name);
    text += ' ';
    AppendJournalState(text, value.after);
    text += "\r\n";
  }
  for (const MoveStep& step : journal.steps) text += StepLine(step);
  std::size_t lines = 3 + journal.madeAbove.size() + journal.values.size() + journal.steps.size();
  return text + "end " + std::to_string(lines) + "\r\n";
}

bool ParseMoveJournal(const std::string& bytes, MoveJournal* journal) {
  if (!IsValidUtf8(bytes)) return false;
  LineCursor cursor(bytes);
  std::string line;
  if (!cursor.Next(&line) || line != kHeader) return false;
  for (std::size_t lines = 0; cursor.Next(&line); ++lines) {
    if (line.compare(0, 4, "end ") == 0) {
      return line == "end " + std::to_string(lines) && !cursor.Next(&line) && journal->folder != nullptr;
    }
    if (!ReadLine(line, journal)) return false;
  }
  return false;
}

// Decided by the moved folder's own value under User Shell Folders, the one that names its target; the values of
// the folders that followed it are not asked, for another program may have set one of them elsewhere since, and
// that says nothing of where this folder's files belong. A change cut off in between is put back before this is
// read, so the folder's two values disagree only when another program wrote one of them: then the shell, which
// reads User Shell Folders first and writes Shell Folders from it, will look where User Shell Folders points, and
// the files go there, whole. Keeping the journal until someone settled it instead would refuse every later move.
bool MoveValuesSwitched(platform::Platform& platform, const MoveJournal& journal) {
  const ShellFolderKey* user = &FindShellFolderKey(journal.folder->hive, kUserShellFoldersKey);
  const ValueChange* deciding = nullptr;
  for (const ValueChange& value : journal.values) {
    if (value.key->hive != journal.folder->hive || value.name != journal.folder->valueName) continue;
    if (deciding == nullptr || value.key == user) deciding = &value;
  }
  if (deciding == nullptr) return false;
  ShellFolderRegistry registry(platform.registry);
  const ShellFolderKey& key = *deciding->key;
  return registry.ReadStoredValue(key.hive, key.path, deciding->name).Holds(deciding->after);
}

MoveAftermath FinishMove(platform::Platform& platform, const MoveJournal& journal) {
  return Aftermath(platform, journal).Finish();
}

MoveAftermath UndoMove(platform::Platform& platform, const MoveJournal& journal) {
  return Aftermath(platform, journal).Undo();
}

std::string RetireMoveJournalWhenDone(platform::Platform& platform, const std::string& path,
                                      const MoveAftermath& done) {
  if (!done.notDone.empty()) return MoveJournalKept(path);
  return RetireJournal(platform, path, kMoveFinishedOrUndoneOnceMore);
}

std::vector<std::string> FinishOrUndoCutOffMove(platform::Platform& platform) {
  std::string path = MoveJournalPath(platform);
  if (path.empty() || !platform.files.Exists(path) || platform.files.IsFolder(path)) return {};
  std::string bytes;
  std::int32_t code = platform.files.ReadWholeFile(path, kMaxJournalBytes, &bytes);
  if (code != 0) return {JournalUnreadable(path, SystemReason(platform.system, code))};
  MoveJournal journal;
  if (!ParseMoveJournal(bytes, &journal)) return {JournalNotOurs(path, kNotAMoveJournal)};
  std::string().swap(bytes);
  bool switched = MoveValuesSwitched(platform, journal);
  MoveAftermath done = switched ? FinishMove(platform, journal) : UndoMove(platform, journal);
  std::string said = CutOffMoveTold(journal.folder->displayName, switched, done.files, NamedOnce(done.kept, "\n"),
                                    NamedOnce(done.notDone, "\n"));
  std::string retired = RetireMoveJournalWhenDone(platform, path, done);
  return {retired.empty() ? said : said + "\n" + retired};
}
