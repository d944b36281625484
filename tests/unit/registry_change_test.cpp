// The one change of the registry: whole or not at all, journalled before its first write, undone after a cut at
// any write by the next run of either program, and never over another program's value.
#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "cli/cli_commands.h"
#include "cli/command_line.h"
#include "fakes/fake_output.h"
#include "features/backup.h"
#include "features/feature_texts.h"
#include "features/folder_locations.h"
#include "features/layout.h"
#include "features/registry_import.h"
#include "main_presenter_fixture.h"
#include "vocabulary/registry_change.h"
#include "vocabulary/registry_file.h"
#include "vocabulary/vocabulary_texts.h"

namespace {

using platform::kHkeyCurrentUser;

const std::string kJournal = "C:\\Documents and Settings\\Ann\\Application Data\\Zolvane\\unfinished.reg";
const ShellFolderKey& kSf = kShellFolderKeys[1];  // HKEY_CURRENT_USER's Shell Folders

// The process ended at a write, before it took: nothing of the change runs after it.
struct CutOff {};

ValueChange SetText(const std::string& name, const std::string& text) {
  return ValueChange{&kSf, name, StoredValue::Present(platform::kRegSz, StringValueBytes(text))};
}

std::string Named(const std::string& name) {
  return kSf.FullName() + "\\" + name;
}

class RegistryChangeTest : public MainPresenterTest {
 protected:
  // V0..V9 hold "old 0".."old 9"; V10 is not there.
  RegistryChangeTest() {
    for (int i = 0; i < 10; ++i) SetShell(kHkeyCurrentUser, Name(i).c_str(), "old " + std::to_string(i));
  }
  static std::string Name(int i) { return "V" + std::to_string(i); }
  // What the value holds; "<none>" when it is not there.
  std::string Held(int i) {
    bool there = fake.registry.GetValue(kHkeyCurrentUser, kShellFoldersKey, Name(i)) != nullptr;
    return there ? fake.registry.GetString(kHkeyCurrentUser, kShellFoldersKey, Name(i)) : "<none>";
  }
  std::vector<ValueChange> ElevenValues() {
    std::vector<ValueChange> changes;
    for (int i = 0; i <= 10; ++i) changes.push_back(SetText(Name(i), "new " + std::to_string(i)));
    return changes;
  }
  // Runs the change, the process ending as its write number cutAt reaches the registry (0: never).
  ChangeResult Run(const std::vector<ValueChange>& changes, std::size_t cutAt = 0) {
    std::size_t writes = 0;
    fake.registry.onWrite = [&] {
      if (++writes == cutAt) throw CutOff();
    };
    ChangeResult result;
    try {
      result = RegistryChange(fake.platform(), ChangeKind::kRelocation).Write(changes);
    } catch (const CutOff&) {
    }
    fake.registry.onWrite = nullptr;
    return result;
  }
};

TEST_F(RegistryChangeTest, ACutAtAnyWriteIsUndoneByTheNextRunOverNothingAnotherProgramWrote) {
  for (std::size_t cutAt = 1; cutAt <= 11; ++cutAt) {
    SCOPED_TRACE("cut at write " + std::to_string(cutAt));
    Run(ElevenValues(), cutAt);
    // Meanwhile another program sets V0, which the cut change wrote first, and V10, which it never reached.
    SetShell(kHkeyCurrentUser, "V0", "theirs");
    SetShell(kHkeyCurrentUser, "V10", "theirs too");
    std::size_t putBack = cutAt >= 2 ? cutAt - 2 : 0;
    std::vector<std::string> said = UndoCutOffChangeAtStart(fake.platform());
    EXPECT_EQ(said, std::vector<std::string>{CutOffUndone(kRelocationRun, putBack) + kChangedSinceLeft + Named("V10") +
                                             "\n" + Named("V0")});
    EXPECT_EQ(Held(0), "theirs");
    for (int i = 1; i < 10; ++i) EXPECT_EQ(Held(i), "old " + std::to_string(i));
    EXPECT_EQ(Held(10), "theirs too");
    EXPECT_FALSE(fake.files.files.count(kJournal));
    fake.registry.DeleteValue(kHkeyCurrentUser, kShellFoldersKey, "V10");
    SetShell(kHkeyCurrentUser, "V0", "old 0");
  }
}

// Whichever runs next finds the journal first and says so: the window as it starts, a writer (Apply tells the
// relocation's own notices), any command.
TEST_F(RegistryChangeTest, EveryNextRunUndoesTheCutOffChangeFirstAndSaysSo) {
  const std::string said = CutOffUndone(kRelocationRun, 2);
  const struct {
    std::function<std::vector<std::string>()> nextRun;
    std::vector<std::string> told;
  } cases[] = {
      {[&] {
         presenter.OnLoad();
         return view.Prompts();
       },
       {said}},
      {[&] {
         view.Type("F:\\Fav");
         presenter.OnApply();
         return view.Prompts();
       },
       {said, kRelocated}},
      {[&] {
         FakeOutput output;
         RunCliRequest(fake.platform(), output, ParseCommandLine({"list"}));
         return std::vector<std::string>{output.err.substr(0, output.err.size() - 2)};
       },
       {said}},
  };
  for (const auto& c : cases) {
    Run(ElevenValues(), 3);
    view.messages.clear();
    EXPECT_EQ(c.nextRun(), c.told);
    EXPECT_EQ(Held(1), "old 1");
  }
}

TEST_F(RegistryChangeTest, AFailureMidwayPutsBackWhatWasWrittenButAValueAnotherProgramChanged) {
  std::vector<ValueChange> changes = ElevenValues();
  changes[2].key = &kShellFolderKeys[3];  // under HKEY_LOCAL_MACHINE, which this user may not write
  fake.registry.DenyWrites(platform::kHkeyLocalMachine, kShellFoldersKey);
  std::size_t writes = 0;
  fake.registry.onWrite = [&] {
    if (++writes == 2) SetShell(kHkeyCurrentUser, "V0", "theirs");
  };
  ChangeResult result = RegistryChange(fake.platform(), ChangeKind::kRelocation).Write(changes);
  EXPECT_EQ(result.stop, ChangeResult::Stop::kWrite);
  EXPECT_EQ(result.code, 5);
  EXPECT_EQ(result.failure, std::string(kCannotWriteAction) + " " +
                                ValueInSentence(kShellFolderKeys[3].FullName(), "V2") +
                                ": Access is denied. (error 5)");
  EXPECT_EQ(result.Aftermath(), kSomeChangedElsewhere + Named("V0"));
  EXPECT_EQ(std::vector<ValueFate>(result.fates.begin(), result.fates.begin() + 4),
            (std::vector<ValueFate>{ValueFate::kChangedElsewhere, ValueFate::kPutBack, ValueFate::kFailed,
                                    ValueFate::kNotReached}));
  EXPECT_EQ(Held(0), "theirs");
  EXPECT_EQ(Held(1), "old 1");
  EXPECT_FALSE(fake.files.files.count(kJournal));

  // A put-back that fails keeps the journal, whose next run puts the value back.
  fake.registry.onWrite = nullptr;
  fake.log.Fail("WriteValue", 3, 1016);  // V0 and V1 written, V2 refused, then V1's put-back fails
  result = RegistryChange(fake.platform(), ChangeKind::kRelocation).Write(changes);
  EXPECT_EQ(result.notPutBack, std::vector<std::string>{Named("V1")});
  EXPECT_NE(result.Aftermath().find(kSomeNotPutBack), std::string::npos);
  EXPECT_EQ(Held(1), "new 1");
  EXPECT_EQ(UndoCutOffChangeAtStart(fake.platform()), std::vector<std::string>{CutOffUndone(kRelocationRun, 1)});
  EXPECT_EQ(Held(1), "old 1");
}

// The registry answers success for a write but keeps the old data: the change fails, and what it wrote goes back.
TEST_F(RegistryChangeTest, AWriteThatDoesNotTakeFailsTheChange) {
  fake.log.Fail("WriteValue(0x80000001, " + std::string(kShellFoldersKey) + ", V2, ", 0, 0);  // answered, not done
  ChangeResult result = Run(ElevenValues());
  EXPECT_EQ(result.stop, ChangeResult::Stop::kNotTaken);
  EXPECT_EQ(result.failure, NotHeldAsWritten(ValueInSentence(kSf.FullName(), "V2")) +
                                ": The configuration registry key could not be written. (error 1013)");
  EXPECT_EQ(result.Aftermath(), kAllPutBack);
  EXPECT_EQ(Held(1), "old 1");
}

TEST_F(RegistryChangeTest, WhatAlreadyHoldsItsValueIsNotWrittenAndATextIsWrittenWithItsTerminator) {
  SetShell(kHkeyCurrentUser, "V0", "new 0");
  ValueChange unterminated{&kSf, "V1", StoredValue::Present(platform::kRegExpandSz, Utf8ToUtf16Le("C:\\A"))};
  fake.registry.changes.clear();
  ChangeResult result =
      RegistryChange(fake.platform(), ChangeKind::kBackupRestore).Write({SetText("V0", "new 0"), unterminated});
  EXPECT_EQ(result.fates, (std::vector<ValueFate>{ValueFate::kAlreadySo, ValueFate::kWritten}));
  ASSERT_EQ(fake.registry.changes.size(), 1u);
  EXPECT_EQ(fake.registry.changes[0].bytes, StringValueBytes("C:\\A"));
  // Run again, it writes nothing at all, journal included.
  fake.log.Clear();
  EXPECT_TRUE(RegistryChange(fake.platform(), ChangeKind::kBackupRestore).Write({unterminated}).done());
  for (const std::string& call : fake.log.calls()) {
    EXPECT_EQ(call.find("Write"), std::string::npos) << call;
  }
}

TEST_F(RegistryChangeTest, AJournalIsWrittenWholeReadBackExactlyAndInProportionToItsValues) {
  const std::string longText(40000, 'x');
  const std::string wide = "\xE6\x97\xA5\xE6\x9C\xAC\xD0\x94 \"quoted\" \\ back";
  std::vector<JournalEntry> entries = {
      {&kShellFolderKeys[0], "Personal", StoredValue::Present(2, StringValueBytes(wide)), StoredValue::Absent()},
      {&kShellFolderKeys[3], "", StoredValue::Absent(), StoredValue::Present(4, std::string("\x2a\0\0\0", 4))},
      {&kShellFolderKeys[1], "odd\tname", StoredValue::Present(1, std::string("A\0B", 3)),
       StoredValue::Present(1, Utf8ToUtf16Le(std::string("a\0b\r\n", 5)))},
      {&kShellFolderKeys[2], "long", StoredValue::Present(1, StringValueBytes(longText)),
       StoredValue::Present(1, StringValueBytes(longText))},
  };
  std::string bytes = JournalBytes(ChangeKind::kLayout, entries);
  ParsedJournal parsed = ParseJournal(bytes);
  ASSERT_TRUE(parsed.readable) << parsed.reason;
  EXPECT_EQ(parsed.run, kLayoutRun);
  ASSERT_EQ(parsed.entries.size(), entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    EXPECT_EQ(parsed.entries[i].key, entries[i].key);
    EXPECT_EQ(parsed.entries[i].name, entries[i].name);
    EXPECT_TRUE(parsed.entries[i].before.Holds(entries[i].before)) << i;
    EXPECT_TRUE(parsed.entries[i].after.Holds(entries[i].after)) << i;
  }
  // Two copies of a 40,000-character text take about 80,000 bytes, not six times that.
  EXPECT_LT(bytes.size(), 80500u);
  // A journal cut short, or not Zolvane's, is not read.
  for (const std::string& broken : {bytes.substr(0, bytes.size() / 2), bytes.substr(0, bytes.size() - 4),
                                    std::string("Zolvane change journal 2\r\nlayout\r\n9 \"x\" - -\r\nend 1\r\n")}) {
    EXPECT_FALSE(ParseJournal(broken).readable);
  }
}

TEST_F(RegistryChangeTest, AJournalThatCannotBeReadIsKeptAndAnOlderZolvanesIsPutBack) {
  fake.files.files[kJournal] = "not a journal";
  EXPECT_EQ(
      UndoCutOffChangeAtStart(fake.platform()),
      std::vector<std::string>{JournalNotOurs(kJournal, "Line 1: not a journal\n" + std::string(kNoJournalHeader))});
  EXPECT_EQ(fake.files.files.at(kJournal), "not a journal");
  // With the journal kept, no change begins over it.
  ChangeResult refused = Run({SetText("V1", "x")});
  EXPECT_EQ(refused.stop, ChangeResult::Stop::kJournal);
  EXPECT_EQ(Held(1), "old 1");

  fake.files.files[kJournal] = "\xEF\xBB\xBF" + std::string(kRegistryFileHeader) +
                               "\r\n; The values as they were before a layout was applied\r\n\r\n[" + kSf.FullName() +
                               "]\r\n\"V1\"=hex(1):6f,00,31,00,00,00\r\n\"V10\"=-\r\n";
  SetShell(kHkeyCurrentUser, "V1", "new 1");
  SetShell(kHkeyCurrentUser, "V10", "new 10");
  EXPECT_EQ(UndoCutOffChangeAtStart(fake.platform()), std::vector<std::string>{CutOffUndone(kLayoutRun, 2)});
  EXPECT_EQ(Held(1), "o1");
  EXPECT_EQ(Held(10), "<none>");
}

// A journal that has served but cannot be deleted is marked done, so that no later run undoes it over what came
// after: neither a cut-off change's, nor a finished change's.
TEST_F(RegistryChangeTest, AJournalThatCannotBeDeletedIsUndoneOnceOnly) {
  fake.log.Fail("Delete(" + kJournal + ")", CallLog::kEvery, platform::kErrorAccessDenied);
  ASSERT_TRUE(Run(ElevenValues()).done());
  EXPECT_TRUE(fake.files.files.count(kJournal + ".done"));
  EXPECT_TRUE(UndoCutOffChangeAtStart(fake.platform()).empty());
  EXPECT_EQ(Held(1), "new 1");

  // A cut-off change's journal, undone: the value the user then sets by hand, even to what the cut change wrote,
  // stays.
  Run({SetText("V1", "newer 1"), SetText("V2", "newer 2")}, 2);
  EXPECT_EQ(UndoCutOffChangeAtStart(fake.platform()), std::vector<std::string>{CutOffUndone(kRelocationRun, 1)});
  SetShell(kHkeyCurrentUser, "V1", "newer 1");
  EXPECT_TRUE(UndoCutOffChangeAtStart(fake.platform()).empty());
  EXPECT_EQ(Held(1), "newer 1");

  // Neither deleted nor renamed: the user is told what to do.
  fake.log.Fail("MoveToNewName(" + kJournal + ", ", CallLog::kEvery, platform::kErrorAccessDenied);
  ChangeResult result = Run({SetText("V2", "newest 2")});
  ASSERT_EQ(result.notices.size(), 1u);
  EXPECT_EQ(result.notices[0], JournalNotDeleted(kJournal, "Access is denied. (error 5)", kThisChangeUndone));
}

TEST_F(RegistryChangeTest, AChangeWhoseJournalCannotBeKeptChangesNothingAndSaysWhere) {
  const std::string folder = "C:\\Documents and Settings\\Ann\\Application Data\\Zolvane";
  const struct {
    std::function<void()> arrange;
    std::string said;
  } cases[] = {
      {[&] { fake.shell.applicationData = std::string("C:rel"); }, kNoJournalFolder},
      {[&] { fake.log.Fail("CreateFolder(" + folder + ")", 0, platform::kErrorAccessDenied); },
       JournalFolderUnwritable(folder, "Access is denied. (error 5)")},
      {[&] { fake.files.folders.insert(kJournal); },
       JournalFolderUnwritable(folder, FolderInJournalsPlace("unfinished.reg"))},
  };
  const std::optional<std::string> applicationData = fake.shell.applicationData;
  for (const auto& c : cases) {
    fake.shell.applicationData = applicationData;
    fake.files.folders.erase(kJournal);
    fake.log.ClearFailures();
    c.arrange();
    ChangeResult result = Run({SetText("V1", "new 1")});
    EXPECT_EQ(result.stop, ChangeResult::Stop::kJournal);
    EXPECT_EQ(result.failure, c.said);
    EXPECT_EQ(Held(1), "old 1");
  }
}

// No two Zolvane writers interleave: every one waits for the lock, and one that cannot have it writes nothing,
// starts no program and touches no file; what only reads never waits.
TEST_F(RegistryChangeTest, EveryWriterTakesTheOneLockAndADryRunNone) {
  const ShellFolder& documents = *FindShellFolder("My Documents");
  LayoutEntry entry{&documents, "E:\\Docs", 1, ""};
  fake.files.files["D:\\any.reg"] = std::string(kRegistryFileHeader) + "\r\n[" + kSf.FullName() + "]\r\n\"V1\"=\"x\"";
  fake.files.files["D:\\keys.bak"] = "an old backup";
  const std::function<Outcome()> writers[] = {
      [&] { return FolderLocations(fake.platform()).Relocate(documents, "E:\\Docs"); },
      [&] { return FolderLocations(fake.platform()).RestoreDefault(documents); },
      [&] { return RegistryImport(fake.platform()).Run("D:\\any.reg"); },
      [&] { return ApplyLayout(fake.platform(), {entry}, LayoutOptions{}).outcome; },
      [&] { return RegistryBackup(fake.platform()).Run("D:\\keys.bak"); },
  };
  const auto files = fake.files.files;
  fake.locks.HoldElsewhere(kSessionLockName);
  for (const auto& write : writers) {
    Outcome outcome = write();
    EXPECT_EQ(outcome.code, platform::kErrorWaitTimeout);
    EXPECT_NE(outcome.message.find(OtherRunNotFinished(60) + ": The wait operation timed out. (error 258)"),
              std::string::npos);
  }
  EXPECT_TRUE(fake.registry.changes.empty());
  EXPECT_TRUE(fake.processes.started.empty());
  EXPECT_EQ(fake.files.files, files);
  LayoutRun dryRun = ApplyLayout(fake.platform(), {entry}, LayoutOptions{true});
  EXPECT_TRUE(dryRun.outcome.done());
  EXPECT_TRUE(dryRun.wouldChange);
}

// The journal of the largest restore Zolvane accepts is one it reads back: a 16 MB backup cut halfway is undone.
TEST_F(RegistryChangeTest, TheLargestRestoreCutHalfwayIsUndone) {
  std::vector<std::string> lines = {"[" + kSf.FullName() + "]"};
  const std::string text(40000, 'q');
  std::size_t values = 0;
  for (std::size_t bytes = 100; bytes + 80100 < kMaxRegistryFileBytes; bytes += 80020, ++values) {
    lines.push_back("\"Big" + std::to_string(values) + "\"=\"" + text + "\"");
  }
  fake.files.files["D:\\big.bak"] = RegistryFileBytes(lines);
  std::size_t writes = 0;
  fake.registry.onWrite = [&] {
    if (++writes == values / 2) throw CutOff();
  };
  EXPECT_THROW(RegistryImport(fake.platform()).Run("D:\\big.bak"), CutOff);
  fake.registry.onWrite = nullptr;
  EXPECT_LT(fake.files.files.at(kJournal).size(), kMaxJournalBytes / 3);
  EXPECT_EQ(UndoCutOffChangeAtStart(fake.platform()),
            std::vector<std::string>{CutOffUndone(kBackupRestoreRun, values / 2 - 1)});
  EXPECT_EQ(fake.registry.GetValue(kHkeyCurrentUser, kShellFoldersKey, "Big0"), nullptr);
}

}  // namespace
