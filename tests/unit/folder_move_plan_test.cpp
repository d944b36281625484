// The plan of moving a folder's files: each refusal, the way on one volume and across, files already there, the
// folders inside that follow, nothing to move, the dry run's words, and the bound on what is walked.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "features/feature_texts.h"
#include "features/folder_move_plan.h"
#include "features/usable_path.h"
#include "main_presenter_fixture.h"

namespace {

using Step = PlannedEntry::Step;
using Way = FolderMovePlan::Way;

const std::string kDocs = "C:\\Documents and Settings\\Ann\\My Documents";

// An entry of a plan as "path step bytes".
std::string Planned(const std::string& path, Step step, std::uint64_t size = 0) {
  return path + " " + std::to_string(static_cast<int>(step)) + " " + std::to_string(size);
}

// Ann's profile with every folder at its stock path, and a file in My Documents.
struct Scene {
  Scene() {
    SetUpAnnOnWindowsXp(fake);
    for (const ShellFolder& folder : kShellFolders) StoreLocation(folder.displayName, folder.stockDefaultPath);
    Put(kDocs + "\\a.txt", "abc");
  }
  void StoreLocation(const char* folder, const std::string& path) {
    const ShellFolder& row = *FindShellFolder(folder);
    fake.registry.SetString(row.hive, kUserShellFoldersKey, row.valueName, platform::kRegExpandSz, path);
  }
  // A folder with the folders above it.
  void Folder(const std::string& path) {
    for (std::size_t slash = path.find('\\', 3); slash != std::string::npos; slash = path.find('\\', slash + 1))
      fake.files.folders.insert(path.substr(0, slash));
    fake.files.folders.insert(path);
  }
  void Put(const std::string& path, const std::string& bytes) {
    Folder(path.substr(0, path.find_last_of('\\')));
    fake.files.files[path] = bytes;
  }
  FolderMovePlan Plan(const char* folder, const std::string& target, std::size_t most = kMostEntriesPlanned) {
    FolderMovePlan plan = PlanFolderMove(fake.platform(), *FindShellFolder(folder), target, {}, most);
    // It only reads.
    const std::vector<std::string> reads = {"Describe(",  "List(",     "Volume(",       "CompareBytes(",
                                            "ReadValue(", "Variable(", "WindowsFolder("};
    for (const std::string& call : fake.log.calls()) {
      EXPECT_TRUE(std::any_of(reads.begin(), reads.end(), [&](const std::string& read) {
        return call.rfind(read, 0) == 0;
      })) << call;
    }
    return plan;
  }
  // Each entry Planned, in the plan's order, where a folder comes before what it holds.
  static std::vector<std::string> Steps(const FolderMovePlan& plan) {
    std::vector<std::string> steps, paths;
    for (const PlannedEntry& entry : plan.entries) {
      std::size_t slash = entry.path.find_last_of('\\');
      if (slash != std::string::npos) {
        EXPECT_NE(std::find(paths.begin(), paths.end(), entry.path.substr(0, slash)), paths.end()) << entry.path;
      }
      paths.push_back(entry.path);
      steps.push_back(Planned(entry.path, entry.step, entry.entry.size));
    }
    return steps;
  }

