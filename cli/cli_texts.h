// zolvane-cli's own texts, each written once; the window's words it shares come from vocabulary/ and features/,
// and each command's usage lines and what it takes are in its row of the command table (cli_commands.cpp).
#pragma once

#include <cstddef>
#include <string>

#include "product_version.h"
#include "vocabulary/failure.h"
#include "vocabulary/vocabulary_texts.h"

// --help: the heading, then each command's lines, then these two paragraphs.
inline constexpr char kUsageHeading[] = "Usage:\n";
inline constexpr char kFolderParagraph[] =
    "FOLDER is a name as the window lists it (\"My Documents\") or its registry value name\n"
    "(\"Personal\"), in any case. A layout file has one line a folder, \"FOLDER = PATH\";\n"
    "lines that begin with ; or # are comments. --hive takes only that hive's folders.\n"
    "--move moves the folder's files with it, and the folders inside it follow; with --dry-run\n"
    "it tells what would move and writes nothing. A file in use stops the whole move.\n"
    "--log FILE adds one line a run to FILE, making its folder: the time, the computer, the user,\n"
    "the command, the exit code and what it came to, in UTF-8; a line it cannot add is said, and\n"
    "a success then ends with 6. --create makes a missing location again. The first apply keeps\n"
    "where its folders were, for --undo. check --out FILE replaces FILE whole with the rows.";
inline constexpr char kExitCodesParagraph[] =
    "Exit codes:\n"
    "  0  success (check: no problem; a dry run: nothing would change)\n"
    "  1  bad usage, or an unknown folder\n"
    "  2  check found a problem, or a dry run would change something\n"
    "  3  the input (a backup, a layout or a path) is unusable, or files may not move;\n"
    "     nothing was written\n"
    "  4  the system is not Windows XP\n"
    "  5  access denied\n"
    "  6  any other failure; the system's error code is in the message";
inline constexpr char kVersionLine[] = "zolvane-cli " ZOLVANE_VERSION_SHORT;
// Before a refusal of the arguments, and a failure that escapes a command.
inline constexpr char kProgramPrefix[] = "zolvane-cli: ";

// The arguments refused.
inline constexpr char kNoCommandGiven[] = "No command given.";
inline constexpr char kHiveTakesAHive[] = "\"--hive\" takes HKCU or HKLM.";
inline constexpr char kNoHeaderGoesWithCsv[] = "\"--no-header\" goes with --csv.";
inline constexpr char kSetNeedsAPath[] = "\"set\" needs a path that is not empty.";
inline constexpr char kFileNameIsEmpty[] = "The file name is empty.";
inline constexpr char kDryRunGoesWithMove[] = "\"--dry-run\" goes with --move here.";
inline constexpr char kMoveTakesOneFolder[] = "\"--move\" takes one folder, not --all.";
inline constexpr char kTakesAFile[] = " takes a file.";  // after the quoted switch
inline constexpr char kOutGoesWithCsv[] = "\"--out\" goes with --csv.";
inline std::string UnknownCommandText(const std::string& typed) {
  return "Unknown command " + Quoted(typed) + ".";
}
inline constexpr char kTakesNoArgument[] = " takes no argument.";  // after the quoted command
inline std::string NoSuchSwitchText(const std::string& typed, const std::string& takes) {
  return Quoted(typed) + " is no switch of zolvane-cli. " + takes;
}
inline constexpr char kGivenTwice[] = " is given twice.";  // after the quoted switch
inline std::string UnknownFolderText(const std::string& name) {
  return "Unknown folder " + Quoted(name) + ": \"zolvane-cli list\" names the fifteen folders.";
}

// --log: a line that could not be added to the log, said on standard error.
inline constexpr char kCannotWriteLogAction[] = "Cannot add this run's line to the log";
inline constexpr char kLineNotLogged[] = "The line: ";

