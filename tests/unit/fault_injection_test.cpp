// Every main flow rerun once for each platform call it makes, with that call failing: nothing escapes, the
// user is told what the behaviour defines for the failure, and nothing is left that should not be.
#include <map>
#include <set>

#include "features/backup.h"
#include "features/feature_texts.h"
#include "main_presenter_fixture.h"
#include "vocabulary/registry_file.h"
#include "vocabulary/vocabulary_texts.h"

namespace {

using platform::kHkeyCurrentUser;
using platform::kHkeyLocalMachine;

const std::string kDesktop = "C:\\Documents and Settings\\Ann\\Desktop";
const std::string kBackupPath = kDesktop + "\\specialfolders.bak";
const std::string kOldBackup = "an old backup";

// kCutShort: regedit ends an export half-way, with exit code 0, which the export's read then finds.
enum class FailureKind { kSystemError, kAccessDenied, kCutShort, kNeverEnds };

struct Failure {
  std::size_t occurrence;  // of the same call before it
  std::string call;
  FailureKind kind;
};

// One world for a flow: the fakes, the presenter, and regedit standing in for itself.
class World {
 public:
  World() : presenter(fake.platform(), view) {
    view.Attach(&presenter);
    SetUpAnnOnWindowsXp(fake);
    for (const char* key : {kUserShellFoldersKey, kShellFoldersKey}) {
      fake.registry.SetString(kHkeyCurrentUser, key, "Personal", platform::kRegExpandSz, "D:\\Docs");
      fake.registry.SetString(kHkeyLocalMachine, key, "Common Desktop", platform::kRegSz, "C:\\All\\Desktop");
    }
    fake.shell.desktop.path = kDesktop;
    fake.files.files[kBackupPath] = kOldBackup;
    fake.processes.onRun = [this](const std::string& commandLine) { return Regedit(commandLine); };
  }

  // regedit's export of the key named on the command line, from the fake registry.
  FakeProcesses::Outcome Regedit(const std::string& commandLine) {
    FakeProcesses::Outcome outcome = fake.ExportLikeRegedit(commandLine);
    outcome.hangs = commandLine == hangingCommand;
    if (!cutShortExport.empty() && commandLine.find("\"" + cutShortExport + "\"") != std::string::npos) {
      std::string& bytes = fake.files.files[cutShortExport];
      bytes.resize(bytes.size() / 2);
    }
    return outcome;
  }

  void Inject(const Failure& failure) {
    std::int32_t code = failure.kind == FailureKind::kAccessDenied ? platform::kErrorAccessDenied : 1117;
    switch (failure.kind) {
      case FailureKind::kCutShort:
        cutShortExport = failure.call.substr(std::string("ReadWholeFile(").size(),
                                             failure.call.size() - 1 - std::string("ReadWholeFile(").size());
        break;
      case FailureKind::kNeverEnds:
        hangingCommand =
            failure.call.substr(std::string("Start(").size(), failure.call.size() - 1 - std::string("Start(").size());
        break;
      default:
        fake.log.Fail(failure.call, failure.occurrence, code);
    }
  }

  std::vector<std::string> Prompts() const {
    std::vector<std::string> prompts;
    for (const auto& box : view.messages) prompts.push_back(box.prompt);
    return prompts;
  }

