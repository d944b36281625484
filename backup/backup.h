// The backup of the four shell-folder keys into "specialfolders.bak" on the user's desktop.
#pragma once

#include <string>

#include "core/form1_view.h"
#include "platform/platform.h"

class RegistryBackup {
 public:
  RegistryBackup(platform::Platform& platform, Form1View& view) : platform_(platform), view_(view) {}

  // The click of "&Backup special folder paths".
  void Run();

  // The five path variables; set afresh by every run and kept afterwards.
  std::string strBackupFile;
  std::string strTempFile1;
  std::string strTempFile2;
  std::string strTempFile3;
  std::string strTempFile4;

 private:
  platform::Platform& platform_;
  Form1View& view_;
};
