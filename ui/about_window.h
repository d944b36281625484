// The About window (frmAbout): modeless, with the product's name, version, copyright and two web links.
#pragma once

#include <windows.h>

#include "core/frm_about.h"
#include "platform/platform.h"
#include "ui/design_units.h"
#include "ui/window_base.h"

// The window of frmAbout; what its controls do is the portable frmAbout behaviour's.
class AboutWindow : public WindowBase, public FrmAboutView {
 public:
  AboutWindow(HINSTANCE instance, platform::Platform& platform);
  ~AboutWindow() override;

  // Creates the window when there is none, otherwise brings the open one to the front.
  void Show();
  // Closes the window when it is open.
  void Close();
  // Enter, Esc and Tab while the message is for this window.
  bool TranslateDialogKeys(MSG& message);

  // The behaviour's way to close the window.
  void Unload() override;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  bool Create();
  void BuildControls();
  void OnCommand(int id, int notification);
  LRESULT OnControlColour(HDC dc, HWND control);
  void PaintSeparator(HDC dc);

  HINSTANCE instance_;
  frmAbout behaviour_;
  DesignUnits units_;
  // A hidden window of our own owns the About window: that keeps it off the taskbar without tying it
  // to the main window.
  HWND owner_ = nullptr;
  HFONT dialogFont_ = nullptr;
  HFONT titleFont_ = nullptr;
  HFONT descriptionFont_ = nullptr;
  HFONT linkFont_ = nullptr;
};
