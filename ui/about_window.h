// The About window: modeless, with the product's name, version, copyright and two web links.
#pragma once

#include <windows.h>

#include "platform/platform.h"
#include "platform/win32/scoped_handle.h"
#include "presenters/about_presenter.h"
#include "ui/control_design.h"
#include "ui/design_units.h"
#include "ui/window_base.h"

// The Win32 view of the About window; what its controls do is the portable AboutPresenter's.
class AboutWindow : public WindowBase, public AboutView {
 public:
  AboutWindow(HINSTANCE instance, platform::Platform& platform);

  // Creates the window when there is none, otherwise brings the open one to the front.
  void Show();
  // Closes the window when it is open; also the behaviour's way to close it.
  void Close() override;
  // Enter, Esc and Tab while the message is for this window.
  bool TranslateDialogKeys(MSG& message);

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  bool Create();
  void BuildControls();
  void OnCommand(int id, int notification);
  void PaintSeparator(HDC dc);

  HINSTANCE instance_;
  AboutPresenter behaviour_;
  DesignUnits units_;
  DesignFonts fonts_;
  // A hidden window of our own owns the About window: that keeps it off the taskbar without tying it
  // to the main window. Declared last, it is destroyed first, and takes the About window with it while the
  // fonts its controls show are still there.
  platform::ScopedWindow owner_;
};
