// A folder moved with its files: on one volume and across, stopped whole by a file in use, a changed source kept,
// and cut off at every call to the file tree and every registry write, then finished or undone by the next run.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "features/folder_locations.h"
#include "features/folder_mover.h"
#include "main_presenter_fixture.h"
#include "vocabulary/move_journal.h"
#include "vocabulary/registry_change.h"
#include "vocabulary/vocabulary_texts.h"

namespace {

const std::string kDocs = "C:\\Documents and Settings\\Ann\\My Documents";
const std::string kJournal = "C:\\Documents and Settings\\Ann\\Application Data\\Zolvane\\moving.txt";

// The process ended at a call, before it did anything.
struct CutOff {};

// My Documents holds files in folders, an empty folder, a read-only file and its desktop.ini (the folder then
// read-only, as Explorer customises it); My Pictures, inside it, follows it.
struct Scene {
  Scene() {
    SetUpAnnOnWindowsXp(fake);
    for (const ShellFolder& folder : kShellFolders) {
      fake.registry.SetString(folder.hive, kUserShellFoldersKey, folder.valueName, platform::kRegExpandSz,
                              folder.stockDefaultPath);
    }
    Folder("C:\\Documents and Settings\\Ann\\Application Data");
    Folder("D:\\");
    for (const auto& [path, bytes] : kFiles) Put(kDocs + "\\" + path, bytes);
    Folder(kDocs + "\\Empty");
    fake.files.readOnly.insert(kDocs + "\\Sub\\b.txt");
    fake.files.readOnly.insert(kDocs);
    fake.fileTree.details[kDocs] = {platform::kAttributeReadOnly, 7, 8};
    fake.fileTree.details[kDocs + "\\desktop.ini"] = {platform::kAttributeHidden | platform::kAttributeSystem, 5, 6};
  }
  void Folder(const std::string& path) {
    for (std::size_t slash = path.find('\\', 3); slash != std::string::npos; slash = path.find('\\', slash + 1))
      fake.files.folders.insert(path.substr(0, slash));
    if (path.size() > 3) fake.files.folders.insert(path);
  }
  void Put(const std::string& path, const std::string& bytes) {
    Folder(path.substr(0, path.find_last_of('\\')));
    fake.files.files[path] = bytes;
  }
  FolderMoveOutcome Move(const std::string& target) {
    return MoveFolderWithFiles(fake.platform(), *FindShellFolder("My Documents"), target, wait);
  }
  std::string Location(const char* folder) {
    return FolderLocations(fake.platform()).CurrentLocation(*FindShellFolder(folder)).text();
  }
  // How many of the places hold the file with its bytes; where one is, when only one is.
  int Copies(const std::string& below, const std::string& bytes, const std::vector<std::string>& places,
             std::string* where) {
    int copies = 0;
    for (const std::string& place : places) {
      auto found = fake.files.files.find(place + "\\" + below);
      if (found == fake.files.files.end()) continue;
      EXPECT_EQ(found->second, bytes) << place << "\\" << below;
      ++copies;
      *where = place;
    }
    return copies;
  }