// list and set.
inline constexpr char kListCsvHeader[] = "Folder,Hive,Stored,Location";
inline constexpr char kNothingWritten[] = " Nothing was written.";          // after a path's refusal
inline constexpr char kNotMadeNothingWritten[] = "; nothing was written.";  // after a location that was not made
inline std::string MadeFolderText(const std::string& location) {
  return "Made the folder " + Quoted(location) + ".";
}
inline std::string NotThereYetText(const std::string& location) {
  return "The folder " + Quoted(location) + " does not exist yet; --create makes it.";
}
inline std::string NoFolderCanLiveText(const std::string& path, const std::string& why) {
  return "The path " + Quoted(path) + " cannot be where a folder lives: " + why + ".";
}
inline constexpr char kBackupFileLabel[] = "\nBackup file: ";

// apply: a layout file refused, and what each folder's line says.
// After the quoted file.
inline constexpr char kNotALayout[] = " is not a layout of the special folders, so nothing was changed.";
inline constexpr char kPutsFolderWhereNoneCanLive[] =
    " puts a folder where no folder can live, so nothing was changed.";
inline constexpr char kUnchanged[] = "unchanged";
inline constexpr char kWouldMove[] = "would move";
inline constexpr char kMoved[] = "moved";
inline constexpr char kPutBack[] = "put back";
inline constexpr char kNotPutBack[] = "moved, and could not be put back";
inline constexpr char kChangedElsewhere[] = "moved, then changed by another program: left as it made it";
inline constexpr char kNotReached[] = "not moved: the layout stopped before it";

// apply --undo.
inline constexpr char kNothingToUndo[] =
    "Nothing to undo: no layout moved these folders since the last undo, or none kept where they were.";
inline std::string PutBackAsBeforeText(const std::string& names) {
  return "Put back as they were before the first layout: " + names + ".";
}
inline std::string MovedSinceLayoutText(const std::string& names) {
  return "Moved elsewhere since the layout, so not put back: " + names + ".";
}
inline constexpr char kKeptLayoutStays[] = "the next \"apply --undo\" puts these folders back again.";

// --move: each folder's lines once it moved, the line of its progress on a console, and a layout refused or
// stopped.
inline std::string MovedWithFilesLine(const std::string& name, std::uint64_t files, std::uint64_t bytes,
                                      const std::string& from, const std::string& to) {
  return name + ": " + WithThousands(files) + (files == 1 ? " file (" : " files (") + ByteSize(bytes) +
         ") moved from " + Shortened(from) + " to " + Shortened(to);
}
inline std::string MovedWithoutFilesLine(const std::string& name, const std::string& to) {
  return name + ": moved to " + Shortened(to) + ", with no files to move";
}
inline std::string ProgressText(const std::string& name, std::uint64_t filesDone, std::uint64_t files,
                                std::uint64_t bytesDone, std::uint64_t bytes) {
  return name + ": " + WithThousands(filesDone) + " of " + WithThousands(files) +
         (files == 1 ? " file, " : " files, ") + ByteSize(bytesDone) + " of " + ByteSize(bytes);
}
// A refusal of a folder's move, when the layout puts another folder inside the folder it moves away from.
inline std::string KeptInsideText(const std::string& name, const std::string& location) {
  return "The layout puts " + name + " at " + Quoted(location) +
         ", inside this folder, whose files all move: give it a place outside it.";
}
// After the quoted file.
inline constexpr char kFilesMayNotMove[] = " moves files that may not move, so nothing was changed.";
inline std::string LayoutStoppedText(const std::string& name) {
  return "The layout stopped at " + name +
         ": the folders moved before it stay moved, and applying the layout again moves the rest.";
}

// check.
inline constexpr char kBesideSuffix[] = ".writing";  // --out: the rows written beside the file, then moved there
inline constexpr char kCheckCsvHeader[] = "Computer,User,Time,Folder,Problem,Detail";
inline constexpr char kHealthyProblem[] = "ok";  // the problem column of a machine with none
inline std::string ProblemCountText(std::size_t count) {
  if (count == 0) return "No problem found.";
  return std::to_string(count) + (count == 1 ? " problem." : " problems.");
}
