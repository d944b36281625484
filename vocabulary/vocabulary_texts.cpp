// The vocabulary's texts that have parameters, each composed in one place.
#include "vocabulary/vocabulary_texts.h"

#include <iterator>

#include "platform/platform.h"
#include "vocabulary/failure.h"
#include "vocabulary/registry_file.h"

namespace {

// "1 value", "1,234 values".
std::string CountedValues(std::size_t count) {
  return WithThousands(count) + (count == 1 ? " value" : " values");
}

}  // namespace

std::string OwnWordsFor(std::int32_t code) {
  switch (code) {
    case platform::kErrorFileNotFound:
      return "The file was not found.";
    case platform::kErrorPathNotFound:
      return "The folder was not found.";
    case platform::kErrorAccessDenied:
      return "Access is denied.";
    case platform::kErrorInvalidData:
      return "The data is invalid.";
    case platform::kErrorFileExists:
      return "The file exists.";
    case platform::kErrorFileTooLarge:
      return "The file is too large.";
    case platform::kErrorWaitTimeout:
      return "The wait operation timed out.";
    case platform::kErrorCantRead:
      return "The configuration registry key could not be read.";
    case platform::kErrorCantWrite:
      return "The configuration registry key could not be written.";
    default:
      return std::string();
  }
}
std::string ErrorNumber(std::int32_t code) {
  return "(error " + std::to_string(code) + ")";
}
std::string OffendingLine(int lineNumber, const std::string& line) {
  return lineNumber > 0 ? "Line " + std::to_string(lineNumber) + ": " + Shortened(line) + "\n" : std::string();
}
std::string Megabytes(std::size_t bytes) {
  return std::to_string(bytes / (1024 * 1024)) + " MB";
}
std::string WithThousands(std::uint64_t number) {
  std::string digits = std::to_string(number);
  for (std::size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, ",");
  return digits;
}
std::string ByteSize(std::uint64_t bytes) {
  if (bytes < 1024) return WithThousands(bytes) + (bytes == 1 ? " byte" : " bytes");
  const char* const units[] = {"KB", "MB", "GB", "TB"};
  std::size_t unit = 0;
  std::uint64_t size = 1024;
  while (unit + 1 < std::size(units) && bytes / size >= 1024) {
    size *= 1024;
    ++unit;
  }
  // Tenths below a hundred units, whole units above; rounded to the nearest either way.
  std::uint64_t whole = bytes / size;
  if (whole >= 100) return WithThousands((bytes + size / 2) / size) + " " + units[unit];
  std::uint64_t tenths = whole * 10 + (bytes % size * 10 + size / 2) / size;
  return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + " " + units[unit];
}
std::string FileLargerThan(std::size_t maxBytes) {
  return "The file is larger than " + Megabytes(maxBytes);
}

std::string RegistryFileTooLarge() {
  return FileLargerThan(kMaxRegistryFileBytes) + ", far too large to be a backup.";
}

std::string ListedValueName(const std::string& keyFullName, const std::string& name) {
  return keyFullName + "\\" + (name.empty() ? "(Default)" : name);
}
std::string ValueInSentence(const std::string& keyFullName, const std::string& name) {
  std::string what = name.empty() ? "default value" : "value " + Quoted(name);
  return "the " + what + " of " + keyFullName;
}
std::string Capitalised(std::string text) {
  if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') text[0] = static_cast<char>(text[0] - 'a' + 'A');
  return text;
}

std::string NotReadBeforeReplaced(const std::string& valueInSentence) {
  return "Cannot read " + valueInSentence + " before it is replaced";
}
std::string NotReadBack(const std::string& valueInSentence) {
  return "Cannot read " + valueInSentence + " back once written";
}
std::string NotHeldAsWritten(const std::string& valueInSentence) {
  return Capitalised(valueInSentence) + " does not hold what was written";
}
std::string ChangedWhileWriting(const std::string& valueInSentence) {
  return Capitalised(valueInSentence) +
         " changed while Zolvane was writing it, so another program is at work on it; nothing was lost. Try again "
         "once it is done.";
}