  FakePlatform fake;
};

struct Refusal {
  const char* what;
  std::function<void(Scene&)> setUp;
  std::string target;
  std::string why;  // empty: none
};

// A target of this many characters.
std::string LongTarget(std::size_t characters) {
  return "D:\\" + std::string(characters - 3, 'l');
}

const Refusal kRefusals[] = {
    {"target inside source", nullptr, "%USERPROFILE%\\My Documents\\Inner",
     TargetInsideSource(kDocs + "\\Inner", kDocs)},
    {"target inside source by its short names",
     [](Scene& s) { s.fake.files.shortNames["C:\\DOCUME~1\\Ann\\MYDOCU~1"] = kDocs; },
     "C:\\DOCUME~1\\Ann\\MYDOCU~1\\Inner", TargetInsideSource("C:\\DOCUME~1\\Ann\\MYDOCU~1\\Inner", kDocs)},
    {"source inside target", nullptr, "C:\\Documents and Settings\\ann\\",
     SourceInsideTarget(kDocs, "C:\\Documents and Settings\\ann\\")},
    {"a name that begins alike is neither", nullptr, "%USERPROFILE%\\My Documents2", ""},
    {"a target file of other bytes", [](Scene& s) { s.Put("D:\\Docs\\A.TXT", "abd"); }, "D:\\Docs",
     TargetFilesDiffer("D:\\Docs", {"a.txt"})},
    {"a target folder where a file is", [](Scene& s) { s.Folder("D:\\Docs\\a.txt"); }, "D:\\Docs",
     TargetFilesDiffer("D:\\Docs", {"a.txt"})},
    {"too little free space across volumes", [](Scene& s) { s.fake.fileTree.volumes["D:\\"] = 2; }, "D:\\Docs",
     NotEnoughFreeSpace("D:\\Docs", 3, 2)},
    {"no free space needed for a rename", [](Scene& s) { s.fake.fileTree.volumes["C:\\"] = 0; }, "C:\\Docs", ""},
    {"an unusable target", nullptr, "Docs", MoveTargetUnusable("Docs", kPathNotFull)},
    {"a target that is a file", [](Scene& s) { s.Put("D:\\Docs", "x"); }, "D:\\Docs",
     LocationIsAFile("D:\\Docs") + "."},
    {"a drive's root", [](Scene& s) { s.StoreLocation("My Documents", "E:\\"); }, "D:\\Docs",
     SourceNotMovable("E:\\", kIsADriveRoot)},
    {"the Windows folder",
     [](Scene& s) {
       s.Folder("C:\\WINDOWS");
       s.StoreLocation("My Documents", "C:\\windows");
     },
     "D:\\Docs", SourceNotMovable("C:\\windows", kHoldsWindowsFolder)},
    {"the profile", [](Scene& s) { s.StoreLocation("My Documents", "%USERPROFILE%"); }, "D:\\Docs",
     SourceNotMovable("C:\\Documents and Settings\\Ann", kHoldsProfileFolder)},
    {"All Users' profile",
     [](Scene& s) {
       s.Folder("C:\\Documents and Settings\\All Users");
       s.StoreLocation("My Documents", "%ALLUSERSPROFILE%");
     },
     "D:\\Docs", SourceNotMovable("C:\\Documents and Settings\\All Users", kHoldsAllUsersProfile)},
    {"a source that is a link", [](Scene& s) { s.fake.fileTree.reparsePoints.insert(kDocs); }, "D:\\Docs",
     SourceNotMovable(kDocs, kIsALink)},
    {"a junction inside",
     [](Scene& s) {
       s.Folder(kDocs + "\\Sub\\Link");
       s.fake.fileTree.reparsePoints.insert(kDocs + "\\Sub\\Link");
     },
     "D:\\Docs", HoldsReparsePoints(kDocs, {"Sub\\Link"})},
    // 247 + 14 characters; "\\My Pictures" would make 259.
    {"a path too long at the target", [](Scene& s) { s.Put(kDocs + "\\" + std::string(13, 'n'), ""); }, LongTarget(247),
     PathsTooLongAtTarget(LongTarget(247), {std::string(13, 'n')}, kLongestUsablePath)},
    {"a follower's path too long", nullptr, LongTarget(248),
     FollowerUnusable("My Pictures", LongTarget(248) + "\\My Pictures", PathTooLong(kLongestUsablePath))},
};

TEST(FolderMovePlanTest, EachRefusalIsToldByItsReasonBeforeAnythingIsTouched) {
  for (const Refusal& row : kRefusals) {
    SCOPED_TRACE(row.what);
    Scene scene;
    if (row.setUp) row.setUp(scene);
    FolderMovePlan plan = scene.Plan("My Documents", row.target);
    EXPECT_EQ(plan.refusals, row.why.empty() ? std::vector<std::string>{} : std::vector<std::string>{row.why});
  }
}

struct WayCase {
  std::string target;
  bool holdsSome;  // the target holds a.txt with the same bytes, and a folder "sub"
  Way way;
  std::vector<std::string> steps;
  std::uint64_t files, bytes;
};

// On one volume the top entries are renamed, across volumes every file is copied and every folder made; a file the
// target holds with the same bytes counts as moved and needs no space, and a folder it holds is moved into.
TEST(FolderMovePlanTest, EachEntryIsRenamedOrCopiedOrCountedAsThereAlready) {
  const std::vector<std::string> copied = {Planned("Empty", Step::kMakeFolder), Planned("Sub", Step::kMakeFolder),
                                           Planned("Sub\\b.txt", Step::kCopy, 5), Planned("a.txt", Step::kCopy, 3)};
  const WayCase cases[] = {
      {"C:\\Docs",
       false,
       Way::kRename,
       {Planned("Empty", Step::kRename), Planned("Sub", Step::kRename), Planned("a.txt", Step::kRename, 3)},
       2,
       8},
      {"D:\\Docs", false, Way::kCopy, copied, 2, 8},
      // Another volume mounted on a folder of C: is another volume.
      {"C:\\Mounted\\Docs", false, Way::kCopy, copied, 2, 8},
      {"C:\\Docs",
       true,
       Way::kRename,
       {Planned("Empty", Step::kRename), Planned("Sub", Step::kJoin), Planned("Sub\\b.txt", Step::kRename, 5),
        Planned("a.txt", Step::kAlreadyThere, 3)},
       1,
       5},
      {"D:\\Docs",
       true,
       Way::kCopy,
       {Planned("Empty", Step::kMakeFolder), Planned("Sub", Step::kJoin), Planned("Sub\\b.txt", Step::kCopy, 5),
        Planned("a.txt", Step::kAlreadyThere, 3)},
       1,
       5},
  };
  for (const WayCase& c : cases) {
    SCOPED_TRACE(c.target + (c.holdsSome ? " holding some" : ""));
    Scene scene;
    scene.fake.fileTree.volumes["C:\\Mounted\\"] = 100;
    scene.fake.fileTree.volumes["D:\\"] = c.bytes;
    scene.Put(kDocs + "\\Sub\\b.txt", "bbbbb");
    scene.Folder(kDocs + "\\Empty");
    if (c.holdsSome) {
      scene.Put(c.target + "\\A.txt", "abc");
      scene.Folder(c.target + "\\sub");
    }
    FolderMovePlan plan = scene.Plan("My Documents", c.target);
    EXPECT_TRUE(plan.refusals.empty()) << plan.refusals[0];
    EXPECT_EQ(plan.way, c.way);
    std::vector<std::string> steps = Scene::Steps(plan);
    std::sort(steps.begin(), steps.end());
    EXPECT_EQ(steps, c.steps);
    EXPECT_EQ(plan.files, c.files);
    EXPECT_EQ(plan.bytes, c.bytes);
    EXPECT_EQ(plan.filesAlreadyThere, c.holdsSome ? 1u : 0u);
    EXPECT_EQ(plan.targetThere, c.holdsSome);
  }
}

// The folders inside follow to the same place in the target, the rest of their value kept with its references
// where it begins with the moved folder's value; a folder beside, whose path only begins alike, stays.
TEST(FolderMovePlanTest, TheFoldersInsideFollowWithTheirReferencesKept) {
  Scene scene;
  scene.StoreLocation("My Pictures", "%USERPROFILE%\\My Documents\\%USERNAME% Pictures");
  scene.StoreLocation("Shared Music", "%USERPROFILE%\\My Documents2\\Music");
  scene.StoreLocation("Shared Pictures", "C:\\DOCUME~1\\Ann\\MYDOCU~1\\Pics");
  scene.fake.files.shortNames["C:\\DOCUME~1\\Ann\\MYDOCU~1"] = kDocs;
  FolderMovePlan plan = scene.Plan("My Documents", "\\\\files\\home\\%USERNAME%\\Docs\\");
  ASSERT_TRUE(plan.refusals.empty()) << plan.refusals[0];
  std::vector<std::string> followers;
  for (const FollowingFolder& f : plan.following)
    followers.push_back(std::string(f.folder->displayName) + " | " + f.oldLocation + " | " + f.newStored + " | " +
                        f.newLocation);
  const std::string docs = "\\\\files\\home\\%USERNAME%\\Docs\\", expanded = "\\\\files\\home\\Ann\\Docs\\";
  EXPECT_EQ(
      followers,
      (std::vector<std::string>{
          "My Music | " + kDocs + "\\My Music | " + docs + "My Music | " + expanded + "My Music",
          "My Pictures | " + kDocs + "\\Ann Pictures | " + docs + "%USERNAME% Pictures | " + expanded + "Ann Pictures",
          "Shared Pictures | C:\\DOCUME~1\\Ann\\MYDOCU~1\\Pics | " + docs + "Pics | " + expanded + "Pics",
      }));
}

struct IdleCase {
  const char* what;
  std::function<void(Scene&)> setUp;
  std::string target;
  Way way;
};

TEST(FolderMovePlanTest, AMissingOrEmptySourceOrTheSamePlaceMovesNothing) {
  const IdleCase cases[] = {
      {"missing", [](Scene& s) { s.fake.files.files.clear(), s.fake.files.folders.clear(); }, "D:\\Docs",
       Way::kNoSource},
      {"empty", [](Scene& s) { s.fake.files.files.clear(); }, "D:\\Docs", Way::kEmptySource},
      {"the same place", nullptr, "C:\\DOCUMENTS AND SETTINGS\\Ann\\My Documents\\", Way::kSamePlace},
  };
  for (const IdleCase& c : cases) {
    SCOPED_TRACE(c.what);
    Scene scene;
    if (c.setUp) c.setUp(scene);
    FolderMovePlan plan = scene.Plan("My Documents", c.target);
    EXPECT_TRUE(plan.refusals.empty());
    EXPECT_EQ(plan.way, c.way);
    EXPECT_FALSE(plan.MovesFiles());
    EXPECT_TRUE(plan.entries.empty());
    EXPECT_TRUE(plan.following.empty());
  }
}

// Where User Shell Folders holds nothing usable, the files are where Shell Folders says, as the window shows it.
TEST(FolderMovePlanTest, TheSourceIsWhereTheWindowShowsTheFolder) {
  Scene scene;
  scene.StoreLocation("My Documents", "");
  scene.fake.registry.SetString(platform::kHkeyCurrentUser, kShellFoldersKey, "Personal", platform::kRegSz, "E:\\Old");
  scene.Put("E:\\Old\\x.txt", "x");
  FolderMovePlan plan = scene.Plan("My Documents", "D:\\Docs");
  EXPECT_EQ(plan.source, "E:\\Old");
  EXPECT_EQ(Scene::Steps(plan), std::vector<std::string>{Planned("x.txt", Step::kCopy, 1)});
}

TEST(FolderMovePlanTest, ADryRunTellsWhatWouldMoveWhatFollowsAndWhy) {
  Scene scene;
  scene.Put(kDocs + "\\My Music\\song.mp3", std::string(2000, 's'));
  scene.Put("D:\\Docs\\a.txt", "abc");
  EXPECT_EQ(DescribeFolderMove(scene.Plan("My Documents", "D:\\Docs")),
            FilesWouldMove("My Documents", 1, 2000, kDocs, "D:\\Docs", false) + "\n" +
                FilesAlreadyThere("My Documents", 1, kDocs, "D:\\Docs") + "\n" +
                FollowsFolder("My Music", "My Documents", "D:\\Docs\\My Music") + "\n" +
                FollowsFolder("My Pictures", "My Documents", "D:\\Docs\\My Pictures"));
  EXPECT_EQ(DescribeFolderMove(scene.Plan("Desktop", "C:\\Desk")),
            NoFilesToMove("Desktop", "C:\\Documents and Settings\\Ann\\Desktop", kDoesNotExist));
  EXPECT_EQ(DescribeFolderMove(scene.Plan("My Documents", "Docs")),
            FilesMayNotMove("My Documents") + "\n  " + MoveTargetUnusable("Docs", kPathNotFull));
}

// The walk stops at the bound, counting the target's entries it looks at too.
TEST(FolderMovePlanTest, AFolderOfMoreEntriesThanTheBoundIsRefused) {
  Scene scene;
  for (int i = 0; i < 9; ++i) scene.Put(kDocs + "\\f" + std::to_string(i), "");
  EXPECT_TRUE(scene.Plan("My Documents", "D:\\Docs", 10).refusals.empty());
  EXPECT_EQ(scene.Plan("My Documents", "D:\\Docs", 9).refusals, std::vector<std::string>{TooManyEntries(kDocs, 9)});
  scene.Folder("D:\\Docs");
  for (int i = 0; i < 5; ++i) scene.Put("D:\\Docs\\t" + std::to_string(i), "");
  EXPECT_EQ(scene.Plan("My Documents", "D:\\Docs", 14).refusals, std::vector<std::string>{TooManyEntries(kDocs, 14)});
}

}  // namespace
