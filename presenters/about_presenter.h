// The About window's behaviour: its two links and its OK button, over the passive AboutView.
#pragma once

#include "platform/platform.h"

class AboutView {
 public:
  virtual ~AboutView() = default;
  // Closes and destroys the About window.
  virtual void Close() = 0;
};

class AboutPresenter {
 public:
  AboutPresenter(platform::Shell& shell, AboutView& view) : shell_(shell), view_(view) {}

  // The two links: the home page, and the donation page.
  void OnOpenHomePage();
  void OnOpenDonationPage();
  // OK, Enter or Esc: the window closes.
  void OnOk();

 private:
  platform::Shell& shell_;
  AboutView& view_;
};