std::string OtherRunNotFinished(std::uint32_t seconds) {
  return "Another Zolvane is changing or backing up the special folder paths and has not finished within " +
         std::to_string(seconds) + " seconds; nothing was changed";
}

std::string JournalFolderUnwritable(const std::string& folder, const std::string& why) {
  return "Zolvane keeps a note of each change in " + Quoted(folder) +
         ", so that a change cut off can be undone; that folder cannot be written: " + why + "\nNothing was changed.";
}
std::string FolderInJournalsPlace(const std::string& journalName) {
  return "a folder named " + Quoted(journalName) + " is in the journal's place.";
}
std::string EarlierJournalStillThere(const std::string& path) {
  return "The journal of an earlier Zolvane run that was cut off, " + Quoted(path) +
         ", is still there and could not be undone, so nothing was changed.";
}
std::string ChangeTooLargeToJournal(std::size_t maxBytes) {
  return "The values this change writes and those it replaces take more than " + Megabytes(maxBytes) +
         " to note down in its journal, so nothing was changed.";
}
std::string JournalNotDeleted(const std::string& path, const std::string& reason, const char* otherwise) {
  return "The journal " + Quoted(path) + " could not be deleted: " + reason +
         "; delete it before Zolvane writes again, or " + otherwise;
}
std::string JournalUnreadable(const std::string& path, const std::string& reason) {
  return "The journal of a Zolvane run that was cut off, " + Quoted(path) +
         ", cannot be read, so it was kept: " + reason;
}
std::string JournalNotOurs(const std::string& path, const std::string& refusal) {
  return "The journal of a Zolvane run that was cut off, " + Quoted(path) +
         ", is not a journal Zolvane can read, so it was kept:\n" + refusal;
}
std::string CutOffUndone(const std::string& run, std::size_t putBack) {
  return run + " that was cut off has been undone: " + CountedValues(putBack) + " put back.";
}
std::string CutOffUndoneInPart(const std::string& run, const std::string& path, std::size_t putBack,
                               const std::string& notPutBack) {
  return run + " that was cut off could be undone only in part, so its journal " + Quoted(path) +
         " was kept: " + CountedValues(putBack) + " put back, and these could not be:\n" + notPutBack;
}
std::string MoveJournalKept(const std::string& path) {
  return "The move's journal " + Quoted(path) +
         " was kept, so that the next run of Zolvane tries again; until then no folder is moved with its files. "
         "Close the programs that hold these files and run Zolvane again, or, to leave them as they are, delete " +
         Quoted(path) + ".";
}
std::string EarlierMoveNotDone(const std::string& path) {
  return "A move of a folder's files that could not be finished or undone in full is still noted in " + Quoted(path) +
         " (what is left of it is told before this), so nothing was moved. Close the programs that hold its files "
         "and run Zolvane again, or, to leave them as they are, delete " +
         Quoted(path) + ".";
}
std::string CutOffMoveTold(const std::string& folder, bool finished, std::size_t files, const std::string& kept,
                           const std::string& notDone) {
  std::string count = WithThousands(files);
  std::string text = "A move of " + folder + " that was cut off has been ";
  if (finished) {
    text += "finished: " + count + (files == 1 ? " file" : " files") +
            " deleted from the old place, whose copies are in the new one.";
    if (!kept.empty()) text += "\nChanged since they were copied, so kept in the old place as well:\n" + kept;
  } else {
    text += "undone: the files are in the old place again, " + count + " taken back from the new one.";
    if (!kept.empty()) text += "\nDifferent from the files they were copied from, so kept in the new place:\n" + kept;
  }
  if (!notDone.empty()) text += "\nThese could not be taken care of, and are left as they are:\n" + notDone;
  return text;
}
