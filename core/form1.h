// Form1's behaviour: the main window's event handlers and procedures, over an abstract view of its controls.
#pragma once

#include <cstdint>
#include <string>

#include "backup/backup.h"
#include "core/catalogue.h"
#include "core/form1_view.h"
#include "core/module2.h"
#include "core/reg_value.h"
#include "platform/platform.h"

// The product's web pages.
extern const char* const kHomePageUrl;
extern const char* const kFeedbackPageUrl;
extern const char* const kDonationPageUrl;

// Text with leading and trailing spaces (U+0020 only) removed.
std::string Trimmed(const std::string& text);

class Form1 {
 public:
  Form1(platform::Platform& platform, Form1View& view);

  void Form_Load();
  void Form_Unload();
  void mnuExit_Click();
  // The close box, the system menu or "E&xit" asks to close: false while a backup runs, which then closes the
  // window itself once it has finished and told its outcome.
  bool OnCloseRequested();
  // The main window could not be made: tells the user why and gives the program's exit code.
  int OnWindowNotMade(const std::string& systemErrorText);

  void Combo1_Click();
  void Text1_Change();
  void Command1_Click();  // Apply
  void Command2_Click();  // Restore Default
  void Command3_Click();  // Backup
  void Command5_Click();  // Browse for folder

  void Command6_Click();  // Visit Homepage
  void Command7_Click();  // Feedback
  void Command4_Click();  // Donate
  void mnuHomepage_Click();
  void mnuFeedback_Click();
  void mnuDonate_Click();
  void mnuAbout_Click();

  void Retriever();
  RegValue GetCurrentSplFolderPath(platform::HKey hKey, const std::string& sVal);
  RegValue ExpandPath(const RegValue& strPath);

  RegistryBackup& backup() { return backup_; }
  bool BackupRunning() const { return backupRunning_; }

 private:
  // One of the two writes of Apply or Restore Default.
  struct FolderWrite {
    const char* keyPath;
    std::string data;
    std::uint32_t type;
  };
  // Makes both writes in order and tells the outcome. When one fails, the other, if it succeeded, is put
  // back as it was, so that the two keys never disagree without the user being told.
  void WriteBothAndReport(const SplFolderEntry& entry, const FolderWrite (&writes)[2], const char* successText);
  void FinishBackup();
  std::string ExpandText(const std::string& text);

  platform::Platform& platform_;
  Form1View& view_;
  Module2 module2_;
  RegistryBackup backup_;
  BackupOutcome backupOutcome_;
  bool backupRunning_ = false;
  bool closeAfterBackup_ = false;
  bool comInitialised_ = false;
};