  FakePlatform fake;
  FakeMainView view;
  MainPresenter presenter;
  std::string hangingCommand;
  std::string cutShortExport;
};

struct Flow {
  const char* name;
  std::function<void(World&)> arrange;  // runs before the calls are recorded
  std::function<void(World&)> act;
};

class FaultInjectionTest : public ::testing::Test {
 protected:
  void CheckMessages(const Flow& flow, const Failure& failure, World& world, const World& recorded, bool changed) {
    std::string name = flow.name;
    std::vector<std::string> prompts = world.Prompts();
    bool failedWrite = failure.call.rfind("WriteValue(", 0) == 0 && failure.kind != FailureKind::kCutShort;
    if (name == "Apply" || name == "Restore Default") {
      std::int32_t code = failure.kind == FailureKind::kAccessDenied ? 5 : 1117;
      ASSERT_FALSE(prompts.empty());
      // The last box says success exactly when the change was made.
      EXPECT_EQ(prompts.back() == recorded.Prompts().back(), changed) << prompts.back();
      if (failedWrite) {
        EXPECT_EQ(prompts.back(), WriteFailureText(code));
      }
      if (failure.call.rfind("Acquire(", 0) == 0) {
        EXPECT_EQ(prompts.back(), std::string(kCannotWaitForOtherRun) + ": " + (code == 5 ? "Access is denied. " : "") +
                                      ErrorNumber(code));
      }
    } else if (name == "Start-up" && failure.call.rfind("Version()", 0) == 0) {
      ASSERT_EQ(prompts.size(), 1u);
      EXPECT_TRUE(world.view.closed);
    } else if (name == "Backup") {
      CheckBackupMessages(prompts, world, failure);
    } else {
      EXPECT_TRUE(prompts.empty()) << "no message is defined for a failure while " << name;
    }
  }

  // The backup tells the truth: success only with a complete backup on the desktop, and never two verdicts.
  // An export cut short: the backup may then hold less, but is still one registry file.
  void CheckBackupMessages(const std::vector<std::string>& prompts, World& world, const Failure& failure) {
    ASSERT_FALSE(prompts.empty());
    bool cutShort = failure.kind == FailureKind::kCutShort;
    const std::string& verdict = prompts.back();
    auto backup = world.fake.files.files.find(BackupFileOf(failure));
    if (verdict == kBackedUp) {
      ASSERT_NE(backup, world.fake.files.files.end());
      if (!cutShort) {
        EXPECT_EQ(backup->second, recordedBackup_);
      }
      EXPECT_TRUE(ParseRegistryFile(backup->second).readable);
    } else {
      EXPECT_EQ(verdict.rfind(kNotBackedUp, 0), 0u) << verdict;
      // Where the backup would have gone is where the old one still is, untouched.
      if (BackupFileOf(failure) == kBackupPath) {
        ASSERT_NE(backup, world.fake.files.files.end());
        EXPECT_EQ(backup->second, kOldBackup);
      }
    }
    for (std::size_t i = 0; i + 1 < prompts.size(); ++i) {
      EXPECT_NE(prompts[i].rfind(kNotBackedUp, 0), 0u);
      EXPECT_NE(prompts[i], kBackedUp);
    }
  }

  // Files: what the flow left plus, at most, what the failing call was about; the old backup stays exactly as
  // it was unless a complete new one took its place, and nothing half-made stays beside it.
  void CheckFiles(const Failure& failure, World& world, const World& recorded) {
    EXPECT_EQ(world.fake.files.files.count(kBackupPath + ".new"), 0u);
    for (const auto& [path, bytes] : world.fake.files.files) {
      bool named = failure.call.find(path) != std::string::npos;
      auto recordedFile = recorded.fake.files.files.find(path);
      bool leftByFlow = recordedFile != recorded.fake.files.files.end() && recordedFile->second == bytes;
      bool oldBackupKept = path == kBackupPath && bytes == kOldBackup;
      // A journal that could not be deleted once it had served is marked done by its name.
      bool journalMarkedDone = failure.call.rfind("Delete(", 0) == 0 &&
                               failure.call.find("unfinished.reg") != std::string::npos && path.size() > 5 &&
                               path.compare(path.size() - 5, 5, ".done") == 0;
      bool toldBackup = path == BackupFileOf(failure) &&
                        (bytes == recordedBackup_ || failure.kind == FailureKind::kCutShort) &&
                        !world.view.messages.empty() && world.view.messages.back().prompt == kBackedUp;
      EXPECT_TRUE(named || leftByFlow || oldBackupKept || toldBackup || journalMarkedDone)
          << path << " holds " << bytes.size() << " bytes";
    }
    for (const FakeProcesses::Process& process : world.fake.processes.started) {
      EXPECT_TRUE(process.ended || (process.ran && !process.outcome.hangs)) << process.commandLine;
      EXPECT_TRUE(process.closed) << process.commandLine;
    }
  }

