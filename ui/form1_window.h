// The main window: Form1's controls built from its design table, its events routed to the Form1 behaviour.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>

#include "core/form1.h"
#include "core/form1_view.h"
#include "platform/platform.h"
#include "ui/about_window.h"
#include "ui/design_units.h"
#include "ui/form1_layout.h"
#include "ui/window_base.h"

class Form1Window : public WindowBase, public Form1View {
 public:
  Form1Window(HINSTANCE instance, platform::Platform& platform);
  ~Form1Window() override;

  enum class OpenResult { kShown, kRefused, kNotMade };
  // Builds the window, runs Form_Load and shows the window unless the load closed it.
  OpenResult Open(int showCommand);
  // After kNotMade: tells the user why, with the system's words; the program's exit code.
  int ReportNotMade();

  // Menu shortcuts, while the main window is the active one.
  bool TranslateShortcut(MSG& message);
  // Tab, the access keys, Enter and Esc for whichever of the program's windows the message is for.
  bool TranslateDialogKeys(MSG& message);

  // Form1View
  std::string Combo1Text() override;
  void SetCombo1ListIndex(int index) override;
  std::string Text1Text() override;
  void SetText1Text(const std::string& text) override;
  void SetLabel1Caption(const std::string& caption) override;
  void SetCommand1Enabled(bool enabled) override;
  void SetCommand2Enabled(bool enabled) override;
  void MsgBox(const std::string& prompt, int buttons, const std::string& title) override;
  void CloseForm() override;
  void ShowAbout() override;
  void CloseAbout() override;
  platform::WindowHandle Hwnd() override;
  void SetBusy(bool busy) override;
  void RunInBackground(std::function<void()> work, std::function<void()> done) override;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void BuildControls();
  HWND CreateControl(const ControlDesign& design);
  void FillCombo1();
  void CreateToolTips();
  void AddToolTip(HWND control, const char* text);
  void ApplyFonts();
  void OnCommand(int id, int notification);
  void OnMenuCommand(int id);
  LRESULT OnControlColour(HDC dc, HWND control);
  void OnClose();
  void SetButtonEnabled(int id, bool enabled);
  void EnableButtonsAsRequested();
  void OnBackgroundDone(LPARAM task);
  bool OnSetCursor(LPARAM lParam);
  HWND Control(int id) const { return GetDlgItem(hwnd_, id); }

  HINSTANCE instance_;
  platform::Platform& platform_;
  Form1 form1_;
  AboutWindow about_;
  DesignUnits units_;
  HACCEL shortcuts_ = nullptr;
  HWND toolTips_ = nullptr;
  HFONT dialogFont_ = nullptr;
  HFONT titleFont_ = nullptr;
  HFONT footerFont_ = nullptr;
  // Text1's changes reach the behaviour only once the window is built and loading.
  bool loaded_ = false;
  bool closing_ = false;
  DWORD creationError_ = 0;
  // While busy the buttons stay disabled; the states Apply and Restore Default were last set to wait here.
  bool busy_ = false;
  bool applyEnabled_ = false;
  bool restoreEnabled_ = true;
  HWND focusBeforeBusy_ = nullptr;
  HANDLE worker_ = nullptr;
};