  // The move cut off once its values are switched, before the first source is deleted.
  void CutOffAfterTheSwitch(const std::string& target) {
    bool switched = false;
    fake.registry.onWrite = [&] { switched = true; };
    fake.fileTree.onCall = [&] {
      if (switched) throw CutOff();
    };
    EXPECT_THROW(Move(target), CutOff);
    fake.registry.onWrite = nullptr;
    fake.fileTree.onCall = nullptr;
  }
  // Where each file is after the next run, which must be one place for all.
  std::string WhereAllAre(const std::string& target) {
    std::string where;
    std::set<std::string> places;
    for (const auto& [path, bytes] : kFiles) {
      EXPECT_EQ(Copies(path, bytes, {kDocs, target}, &where), 1) << path;
      places.insert(where);
    }
    return places.size() == 1 ? where : "";
  }
  static inline const std::map<std::string, std::string> kFiles = {
      {"a.txt", "abc"},
      {"desktop.ini", "[.ShellClassInfo]"},
      {"Sub\\b.txt", "bbbbb"},
      {"Sub\\Deep\\c.bin", std::string("\0\1\2", 3)},
      {"My Pictures\\p.jpg", "jpeg"},
  };
  FakePlatform fake;
  int pauses = 0;
  FileInUseWait wait{3, 500, [this](std::uint32_t) { ++pauses; }};
};

struct Way {
  const char* what;
  std::string target;
  std::function<void(Scene&)> setUp;
};
const Way kWays[] = {
    {"on one volume", "C:\\Moved\\Docs", nullptr},
    {"across volumes", "D:\\Docs", nullptr},
    // The volume's ids agree, yet the system will not rename a folder there: it is copied instead.
    {"a rename refused to another device", "C:\\Moved\\Docs",
     [](Scene& s) { s.fake.log.Fail("Rename(" + kDocs + "\\Sub,", CallLog::kEvery, platform::kErrorNotSameDevice); }},
};

TEST(FolderMoverTest, FilesMoveWithTheirDetailsAndTheFolderInsideFollows) {
  for (const Way& way : kWays) {
    SCOPED_TRACE(way.what);
    Scene scene;
    if (way.setUp) way.setUp(scene);
    std::map<std::string, platform::TreeEntry> before;
    for (const auto& [path, bytes] : Scene::kFiles) scene.fake.fileTree.Describe(kDocs + "\\" + path, &before[path]);
    FolderMoveOutcome told = scene.Move(way.target);
    EXPECT_TRUE(told.outcome.done()) << told.outcome.message;
    EXPECT_EQ(told.exitCode, 0);
    for (const auto& [path, bytes] : Scene::kFiles) {
      SCOPED_TRACE(path);
      std::string where;
      EXPECT_EQ(scene.Copies(path, bytes, {kDocs, way.target}, &where), 1);
      EXPECT_EQ(where, way.target);
      platform::TreeEntry moved;
      ASSERT_EQ(scene.fake.fileTree.Describe(way.target + "\\" + path, &moved), 0);
      EXPECT_EQ(moved.attributes, before[path].attributes);
      EXPECT_EQ(moved.created, before[path].created);
      EXPECT_EQ(moved.lastWritten, before[path].lastWritten);
    }
    EXPECT_TRUE(scene.fake.files.folders.count(way.target + "\\Empty"));
    EXPECT_FALSE(scene.fake.files.folders.count(kDocs));
    platform::TreeEntry folder;
    ASSERT_EQ(scene.fake.fileTree.Describe(way.target, &folder), 0);
    EXPECT_EQ(folder.attributes, platform::kAttributeReadOnly | platform::kAttributeFolder);
    EXPECT_EQ(folder.lastWritten, 8u);
    EXPECT_EQ(scene.Location("My Documents"), way.target);
    EXPECT_EQ(scene.Location("My Pictures"), way.target + "\\My Pictures");
    EXPECT_EQ(scene.fake.registry.GetString(platform::kHkeyCurrentUser, kShellFoldersKey, "My Pictures"),
              way.target + "\\My Pictures");
    EXPECT_FALSE(scene.fake.files.files.count(kJournal));
  }
}

struct Stop {
  const char* what;
  std::string target;
  std::function<void(Scene&)> setUp;
  int exitCode;
  int pauses;
};

// Whatever stops the move, every file is where it was, once, and no value changed; the outcome names the file.
TEST(FolderMoverTest, AFileThatCannotMoveStopsTheWholeMove) {
  const std::string held = kDocs + "\\Sub\\b.txt";
  const Stop stops[] = {
      {"held open, across volumes", "D:\\Docs", [&](Scene& s) { s.fake.fileTree.heldOpen.insert(held); }, 6, 2},
      {"held open, on one volume", "C:\\Docs", [&](Scene& s) { s.fake.fileTree.heldOpen.insert(kDocs + "\\a.txt"); }, 6,
       2},
      {"denied", "D:\\Docs", [&](Scene& s) { s.fake.log.Fail("CopyToNew(" + held, CallLog::kEvery, 5); }, 5, 0},
      {"a copy that differs", "D:\\Docs",
       [&](Scene& s) { s.fake.log.Fail("CompareBytes(" + held, 0, platform::kErrorInvalidData); }, 6, 0},
  };
  for (const Stop& stop : stops) {
    SCOPED_TRACE(stop.what);
    Scene scene;
    stop.setUp(scene);
    FolderMoveOutcome told = scene.Move(stop.target);
    EXPECT_FALSE(told.outcome.done());
    EXPECT_EQ(told.exitCode, stop.exitCode);
    EXPECT_EQ(scene.pauses, stop.pauses);
    const std::string stopper = stop.target == "C:\\Docs" ? kDocs + "\\a.txt" : held;
    EXPECT_NE(told.outcome.message.find(stopper), std::string::npos) << told.outcome.message;
    // Nothing is carried after the file that stopped the move.
    std::vector<std::string> calls = scene.fake.log.calls();
    auto last =
        std::find_if(calls.rbegin(), calls.rend(), [&](const std::string& c) { return c.find(stopper) != c.npos; });
    for (auto call = last.base(); call != calls.end(); ++call) {
      EXPECT_NE(call->rfind("CopyToNew(" + kDocs, 0), 0u) << *call;
      EXPECT_NE(call->rfind("Rename(" + kDocs, 0), 0u) << *call;
    }
    for (const auto& [path, bytes] : Scene::kFiles) {
      std::string where;
      EXPECT_EQ(scene.Copies(path, bytes, {kDocs, stop.target}, &where), 1) << path;
      EXPECT_EQ(where, kDocs) << path;
    }
    EXPECT_FALSE(scene.fake.files.folders.count(stop.target));
    EXPECT_EQ(scene.Location("My Documents"), kDocs);
    EXPECT_EQ(scene.Location("My Pictures"), kDocs + "\\My Pictures");
    EXPECT_FALSE(scene.fake.files.files.count(kJournal));
  }
}

// A file another program puts at the target between the plan and its copy stops the move, and is never taken for
// a copy of this run's to remove: the put-back undoes only what the move carried out.
TEST(FolderMoverTest, AFileAnotherProgramPutAtTheTargetMeanwhileIsLeftAsItIs) {
  Scene scene;
  const std::string theirs = "D:\\Docs\\Sub\\b.txt";
  scene.fake.fileTree.onCall = [&] {
    if (!scene.fake.files.folders.count("D:\\Docs\\Sub")) return;
    scene.fake.files.files[theirs] = "new";
    scene.fake.fileTree.details[theirs].lastWritten = 1;
    scene.fake.fileTree.onCall = nullptr;
  };
  FolderMoveOutcome told = scene.Move("D:\\Docs");
  EXPECT_EQ(told.exitCode, 6);
  EXPECT_NE(told.outcome.message.find(kDocs + "\\Sub\\b.txt"), std::string::npos) << told.outcome.message;
  EXPECT_EQ(scene.fake.files.files[theirs], "new");
  EXPECT_EQ(scene.fake.files.files[kDocs + "\\Sub\\b.txt"], "bbbbb");
  EXPECT_FALSE(scene.fake.files.files.count("D:\\Docs\\a.txt"));
  EXPECT_EQ(scene.Location("My Documents"), kDocs);
}

// A source written to after its copy was made is kept where it is, and named; the rest moves.
TEST(FolderMoverTest, ASourceChangedAfterItsCopyIsKeptAndNamed) {
  Scene scene;
  const std::string changed = kDocs + "\\a.txt";
  scene.fake.registry.onWrite = [&] {
    scene.fake.files.files[changed] = "abcd";
    scene.fake.fileTree.details[changed].lastWritten += 1;
  };
  FolderMoveOutcome told = scene.Move("D:\\Docs");
  scene.fake.registry.onWrite = nullptr;
  EXPECT_TRUE(told.outcome.done());
  EXPECT_EQ(told.keptChanged, std::vector<std::string>{changed});
  EXPECT_NE(told.outcome.message.find(changed), std::string::npos) << told.outcome.message;
  EXPECT_EQ(scene.fake.files.files[changed], "abcd");
  EXPECT_EQ(scene.fake.files.files["D:\\Docs\\a.txt"], "abc");
  EXPECT_FALSE(scene.fake.files.files.count(kDocs + "\\Sub\\b.txt"));
}

// Cut off at every call to the file tree and at every registry write in turn: at that instant each file is whole
// in one place at least; after the next run, in exactly one, where the folder's values point, and the run says
// whether it finished or undid the move.
TEST(FolderMoverTest, AMoveCutOffAnywhereIsFinishedOrUndoneByTheNextRun) {
  for (const Way& way : kWays) {
    std::map<bool, int> finished;  // cuts whose move the next run finished, or undid
    for (bool atRegistryWrites : {false, true}) {
      for (std::size_t cutAt = 1;; ++cutAt) {
        SCOPED_TRACE(std::string(way.what) + (atRegistryWrites ? ", registry write " : ", file tree call ") +
                     std::to_string(cutAt));
        Scene scene;
        if (way.setUp) way.setUp(scene);
        std::size_t calls = 0;
        std::function<void()> count = [&] {
          if (++calls == cutAt) throw CutOff();
        };
        (atRegistryWrites ? scene.fake.registry.onWrite : scene.fake.fileTree.onCall) = count;
        bool cut = false;
        try {
          scene.Move(way.target);
        } catch (const CutOff&) {
          cut = true;
        }
        scene.fake.registry.onWrite = nullptr;
        scene.fake.fileTree.onCall = nullptr;
        if (!cut) break;
        std::string where;
        for (const auto& [path, bytes] : Scene::kFiles)
          EXPECT_GE(scene.Copies(path, bytes, {kDocs, way.target}, &where), 1) << path;
        bool journalled = scene.fake.files.files.count(kJournal) != 0;

        std::vector<std::string> said = UndoCutOffChangeAtStart(scene.fake.platform());
        std::string location = scene.Location("My Documents");
        for (const auto& [path, bytes] : Scene::kFiles) {
          EXPECT_EQ(scene.Copies(path, bytes, {kDocs, way.target}, &where), 1) << path;
          EXPECT_EQ(where, location) << path;
        }
        EXPECT_EQ(scene.Location("My Pictures"), location + "\\My Pictures");
        EXPECT_FALSE(scene.fake.files.files.count(kJournal));
        if (!journalled) continue;
        ++finished[location == way.target];
        std::string told = CutOffMoveTold("My Documents", location == way.target, 0, "", "");
        ASSERT_FALSE(said.empty());
        EXPECT_EQ(said.back().substr(0, told.find(':')), told.substr(0, told.find(':')));
      }
    }
    EXPECT_GT(finished[true], 0);
    EXPECT_GT(finished[false], 0);
  }
}

// The next run finishes or undoes a cut-off move by the folder's own values, those that name its target: a folder
// that followed it and was set elsewhere since is another program's business. Where those two disagree, User Shell
// Folders, which the shell reads first, decides.
TEST(FolderMoverTest, TheFolderOwnValuesDecideWhetherACutOffMoveIsFinished) {
  struct Since {
    const char* what;
    const char* key;
    const char* name;
    bool finished;
  };
  for (const Since& since : {Since{"a follower set elsewhere", kUserShellFoldersKey, "My Pictures", true},
                             Since{"its Shell Folders value set back", kShellFoldersKey, "Personal", true},
                             Since{"its User Shell Folders value set back", kUserShellFoldersKey, "Personal", false}}) {
    SCOPED_TRACE(since.what);
    Scene scene;
    scene.CutOffAfterTheSwitch("D:\\Docs");
    scene.fake.registry.SetString(platform::kHkeyCurrentUser, since.key, since.name, platform::kRegExpandSz,
                                  std::string(since.name) == "Personal" ? kDocs : "E:\\Pictures");
    UndoCutOffChangeAtStart(scene.fake.platform());
    EXPECT_EQ(scene.WhereAllAre("D:\\Docs"), since.finished ? "D:\\Docs" : kDocs);
    EXPECT_FALSE(scene.fake.files.files.count(kJournal));
  }
}

// A file the finish or the undo of a move could not delete keeps the move's journal, named, and the next run tries
// again; a move asked for meanwhile is refused in words that say what the user can do. Once every step is done the
// journal goes.
TEST(FolderMoverTest, AMoveLeftUnfinishedIsTriedAgainUntilEveryStepIsDone) {
  struct Left {
    const char* what;
    std::string stuck;
    bool finished;
  };
  for (const Left& left :
       {Left{"a source not deleted", kDocs + "\\a.txt", true}, Left{"a copy not removed", "D:\\Docs\\a.txt", false}}) {
    SCOPED_TRACE(left.what);
    Scene scene;
    scene.fake.log.Fail("RemoveFile(" + left.stuck, CallLog::kEvery, platform::kErrorSharingViolation);
    if (!left.finished) scene.fake.fileTree.heldOpen.insert(kDocs + "\\Sub\\b.txt");
    FolderMoveOutcome told = scene.Move("D:\\Docs");
    EXPECT_EQ(told.outcome.done(), left.finished);
    for (int run = 0; run < 2; ++run) {
      std::string all = told.outcome.message;
      for (const std::string& notice : told.outcome.notices) all += "\n" + notice;
      EXPECT_NE(all.find(left.stuck), std::string::npos) << all;
      EXPECT_NE(all.find(kJournal), std::string::npos) << all;
      ASSERT_TRUE(scene.fake.files.files.count(kJournal));
      told = MoveFolderWithFiles(scene.fake.platform(), *FindShellFolder("My Music"), "E:\\Music");
      EXPECT_EQ(told.exitCode, 6);
      EXPECT_NE(told.outcome.message.find("delete \"" + kJournal + "\""), std::string::npos) << told.outcome.message;
    }
    scene.fake.log.ClearFailures();
    UndoCutOffChangeAtStart(scene.fake.platform());
    EXPECT_EQ(scene.WhereAllAre("D:\\Docs"), left.finished ? "D:\\Docs" : kDocs);
    EXPECT_FALSE(scene.fake.files.files.count(kJournal));
  }
}

// A copy the process was ended in the middle of (its bytes short, its time not yet the source's) is this run's
// own, and goes; a whole copy that differs from its source is kept, and named.
TEST(FolderMoverTest, AnUndoRemovesACopyCutShortAndKeepsOneThatDiffers) {
  for (bool cutShort : {true, false}) {
    SCOPED_TRACE(cutShort ? "cut short" : "differs");
    Scene scene;
    const std::string copy = "D:\\Docs\\Sub\\b.txt";
    scene.fake.fileTree.onCall = [&] {
      if (!scene.fake.files.files.count(kJournal) || !scene.fake.files.folders.count("D:\\Docs\\Sub")) return;
      scene.fake.files.files[copy] = cutShort ? "bb" : "bbbbX";
      scene.fake.fileTree.details[copy].lastWritten =
          cutShort ? 1 : scene.fake.fileTree.details[kDocs + "\\Sub\\b.txt"].lastWritten;
      throw CutOff();
    };
    EXPECT_THROW(scene.Move("D:\\Docs"), CutOff);
    scene.fake.fileTree.onCall = nullptr;
    std::vector<std::string> said = UndoCutOffChangeAtStart(scene.fake.platform());
    EXPECT_EQ(scene.fake.files.files.count(copy), cutShort ? 0u : 1u);
    EXPECT_EQ(scene.fake.files.files[kDocs + "\\Sub\\b.txt"], "bbbbb");
    ASSERT_EQ(said.size(), 1u);
    EXPECT_EQ(said[0].find(copy) != std::string::npos, !cutShort) << said[0];
  }
}

}  // namespace