  // Without the desktop's path the backup goes to the root of the current drive, as it always has.
  static std::string BackupFileOf(const Failure& failure) {
    return failure.call.rfind("DesktopFolder(", 0) == 0 ? "\\specialfolders.bak" : kBackupPath;
  }

  std::string recordedBackup_;
};

// The same values of the same types in the same keys.
bool SameRegistry(const World& world, const World& other) {
  return world.fake.registry.keys() == other.fake.registry.keys();
}

std::vector<FailureKind> KindsFor(const std::string& call) {
  std::vector<FailureKind> kinds = {FailureKind::kSystemError, FailureKind::kAccessDenied};
  // Only regedit's exports can come short: another process writes them.
  if (call.rfind("ReadWholeFile(C:\\TEMP\\", 0) == 0) kinds.push_back(FailureKind::kCutShort);
  if (call.rfind("Start(", 0) == 0) kinds.push_back(FailureKind::kNeverEnds);
  return kinds;
}

TEST_F(FaultInjectionTest, EveryFlowSurvivesEachOfItsCallsFailing) {
  auto select = [](World& w, const char* name) { w.view.SelectFolderAt(ListPositionOf(*FindShellFolder(name))); };
  const Flow flows[] = {
      {"Start-up", [](World&) {}, [](World& w) { w.presenter.OnLoad(); }},
      {"Selecting each folder", [](World&) {},
       [](World& w) {
         for (int position = 0; position < static_cast<int>(kShellFolderCount); ++position) {
           w.view.SelectFolderAt(position);
         }
       }},
      {"Apply", [&](World& w) { select(w, "My Documents"), w.view.Type("E:\\New Docs"); },
       [](World& w) { w.presenter.OnApply(); }},
      {"Restore Default", [&](World& w) { select(w, "Common Desktop"); },
       [](World& w) { w.presenter.OnRestoreDefault(); }},
      {"Backup", [](World&) {}, [](World& w) { w.presenter.OnBackup(); }},
      {"Browse", [&](World& w) { select(w, "Desktop"); }, [](World& w) { w.presenter.OnBrowse(); }},
  };

  int runs = 0;
  for (const Flow& flow : flows) {
    World recorded;
    flow.arrange(recorded);
    recorded.fake.log.Clear();
    flow.act(recorded);
    const std::vector<std::string> calls = recorded.fake.log.calls();
    recordedBackup_ = recorded.fake.files.files.count(kBackupPath) ? recorded.fake.files.files.at(kBackupPath) : "";
    ASSERT_FALSE(calls.empty()) << flow.name;

    std::map<std::string, std::size_t> seen;
    for (std::size_t i = 0; i < calls.size(); ++i) {
      std::size_t occurrence = seen[calls[i]]++;
      // A failing lookup is an undefined variable, which the expansion keeps as written: a defined outcome.
      if (calls[i].rfind("Variable(", 0) == 0) continue;
      for (FailureKind kind : KindsFor(calls[i])) {
        Failure failure{occurrence, calls[i], kind};
        SCOPED_TRACE(std::string(flow.name) + ": call " + std::to_string(i) + " " + calls[i] + " fails (" +
                     std::to_string(static_cast<int>(kind)) + ")");
        World world;
        World before;
        flow.arrange(world);
        flow.arrange(before);
        world.fake.log.Clear();
        world.Inject(failure);
        EXPECT_NO_THROW(flow.act(world));
        ++runs;

        World expected;
        flow.arrange(expected);
        flow.act(expected);
        // What a flow changes, it changes whole or not at all, and says which.
        bool asBefore = SameRegistry(world, before);
        bool asExpected = SameRegistry(world, expected);
        EXPECT_TRUE(asBefore || asExpected);
        CheckMessages(flow, failure, world, recorded, asExpected && !asBefore);
        CheckFiles(failure, world, recorded);
        EXPECT_FALSE(world.view.closed && std::string(flow.name) != "Start-up");
      }
    }
  }
  std::printf("%d fault-injection runs\n", runs);
  EXPECT_GT(runs, 100);
}

}  // namespace
