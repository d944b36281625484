// What Form1's behaviour needs of its window: the controls it reads and sets, message boxes, closing.
//
// The contract is the window system's: SetText1Text raises Text1_Change (when the text changes) and
// SetCombo1ListIndex raises Combo1_Click, each before the setter returns.
#pragma once

#include <functional>
#include <string>

#include "platform/platform.h"

constexpr int kMbOk = 0;
constexpr int kMbIconInformation = 0x40;
// The title of every message box that is given no title of its own.
extern const char* const kAppTitle;
// The main window's caption, also the title of the refusal at start-up.
extern const char* const kWindowCaption;

class Form1View {
 public:
  virtual ~Form1View() = default;
  virtual std::string Combo1Text() = 0;
  virtual void SetCombo1ListIndex(int index) = 0;
  virtual std::string Text1Text() = 0;
  virtual void SetText1Text(const std::string& text) = 0;
  virtual void SetLabel1Caption(const std::string& caption) = 0;
  virtual void SetCommand1Enabled(bool enabled) = 0;
  virtual void SetCommand2Enabled(bool enabled) = 0;
  // A modal message box; returns when the user has closed it.
  virtual void MsgBox(const std::string& prompt, int buttons, const std::string& title) = 0;
  // Closes the main window (its Unload runs); does nothing once it is closing.
  virtual void CloseForm() = 0;
  virtual void ShowAbout() = 0;
  // Closes the About window when it is open.
  virtual void CloseAbout() = 0;
  // The main window's handle, owner of the folder dialog.
  virtual platform::WindowHandle Hwnd() = 0;
  // While busy, the buttons and the menu take no input and the wait cursor shows; the window still paints,
  // moves and answers. Leaving busy gives each button back the state it was last set to.
  virtual void SetBusy(bool busy) = 0;
  // Runs work away from the window's thread, then done on the window's thread, while the window goes on
  // answering.
  virtual void RunInBackground(std::function<void()> work, std::function<void()> done) = 0;
};
