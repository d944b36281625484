// "Restore from backup..." in the window: the open-file dialog, the one question, the import away from the
// window, and what the window shows afterwards.
#include "features/feature_texts.h"
#include "main_presenter_fixture.h"
#include "presenters/presenter_texts.h"
#include "vocabulary/registry_file.h"
#include "vocabulary/vocabulary_texts.h"

namespace {

const std::string kDesktop = "C:\\Documents and Settings\\Ann\\Desktop";
const std::string kBackup = kDesktop + "\\specialfolders.bak";

std::string BackupSettingMyDocuments(const std::string& path) {
  return RegistryFileBytes(
      {"[HKEY_CURRENT_USER\\" + std::string(kUserShellFoldersKey) + "]", "\"Personal\"=" + RegistryFileQuoted(path)});
}

class RestoreFromBackupTest : public MainPresenterTest {
 protected:
  RestoreFromBackupTest() {
    fake.shell.desktop.path = kDesktop;
    SetUserShell(platform::kHkeyCurrentUser, "Personal", platform::kRegExpandSz, "D:\\Now");
    Select("My Documents");
    view.Type("D:\\typed");
  }
};

TEST_F(RestoreFromBackupTest, TheDialogOpensAtTheDesktopWithTheBackupPreselectedWhenThereIsOne) {
  presenter.OnRestoreFromBackup();
  fake.files.files[kBackup] = BackupSettingMyDocuments("D:\\Saved");
  presenter.OnRestoreFromBackup();
  ASSERT_EQ(fake.shell.fileDialogs.size(), 2u);
  for (const FakeShell::FileDialog& dialog : fake.shell.fileDialogs) {
    EXPECT_EQ(dialog.owner, FakeMainView::kWindow);
    EXPECT_EQ(dialog.initialFolder, kDesktop);
    EXPECT_EQ(dialog.title, kImportDialogTitle);
    EXPECT_EQ(dialog.filter, kImportFilter);
  }
  EXPECT_EQ(fake.shell.fileDialogs[0].preselectedName, "");
  EXPECT_EQ(fake.shell.fileDialogs[1].preselectedName, "specialfolders.bak");
  // Cancelled both times: nothing asked, nothing written.
  EXPECT_TRUE(view.questions.empty());
  EXPECT_TRUE(fake.registry.changes.empty());
}

TEST_F(RestoreFromBackupTest, OnlyAYesImportsAndOnlyASuccessShowsTheLocationAfresh) {
  const struct {
    const char* name;
    std::string fileBytes;
    bool answerYes;
    std::uint32_t dialogError;
    std::string message;  // the one box after the question; empty: none
    std::string pathText;
    bool denied = false;
  } cases[] = {
      {"yes", BackupSettingMyDocuments("D:\\Saved"), true, 0, RestoredFromBackup(kBackup, {}, {}), "D:\\Saved"},
      {"no", BackupSettingMyDocuments("D:\\Saved"), false, 0, "", "D:\\typed"},
      {"a file that is no backup", "just some text", true, 0,
       NotABackupRefusal(kBackup) + "\n" + OffendingLine(1, "just some text") + kNoRegistryFileHeader, "D:\\typed"},
      {"a dialog that fails", "", true, 0x3003, FileDialogFailed(0x3003), "D:\\typed"},
      // A restore that failed shows what the registry holds, which is what it held before.
      {"a refused write", BackupSettingMyDocuments("D:\\Saved"), true, 0,
       NotRestoredHeadline(kBackup) + "\n" + kCannotWriteAction + " " +
           ValueInSentence("HKEY_CURRENT_USER\\" + std::string(kUserShellFoldersKey), "Personal") +
           ": Access is denied. (error 5)" + kNothingChanged,
       "D:\\Now", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SetUserShell(platform::kHkeyCurrentUser, "Personal", platform::kRegExpandSz, "D:\\Now");
    view.Type("D:\\typed");
    view.messages.clear();
    view.questions.clear();
    view.busyChanges.clear();
    fake.files.files[kBackup] = c.fileBytes;
    fake.shell.fileChoice = c.dialogError == 0
                                ? platform::FileChoice{platform::FileChoice::Result::kChosen, kBackup, 0}
                                : platform::FileChoice{platform::FileChoice::Result::kFailed, "", c.dialogError};
    view.answerYes = c.answerYes;
    if (c.denied) fake.registry.DenyWrites(platform::kHkeyCurrentUser, kUserShellFoldersKey);
    view.holdBackgroundWork = true;
    presenter.OnRestoreFromBackup();
    // The chosen file is judged away from the window; a file that is no backup is refused without a question.
    bool judged = c.dialogError == 0;
    if (judged) view.FinishBackgroundWork();
    bool asked = judged && c.fileBytes.rfind("\xFF\xFE", 0) == 0;
    ASSERT_EQ(view.questions.size(), asked ? 1u : 0u);
    if (asked) {
      EXPECT_EQ(view.questions[0].prompt, RestoreQuestion(kBackup, 1));
    }
    if (asked && c.answerYes) view.FinishBackgroundWork();
    EXPECT_EQ(view.messages.empty() ? "" : view.messages.back().prompt, c.message);
    // The window is busy while the file is judged and restored, and only then.
    EXPECT_EQ(view.busyChanges, judged ? (std::vector<bool>{true, false}) : std::vector<bool>{});
    EXPECT_EQ(view.pathText, c.pathText);
  }
}

}  // namespace
