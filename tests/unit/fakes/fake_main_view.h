// The main window's controls in memory, raising OnPathEdited and OnFolderSelected inside the setters as the window
// does.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "presenters/main_presenter.h"
#include "presenters/main_view.h"
#include "vocabulary/catalogue.h"

class FakeMainView : public MainView {
 public:
  struct MessageBox {
    std::string prompt;
    std::string title;
    MessageIcon icon;
  };

  void Attach(MainPresenter* presenter) { presenter_ = presenter; }

  int SelectedFolderIndex() override { return folderIndex; }
  void SelectFolderAt(int index) override {
    folderIndex = index;
    if (presenter_) presenter_->OnFolderSelected();
  }
  std::string PathText() override { return pathText; }
  void SetPathText(const std::string& text) override {
    if (text == pathText) return;
    pathText = text;
    if (presenter_) presenter_->OnPathEdited();
  }
  // The user typing: the text changes, then the Change event runs.
  void Type(const std::string& text) { SetPathText(text); }
  void SetLocationCaption(const std::string& caption) override { locationCaption = caption; }
  void EnableApply(bool enabled) override { applyEnabled = enabled; }
  void EnableRestoreDefault(bool enabled) override { restoreEnabled = enabled; }
  void ShowMessage(const std::string& prompt, const std::string& title, MessageIcon icon) override {
    messages.push_back(MessageBox{prompt, title, icon});
  }
  // What each message box said, in order.
  std::vector<std::string> Prompts() const {
    std::vector<std::string> prompts;
    for (const MessageBox& box : messages) prompts.push_back(box.prompt);
    return prompts;
  }
  bool AskYesNo(const std::string& prompt, const std::string& title) override {
    questions.push_back(MessageBox{prompt, title, MessageIcon::kNone});
    return answerYes;
  }
  // As the window does: a close the behaviour agrees to unloads it.
  void CloseMainWindow() override {
    if (closed || (presenter_ != nullptr && !presenter_->OnCloseRequested())) return;
    closed = true;
    if (presenter_ != nullptr) presenter_->OnUnload();
  }
  void ShowAbout() override { aboutOpen = true; }
  void CloseAbout() override { aboutOpen = false; }
  platform::WindowHandle Window() override { return kWindow; }

  void SetBusy(bool busy) override { busyChanges.push_back(busy); }
  // Runs the work at once, unless holdBackgroundWork asks to keep it for FinishBackgroundWork.
  void RunInBackground(std::function<void()> work, std::function<void()> done) override {
    if (holdBackgroundWork) {
      heldWork = std::move(work);
      heldDone = std::move(done);
      return;
    }
    work();
    done();
  }
  void FinishBackgroundWork() {
    std::function<void()> done = std::exchange(heldDone, nullptr);
    std::exchange(heldWork, nullptr)();
    done();
  }

  static constexpr platform::WindowHandle kWindow = static_cast<platform::WindowHandle>(0x20020);

  int folderIndex = -1;
  std::string pathText;
  std::string locationCaption = "Location";
  bool applyEnabled = false;
  bool restoreEnabled = true;
  bool closed = false;
  bool aboutOpen = false;
  std::vector<MessageBox> messages;
  std::vector<MessageBox> questions;
  bool answerYes = true;
  std::vector<bool> busyChanges;
  bool holdBackgroundWork = false;
  std::function<void()> heldWork;
  std::function<void()> heldDone;

 private:
  MainPresenter* presenter_ = nullptr;
};
