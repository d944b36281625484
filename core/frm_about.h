// The About window's behaviour: its two link labels and its OK button.
#pragma once

#include "platform/platform.h"

class FrmAboutView {
 public:
  virtual ~FrmAboutView() = default;
  // Closes and destroys the About window.
  virtual void Unload() = 0;
};

class frmAbout {
 public:
  frmAbout(platform::Shell& shell, FrmAboutView& view) : shell_(shell), view_(view) {}

  void Label2_Click();  // the home page
  void Label3_Click();  // the donation page
  void cmdOK_Click();

 private:
  platform::Shell& shell_;
  FrmAboutView& view_;
};
