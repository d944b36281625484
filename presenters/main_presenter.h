// The main window's behaviour: what happens when the user selects a folder, edits the path, applies, restores,
// backs up, browses or follows a link, decided here over the passive MainView and the platform's interfaces.
#pragma once

#include <functional>
#include <string>

#include "features/backup.h"
#include "features/folder_locations.h"
#include "features/registry_import.h"
#include "platform/platform.h"
#include "presenters/main_view.h"
#include "vocabulary/catalogue.h"
#include "vocabulary/outcome.h"

class MainPresenter {
 public:
  MainPresenter(platform::Platform& platform, MainView& view);

  // Start-up: refuses every system but Windows XP, else selects the first folder and undoes a change of
  // Zolvane's that was cut off, away from the window's thread.
  void OnLoad();
  // "E&xit" from the menu: the window closes as by its close box.
  void OnExit();
  // The close box, the system menu or "E&xit" asks to close: false while work runs away from the window (a
  // change, a backup, a restore), which then closes the window itself once it has finished and told its outcome.
  bool OnCloseRequested();
  // The window closes, by whatever way: the About window goes with it.
  void OnUnload();
  // The main window could not be made, for the system's reason code: tells the user why and gives the program's
  // exit code.
  int OnWindowNotMade(std::int32_t code);

  void OnFolderSelected();
  void OnPathEdited();
  // Apply and Restore Default wait for the lock and write away from the window's thread, which keeps answering.
  void OnApply();
  void OnRestoreDefault();
  void OnBackup();
  // "Restore from backup...": a backup file chosen in the open-file dialog is judged, then imported once the user
  // confirms.
  void OnRestoreFromBackup();
  // "...": the system's folder dialog fills the path box.
  void OnBrowse();

  // The buttons and the menu commands of the same name.
  void OnOpenHomePage();
  void OnOpenFeedbackPage();
  void OnOpenDonationPage();
  void OnShowAbout();

 private:
  // Shows the selected folder's name in the caption and where it lives now in the path box.
  void ShowCurrentLocation();
  const ShellFolder* SelectedFolder();
  // Runs work away from the window's thread while the window waits, then tells its outcome; a close asked for
  // meanwhile happens after that.
  void RunAwayFromTheWindow(std::function<void()> work, std::function<void()> tell);
  // A message box of the application's: OK, no icon, titled "Zolvane".
  void Say(const std::string& text);
  // The notices, then the message, each in a box of its own.
  void Tell(const Outcome& outcome);
  std::string ChooseBackupFile();
  // After the judged file: its refusal, or the question and then the restore.
  void AskToRestore();
  void TellImportOutcome();

  platform::Platform& platform_;
  MainView& view_;
  FolderLocations locations_;
  RegistryBackup backup_;
  RegistryImport import_;
  Outcome workOutcome_;
  JudgedBackup judged_;
  bool workRunning_ = false;
  // The view was told it is busy, and not yet that it is no longer.
  bool busy_ = false;
  bool closeAfterWork_ = false;
};
