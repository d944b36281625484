// Every main flow of the window rerun once for each platform call it makes, with that call failing: nothing
// escapes, what it changes it changes whole or not at all, the user is told what the behaviour defines for the
// failure, and nothing is left that should not be. The backup's own run of this is in backup_test.cpp.
#include <map>

#include "features/feature_texts.h"
#include "main_presenter_fixture.h"
#include "vocabulary/vocabulary_texts.h"

namespace {

// One world for a flow: the fakes and the presenter, with a value in each of the keys.
struct World : AnnsWindow {
  World() {
    for (const char* key : {kUserShellFoldersKey, kShellFoldersKey}) {
      fake.registry.SetString(platform::kHkeyCurrentUser, key, "Personal", platform::kRegExpandSz, "D:\\Docs");
      fake.registry.SetString(platform::kHkeyLocalMachine, key, "Common Desktop", platform::kRegSz, "C:\\All\\Desktop");
    }
  }
};

struct Flow {
  const char* name;
  std::function<void(World&)> arrange;  // runs before the calls are recorded
  std::function<void(World&)> act;
};

TEST(FaultInjectionTest, EveryFlowSurvivesEachOfItsCallsFailing) {
  const Flow flows[] = {
      {"Start-up", [](World&) {}, [](World& w) { w.presenter.OnLoad(); }},
      {"Selecting each folder", [](World&) {},
       [](World& w) {
         for (int position = 0; position < static_cast<int>(kShellFolderCount); ++position) {
           w.view.SelectFolderAt(position);
         }
       }},
      {"Apply", [](World& w) { w.Select("My Documents"), w.view.Type("E:\\New Docs"); },
       [](World& w) { w.presenter.OnApply(); }},
      {"Restore Default", [](World& w) { w.Select("Common Desktop"); },
       [](World& w) { w.presenter.OnRestoreDefault(); }},
  };

  int runs = 0;
  for (const Flow& flow : flows) {
    const std::string name = flow.name;
    World before;
    flow.arrange(before);
    World expected;
    flow.arrange(expected);
    expected.fake.log.Clear();
    flow.act(expected);
    const std::vector<std::string> calls = expected.fake.log.calls();
    ASSERT_FALSE(calls.empty()) << name;

    std::map<std::string, std::size_t> seen;
    for (std::size_t i = 0; i < calls.size(); ++i) {
      std::size_t occurrence = seen[calls[i]]++;
      // A failing lookup is an undefined variable, which the expansion keeps as written: a defined outcome.
      if (calls[i].rfind("Variable(", 0) == 0) continue;
      for (std::int32_t code : {platform::kErrorAccessDenied, 1117}) {
        SCOPED_TRACE(name + ": call " + std::to_string(i) + " " + calls[i] + " fails with " + std::to_string(code));
        World world;
        flow.arrange(world);
        world.fake.log.Clear();
        world.fake.log.Fail(calls[i], occurrence, code);
        EXPECT_NO_THROW(flow.act(world));
        ++runs;

        bool asBefore = world.fake.registry.keys() == before.fake.registry.keys();
        bool changed = !asBefore && world.fake.registry.keys() == expected.fake.registry.keys();
        EXPECT_TRUE(asBefore || changed);
        std::vector<std::string> prompts = world.view.Prompts();
        if (name == "Apply" || name == "Restore Default") {
          ASSERT_FALSE(prompts.empty());
          // The last box says success exactly when the change was made; the window then shows what is stored.
          EXPECT_EQ(prompts.back() == expected.view.Prompts().back(), changed) << prompts.back();
          if (calls[i].rfind("WriteValue(", 0) == 0) {
            EXPECT_EQ(prompts.back(), WriteFailureText(code));
          }
          if (calls[i].rfind("Acquire(", 0) == 0) {
            EXPECT_EQ(prompts.back(), std::string(kCannotWaitForOtherRun) + ": " +
                                          (code == 5 ? "Access is denied. " : "") + ErrorNumber(code));
          }
          EXPECT_FALSE(world.view.applyEnabled);
        } else if (name == "Start-up" && calls[i].rfind("Version()", 0) == 0) {
          EXPECT_EQ(prompts.size(), 1u);
        } else {
          EXPECT_TRUE(prompts.empty()) << "no message is defined for a failure while " << name;
        }
        EXPECT_EQ(world.view.closed, name == "Start-up" && calls[i].rfind("Version()", 0) == 0);
        // Files: what the flow left, plus at most what the failing call was about, and a journal that could not
        // be deleted once it had served, which is marked done by its name.
        for (const auto& [path, bytes] : world.fake.files.files) {
          bool named = calls[i].find(path) != std::string::npos;
          auto left = expected.fake.files.files.find(path);
          bool leftByFlow = left != expected.fake.files.files.end() && left->second == bytes;
          bool journalMarkedDone = calls[i].rfind("Delete(", 0) == 0 &&
                                   calls[i].find("unfinished.reg") != std::string::npos && path.size() > 5 &&
                                   path.compare(path.size() - 5, 5, ".done") == 0;
          EXPECT_TRUE(named || leftByFlow || journalMarkedDone) << path << " holds " << bytes.size() << " bytes";
        }
      }
    }
  }
  EXPECT_GT(runs, 100);
}

}  // namespace
