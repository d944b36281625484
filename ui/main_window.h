// The main window, the Win32 MainView: its controls built from the design table, its events routed to the
// MainPresenter.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "presenters/main_presenter.h"
#include "presenters/main_view.h"
#include "ui/about_window.h"
#include "ui/background_worker.h"
#include "ui/design_units.h"
#include "ui/main_window_layout.h"
#include "ui/window_base.h"

class MainWindow : public WindowBase, public MainView {
 public:
  MainWindow(HINSTANCE instance, platform::Platform& platform);

  // Builds the window, runs OnLoad and shows the window unless the load closed it (a refused start, after which
  // the message loop ends at once). When the window cannot be made, the user hears why, and the result is the
  // program's exit code.
  std::optional<int> Open(int showCommand);

  // Menu shortcuts, while the main window is the active one.
  bool TranslateShortcut(MSG& message);
  // Tab, the access keys, Enter and Esc for whichever of the program's windows the message is for.
  bool TranslateDialogKeys(MSG& message);

  // MainView
  int SelectedFolderIndex() override;
  void SelectFolderAt(int index) override;
  std::string PathText() override;
  void SetPathText(const std::string& text) override;
  void SetLocationCaption(const std::string& caption) override;
  void EnableApply(bool enabled) override;
  void EnableRestoreDefault(bool enabled) override;
  void ShowMessage(const std::string& prompt, const std::string& title, MessageIcon icon) override;
  bool AskYesNo(const std::string& prompt, const std::string& title) override;
  void CloseMainWindow() override;
  void ShowAbout() override;
  void CloseAbout() override;
  platform::WindowHandle Window() override;
  void SetBusy(bool busy) override;
  void RunInBackground(std::function<void()> work, std::function<void()> done) override;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  HWND MessageBoxOwner() const;
  void BuildControls();
  void FillFolderList();
  void CreateToolTips();
  void AddToolTip(HWND control, const char* text);
  int NotMade();
  void OnCommand(int id, int notification, bool fromControl);
  void OnClose();
  void SetButtonEnabled(int id, bool enabled);
  void EnableButtonsAsRequested();
  bool WaitForBackgroundWork();
  bool OnSetCursor(LPARAM lParam);
  // The control's handle, kept from its creation: GetDlgItem would ask the window system each time.
  HWND Control(int id) const;

  HINSTANCE instance_;
  platform::Platform& platform_;
  MainPresenter presenter_;
  AboutWindow about_;
  DesignUnits units_;
  DesignFonts fonts_;
  HACCEL shortcuts_ = nullptr;
  HWND toolTips_ = nullptr;
  // In the order of the design table.
  std::vector<HWND> controls_;
  // The path box's changes reach the behaviour only once the window is built and loading.
  bool loaded_ = false;
  bool closing_ = false;
  // While busy the buttons stay disabled; the states Apply and Restore Default were last set to wait here.
  bool busy_ = false;
  bool applyEnabled_ = false;
  bool restoreEnabled_ = true;
  HWND focusBeforeBusy_ = nullptr;
  // Declared last, so that it goes first: the work it runs uses the behaviour.
  BackgroundWorker worker_;
};
