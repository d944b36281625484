// Form1's controls in memory, raising Text1_Change and Combo1_Click inside the setters as the window does.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/catalogue.h"
#include "core/form1.h"
#include "core/form1_view.h"

class FakeForm1View : public Form1View {
 public:
  struct MessageBox {
    std::string prompt;
    int buttons;
    std::string title;
  };

  void Attach(Form1* form) { form_ = form; }

  std::string Combo1Text() override {
    const SplFolderEntry* entry = SplFolderAtListPosition(combo1Index);
    return entry ? entry->displayName : std::string();
  }
  void SetCombo1ListIndex(int index) override {
    combo1Index = index;
    if (form_) form_->Combo1_Click();
  }
  std::string Text1Text() override { return text1; }
  void SetText1Text(const std::string& text) override {
    if (text == text1) return;
    text1 = text;
    if (form_) form_->Text1_Change();
  }
  // The user typing: the text changes, then the Change event runs.
  void Type(const std::string& text) { SetText1Text(text); }
  void SetLabel1Caption(const std::string& caption) override { label1 = caption; }
  void SetCommand1Enabled(bool enabled) override { command1Enabled = enabled; }
  void SetCommand2Enabled(bool enabled) override { command2Enabled = enabled; }
  void MsgBox(const std::string& prompt, int buttons, const std::string& title) override {
    messages.push_back(MessageBox{prompt, buttons, title});
  }
  void CloseForm() override {
    if (closed) return;
    closed = true;
    aboutOpen = false;
  }
  void ShowAbout() override {
    if (!aboutOpen) ++aboutWindowsCreated;
    aboutOpen = true;
  }
  void CloseAbout() override { aboutOpen = false; }
  platform::WindowHandle Hwnd() override { return kHwnd; }

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
    std::function<void()> work = std::move(heldWork);
    std::function<void()> done = std::move(heldDone);
    heldWork = nullptr;
    heldDone = nullptr;
    work();
    done();
  }

  static constexpr platform::WindowHandle kHwnd = static_cast<platform::WindowHandle>(0x20020);

  int combo1Index = -1;
  std::string text1;
  std::string label1 = "Location";
  bool command1Enabled = false;
  bool command2Enabled = true;
  bool closed = false;
  bool aboutOpen = false;
  int aboutWindowsCreated = 0;
  std::vector<MessageBox> messages;
  std::vector<bool> busyChanges;
  bool holdBackgroundWork = false;
  std::function<void()> heldWork;
  std::function<void()> heldDone;

 private:
  Form1* form_ = nullptr;
};
