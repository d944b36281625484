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

 private:
  // The message for the two result codes of a pair of writes, the success text when both are 0.
  void ReportWrites(std::int32_t firstCode, std::int32_t secondCode, const char* successText);
  std::string ExpandText(const std::string& text);

  platform::Platform& platform_;
  Form1View& view_;
  Module2 module2_;
  RegistryBackup backup_;
};
