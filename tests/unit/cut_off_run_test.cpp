// A run cut off at any instant is never left half done: a restore and a layout journal what they change before
// they write, and the next run that takes the lock puts it back and says so; every writer takes the one lock.
#include <gtest/gtest.h>

#include <thread>

#include "cli/cli_commands.h"
#include "cli/command_line.h"
#include "fakes/fake_output.h"
#include "features/folder_locations.h"
#include "features/layout.h"
#include "features/registry_import.h"
#include "main_presenter_fixture.h"
#include "vocabulary/session_lock.h"
#include "vocabulary/write_journal.h"

namespace {

using platform::kHkeyCurrentUser;

const std::string kJournal = "C:\\Documents and Settings\\Ann\\Application Data\\Zolvane\\unfinished.reg";
const std::string kUsf =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

class CutOffRunTest : public MainPresenterTest {
 protected:
  CutOffRunTest() {
    for (const char* name : {"Personal", "Desktop"})
      SetUserShell(kHkeyCurrentUser, name, platform::kRegExpandSz, "D:\\Old");
  }
  std::string UserShell(const char* name) { return Stored(kHkeyCurrentUser, kUserShellFoldersKey, name); }

  // A run cut off after its journal and its first write: it ends here, as a killed process does.
  void CutOffAfterTheFirstWrite(JournalKind kind) {
    ShellFolderRegistry registry(fake.registry);
    std::vector<JournalEntry> entries;
    for (const char* name : {"Personal", "Desktop", "Nothing there"}) {
      entries.push_back(JournalEntry{&kShellFolderKeys[0], name,
                                     registry.ReadStoredValue(kHkeyCurrentUser, kUserShellFoldersKey, name)});
    }
    WriteJournal journal(fake.platform());
    journal.Begin(kind, entries);
    registry.WriteRegValue(kHkeyCurrentUser, kUserShellFoldersKey, "Personal", "E:\\New", platform::kRegExpandSz);
    registry.WriteRegValue(kHkeyCurrentUser, kUserShellFoldersKey, "Nothing there", "E:\\x", platform::kRegSz);
  }
};

TEST_F(CutOffRunTest, TheNextRunThatTakesTheLockPutsBackWhatTheJournalHoldsAndSaysSo) {
  const struct {
    const char* what;
    JournalKind kind;
    std::function<std::vector<std::string>()> nextRun;
    const char* said;
  } cases[] = {
      {"a restore, then the window", JournalKind::kRestore,
       [this] {
         presenter.OnLoad();
         std::vector<std::string> said;
         for (const auto& box : view.messages) said.push_back(box.prompt);
         return said;
       },
       "A restore that was cut off has been undone: 3 values put back."},
      {"a layout, then zolvane-cli list", JournalKind::kLayout,
       [this] {
         FakeOutput output;
         RunCliRequest(fake.platform(), output, ParseCommandLine({"list"}));
         return std::vector<std::string>{output.err.substr(0, output.err.size() - 2)};
       },
       "A layout that was cut off has been undone: 3 values put back."},
      {"a restore, then Apply", JournalKind::kRestore,
       [this] { return FolderLocations(fake.platform()).Relocate(*FindShellFolder("Favorites"), "F:\\Fav").notices; },
       "A restore that was cut off has been undone: 3 values put back."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    CutOffAfterTheFirstWrite(c.kind);
    ASSERT_TRUE(fake.files.files.count(kJournal));
    view.messages.clear();
    EXPECT_EQ(c.nextRun(), std::vector<std::string>{c.said});
    EXPECT_EQ(UserShell("Personal"), "D:\\Old");
    EXPECT_EQ(UserShell("Desktop"), "D:\\Old");
    EXPECT_EQ(UserShell("Nothing there"), "<none>");
    EXPECT_FALSE(fake.files.files.count(kJournal));
  }
}

TEST_F(CutOffRunTest, AJournalThatCannotBeReadOrPutBackIsKeptAndNamed) {
  fake.files.files[kJournal] = "not a journal";
  SessionLock lock(fake.platform());
  ASSERT_EQ(lock.notices().size(), 1u);
  EXPECT_EQ(lock.notices()[0],
            "The journal of a Zolvane run that was cut off, \"" + kJournal +
                "\", is not a journal Zolvane can read, so it was kept:\nLine 1: not a journal\nThe file does not "
                "begin with the header of a registry file.");
  EXPECT_EQ(fake.files.files.at(kJournal), "not a journal");

  fake.files.files.erase(kJournal);
  CutOffAfterTheFirstWrite(JournalKind::kRestore);
  fake.registry.DenyWrites(kHkeyCurrentUser, kUserShellFoldersKey);
  SessionLock again(fake.platform(), 0);
  EXPECT_EQ(again.code(), 0);
  ASSERT_EQ(again.notices().size(), 1u);
  EXPECT_EQ(
      again.notices()[0].rfind("A restore that was cut off could be undone only in part, so its journal \"" + kJournal +
                                   "\" was kept: 0 values put back, and these could not be:\n" + kUsf + "\\Personal",
                               0),
      0u);
  EXPECT_TRUE(fake.files.files.count(kJournal));
}

TEST_F(CutOffRunTest, ALockWhoseHolderEndedIsACutOffRunAndANewJournalIsNeverWrittenOverAnOld) {
  std::thread([&] {
    platform::LockHandle lock;
    bool abandoned = false;
    fake.locks.Acquire(kSessionLockName, 0, &lock, &abandoned);
  }).join();
  SessionLock lock(fake.platform());
  EXPECT_EQ(lock.notices(), std::vector<std::string>{
                                "A Zolvane that was changing or backing up the special folder paths was cut off, and "
                                "left nothing to undo. If it was moving a folder, \"zolvane-cli check\" tells whether "
                                "that folder's two values disagree."});

  // Another program's file where the journal goes, which no run of Zolvane's could put back: nothing is written.
  fake.files.files[kJournal] = "kept";
  fake.files.files["D:\\b.reg"] = "Windows Registry Editor Version 5.00\r\n[" + kUsf + "]\r\n\"Desktop\"=\"E:\\\\D\"";
  fake.log.Fail("Exists(" + kJournal + ")", CallLog::kEvery, 0);
  Outcome outcome = RegistryImport(fake.platform()).Run("D:\\b.reg");
  EXPECT_FALSE(outcome.done());
  EXPECT_NE(outcome.message.find("is still there and could not be undone, so nothing was changed."), std::string::npos);
  EXPECT_EQ(UserShell("Desktop"), "D:\\Old");
  EXPECT_EQ(fake.files.files.at(kJournal), "kept");
}

// The journal is on the disk, with every value as it was, before the first value is written; and gone after.
TEST_F(CutOffRunTest, ARestoreAndALayoutWriteTheirJournalFirstAndDeleteItLast) {
  fake.files.files["D:\\b.reg"] =
      "Windows Registry Editor Version 5.00\r\n[" + kUsf + "]\r\n\"Personal\"=\"E:\\\\P\"\r\n\"Desktop\"=-";
  const std::function<void()> runs[] = {
      [&] { EXPECT_TRUE(RegistryImport(fake.platform()).Run("D:\\b.reg").done()); },
      [&] {
        LayoutEntry entry{FindShellFolder("My Documents"), "E:\\Q", 1, "My Documents = E:\\Q"};
        EXPECT_TRUE(ApplyLayout(fake.platform(), {entry}, LayoutOptions{}).outcome.done());
      },
  };
  for (const auto& run : runs) {
    std::size_t journalled = 0;
    fake.registry.onWrite = [&] {
      if (journalled++ > 0) return;
      ASSERT_TRUE(fake.files.files.count(kJournal));
      RegistryFile journal = ParseRegistryFile(fake.files.files.at(kJournal));
      ASSERT_TRUE(journal.readable) << journal.reason;
      EXPECT_EQ(journal.values[0].name, "Personal");
      EXPECT_EQ(journal.values[0].bytes, StringValueBytes("D:\\Old"));
    };
    run();
    EXPECT_GT(journalled, 0u);
    EXPECT_FALSE(fake.files.files.count(kJournal));
    SetUserShell(kHkeyCurrentUser, "Personal", platform::kRegExpandSz, "D:\\Old");
  }
}

// No two Zolvane writers interleave: every one waits for the lock, and one that cannot have it writes nothing.
TEST_F(CutOffRunTest, EveryWriterTakesTheOneLock) {
  const ShellFolder& documents = *FindShellFolder("My Documents");
  const std::function<Outcome()> writers[] = {
      [&] { return FolderLocations(fake.platform()).Relocate(documents, "E:\\Docs"); },
      [&] { return FolderLocations(fake.platform()).RestoreDefault(documents); },
      [&] { return RegistryImport(fake.platform()).Run("D:\\any.reg"); },
      [&] {
        return ApplyLayout(fake.platform(), {LayoutEntry{&documents, "E:\\Docs", 1, ""}}, LayoutOptions{}).outcome;
      },
  };
  LockHeldElsewhere another(fake.locks, kSessionLockName);
  for (const auto& write : writers) {
    Outcome outcome = write();
    EXPECT_EQ(outcome.code, platform::kErrorWaitTimeout);
    EXPECT_NE(outcome.message.find("Another Zolvane is changing or backing up the special folder paths"),
              std::string::npos);
  }
  EXPECT_TRUE(fake.registry.changes.empty());
}

}  // namespace
