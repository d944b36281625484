// The main window as its presenter sees it: a passive view of the folder list, the path box, the location
// caption and the buttons, with message boxes, closing and background work.
//
// The contract is the window system's: SetPathText raises OnPathEdited (when the text changes) and
// SelectFolderAt raises OnFolderSelected, each before the setter returns.
#pragma once

#include <functional>
#include <string>

#include "platform/platform.h"

// A message box has an OK button and, only for the refusal at start-up, the information icon.
enum class MessageIcon { kNone, kInformation };

class MainView {
 public:
  virtual ~MainView() = default;
  // The list position of the folder selected in the list, or -1 while none is.
  virtual int SelectedFolderIndex() = 0;
  // Selects the folder at a list position, which raises OnFolderSelected.
  virtual void SelectFolderAt(int index) = 0;
  virtual std::string PathText() = 0;
  virtual void SetPathText(const std::string& text) = 0;
  virtual void SetLocationCaption(const std::string& caption) = 0;
  virtual void EnableApply(bool enabled) = 0;
  virtual void EnableRestoreDefault(bool enabled) = 0;
  // A modal message box; returns when the user has closed it.
  virtual void ShowMessage(const std::string& prompt, const std::string& title, MessageIcon icon) = 0;
  // A modal question with Yes and No buttons: true when the user answered Yes.
  virtual bool AskYesNo(const std::string& prompt, const std::string& title) = 0;
  // Closes the main window (OnUnload runs); does nothing once it is closing.
  virtual void CloseMainWindow() = 0;
  virtual void ShowAbout() = 0;
  // Closes the About window when it is open.
  virtual void CloseAbout() = 0;
  // The main window, owner of the folder dialog.
  virtual platform::WindowHandle Window() = 0;
  // While busy, the buttons and the menu take no input and the wait cursor shows; the window still paints,
  // moves and answers. Leaving busy gives each button back the state it was last set to.
  virtual void SetBusy(bool busy) = 0;
  // Runs work away from the window's thread, then done on the window's thread, while the window goes on
  // answering.
  virtual void RunInBackground(std::function<void()> work, std::function<void()> done) = 0;
};
