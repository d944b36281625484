// Scenarios of the faults found in review: a regedit.exe beside Zolvane never runs, and the window answers during
// a slow backup, which a close waits for, and while Apply waits for another Zolvane.
#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "resources/control_ids.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/regedit_stand_in.h"
#include "tests/e2e/registry_keeper.h"
#include "tests/e2e/scenarios.h"
#include "tests/wine/wine_check.h"

namespace e2e {

namespace {

const char* const kBackedUp = "Shell folder registry keys are now backed up.";
// Long enough for the checks made while the exports run, and for a window that waited for them to miss probes of a
// second.
const wchar_t* const kSlowExportMs = L"3000";

std::size_t LineCount(const std::string& path) {
  std::string text = ReadFileBytes(Wide(path));
  return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

// The stand-in takes the place of the prefix's regedit.exe while the object lives; the real one is set aside
// and put back, also by the next run when this one was killed half-way. The settings reach the stand-in
// through Zolvane, which inherits the driver's environment.
class RegeditStandIn {
 public:
  RegeditStandIn() {
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    regedit_ = std::wstring(windows) + L"\\regedit.exe";
    aside_ = std::wstring(windows) + L"\\" + kRealRegeditAside;
    PutRealBack();
    std::wstring standIn = Wide(DriverFolder() + "regedit_stand_in.exe");
    installed_ = MoveFileW(regedit_.c_str(), aside_.c_str()) && CopyFileW(standIn.c_str(), regedit_.c_str(), FALSE);
  }
  ~RegeditStandIn() { PutRealBack(); }
  RegeditStandIn(const RegeditStandIn&) = delete;
  RegeditStandIn& operator=(const RegeditStandIn&) = delete;
  bool installed() const { return installed_; }

 private:
  // A stand-in that a failed scenario left running may hold its file a while.
  void PutRealBack() {
    if (GetFileAttributesW(aside_.c_str()) == INVALID_FILE_ATTRIBUTES) return;
    if (!WaitUntil([this] { return MoveFileExW(aside_.c_str(), regedit_.c_str(), MOVEFILE_REPLACE_EXISTING) != 0; })) {
      std::printf("could not put the real regedit.exe back from %s\n", Utf8(aside_).c_str());
    }
  }

  std::wstring regedit_;
  std::wstring aside_;
  bool installed_ = false;
};

// Whether the buttons are all disabled, or all enabled but Apply, which waits for an edit of the path.
bool ButtonsEnabled(ZolvaneApp& app, bool enabled) {
  for (int id : {IDC_RESTORE_DEFAULT, IDC_BACKUP, IDC_DONATE, IDC_BROWSE, IDC_HOME_PAGE, IDC_FEEDBACK}) {
    if (app.Enabled(id) != enabled) return false;
  }
  return enabled || !app.Enabled(IDC_APPLY);
}

}  // namespace

E2E_SCENARIO(ScenarioBackupIgnoresPlantedRegedit, "backup-ignores-planted-regedit", false) {
  BackupFileKeeper backupFile;
  ScratchFolder folder(Wide(DriverFolder() + "planted-regedit"));
  std::string copy = folder.File("Zolvane.exe");
  std::string ranLog = folder.File("planted-regedit-ran.log");
  if (!CHECK(CopyFileW(Wide(WindowsPath(exe)).c_str(), Wide(copy).c_str(), FALSE))) return;
  std::string standIn = DriverFolder() + "regedit_stand_in.exe";
  if (!CHECK(CopyFileW(Wide(standIn).c_str(), Wide(folder.File("regedit.exe")).c_str(), FALSE))) return;
  SetEnvironmentVariableW(kRegeditLogVariable, Wide(ranLog).c_str());

  {
    ZolvaneApp app(copy);
    if (!CHECK(app.WaitForMainWindow())) return;
    CHECK_EQ(ClickAndAnswer(app, IDC_BACKUP), kBackedUp);
  }
  CHECK(!Exists(Wide(ranLog)));
}

// Another Zolvane holds the session's lock: Apply waits for it away from the window's thread, so that the window
// answers every probe, its buttons greyed, and the change is made once the lock is let go.
E2E_SCENARIO(ScenarioApplyWaitsForTheLock, "apply-waits-for-the-lock", false) {
  RegistryKeeper keeper;
  KeepFolder(keeper, kFolders[kMyDocuments]);
  HANDLE lock = CreateMutexW(nullptr, TRUE, L"Local\\Zolvane backup and restore");
  if (!CHECK(lock != nullptr && GetLastError() != ERROR_ALREADY_EXISTS)) return;

  ZolvaneApp app(exe);
  if (!StartWithFolder(app, kMyDocuments) || !CHECK(app.SetPathText("D:\\Waited\\Docs"))) return;
  if (!CHECK(app.Click(IDC_APPLY))) return;
  CHECK(WaitUntil([&] { return ButtonsEnabled(app, false); }));
  int unanswered = 0;
  for (int probe = 0; probe < 10; ++probe) {
    if (!Answers(app.main())) ++unanswered;
    Sleep(200);
  }
  CHECK_EQ(unanswered, 0);
  CHECK(app.WaitForMessageBox("Zolvane", 0) == nullptr);
  ReleaseMutex(lock);
  CloseHandle(lock);
  CHECK_EQ(AnswerMessageBox(app), "Successfully done!");
  CHECK_EQ(ReadText(HKEY_CURRENT_USER, kShellFolders, kFolders[kMyDocuments].valueName),
           std::string("D:\\Waited\\Docs"));
}

E2E_SCENARIO(ScenarioBackupWindowAnswers, "backup-window-answers", false) {
  BackupFileKeeper backupFile;
  RegeditStandIn standIn;
  if (!CHECK(standIn.installed())) return;
  ScratchFolder scratch(Wide(DriverFolder() + "slow-backup"));
  std::string runLog = scratch.File("regedit-runs.log");
  SetEnvironmentVariableW(kRegeditLogVariable, Wide(runLog).c_str());
  SetEnvironmentVariableW(kRegeditDelayVariable, kSlowExportMs);

  ZolvaneApp app(exe);
  if (!CHECK(app.WaitForMainWindow())) return;
  CHECK(app.Click(IDC_BACKUP));
  if (!CHECK(WaitUntil([&] { return ButtonsEnabled(app, false); }))) return;
  CHECK(!MenuOpens(app, 1000));
  // A second click, posted so that it reaches even a disabled button.
  PressButton(app.Control(IDC_BACKUP));

  // Until the outcome is told, the window answers each probe promptly.
  int probes = 0;
  int unanswered = 0;
  HWND box = nullptr;
  DWORD start = GetTickCount();
  while (box == nullptr && GetTickCount() - start < 2 * kWaitMs) {
    if (!Answers(app.main())) ++unanswered;
    ++probes;
    box = app.WaitForMessageBox("Zolvane", 100);
  }
  CHECK_EQ(unanswered, 0);
  CHECK(probes >= 5);
  if (!CHECK(box != nullptr)) return;
  CHECK_EQ(ZolvaneApp::MessageBoxText(box), kBackedUp);
  CHECK(CloseWith(box));
  CHECK(WaitUntil([&] { return ButtonsEnabled(app, true); }));
  CHECK(MenuOpens(app));
  // The second click started no second backup: one run of regedit a key, and no second outcome.
  Sleep(1000);
  CHECK(app.WaitForMessageBox("Zolvane", 0) == nullptr);
  CHECK_EQ(LineCount(runLog), 4u);
}

E2E_SCENARIO(ScenarioBackupCloseWaits, "backup-close-waits", false) {
  BackupFileKeeper backupFile;
  DeleteFileW(Wide(backupFile.path()).c_str());
  RegeditStandIn standIn;
  if (!CHECK(standIn.installed())) return;
  SetEnvironmentVariableW(kRegeditDelayVariable, kSlowExportMs);

  ZolvaneApp app(exe);
  if (!CHECK(app.WaitForMainWindow())) return;
  CHECK(app.Click(IDC_BACKUP));
  if (!CHECK(WaitUntil([&] { return !app.Enabled(IDC_BACKUP); }))) return;
  // What the close box sends.
  PostMessageW(app.main(), WM_SYSCOMMAND, SC_CLOSE, 0);
  HWND box = app.WaitForMessageBox("Zolvane", 2 * kWaitMs);
  if (!CHECK(box != nullptr)) return;
  CHECK_EQ(ZolvaneApp::MessageBoxText(box), kBackedUp);
  CHECK(Exists(Wide(backupFile.path())));
  CHECK(CloseWith(box));
  CHECK(app.WaitForExit());
  CHECK(!BackupTempFilesLeft());
}

}  // namespace e2e
