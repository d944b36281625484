// The main window: builds its controls from the design table and routes their events to the MainPresenter.
#include "ui/main_window.h"

#include <commctrl.h>

#include <cwchar>
#include <vector>

#include "resources/control_ids.h"
#include "ui/group_frame.h"
#include "ui/profile_marks.h"
#include "vocabulary/catalogue.h"
#include "vocabulary/product_texts.h"

namespace {

// No WS_CLIPCHILDREN: the window paints the background that the frame, a child, leaves to it.
constexpr DWORD kMainWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kMainWindowExStyle = WS_EX_APPWINDOW;
// Posted once the window is first painted: the tool tips are made then (see Open).
constexpr UINT kCreateToolTipsMessage = WM_APP + 1;
// Posted by the worker thread when a background task has finished; lParam is the task.
constexpr UINT kBackgroundDoneMessage = WM_APP + 2;
// Sent once the controls are made, so that the load runs inside the window procedure and its guard.
constexpr UINT kLoadMessage = WM_APP + 3;

// What each button, menu command and shortcut does: one table, so that a button and the menu command of the
// same name can never do different things. (Enter and Esc send IDOK and IDCANCEL, which press nothing here.)
struct Command {
  int id;
  void (MainPresenter::*run)();
};
const Command kCommands[] = {
    {IDC_APPLY, &MainPresenter::OnApply},
    {IDC_RESTORE_DEFAULT, &MainPresenter::OnRestoreDefault},
    {IDC_BACKUP, &MainPresenter::OnBackup},
    {IDC_BROWSE, &MainPresenter::OnBrowse},
    {IDC_HOME_PAGE, &MainPresenter::OnOpenHomePage},
    {IDC_FEEDBACK, &MainPresenter::OnOpenFeedbackPage},
    {IDC_DONATE, &MainPresenter::OnOpenDonationPage},
    {IDM_HOMEPAGE, &MainPresenter::OnOpenHomePage},
    {IDM_FEEDBACK, &MainPresenter::OnOpenFeedbackPage},
    {IDM_DONATE, &MainPresenter::OnOpenDonationPage},
    {IDM_ABOUT, &MainPresenter::OnShowAbout},
    {IDM_RESTORE_FROM_BACKUP, &MainPresenter::OnRestoreFromBackup},
    {IDM_EXIT, &MainPresenter::OnExit},
};

// The push buttons, which take no input while the window is busy.
bool IsPushButton(const ControlDesign& design) {
  return std::wcscmp(design.className, L"BUTTON") == 0 && (design.style & BS_TYPEMASK) == BS_PUSHBUTTON;
}

const wchar_t* const kMainWindowClass = L"" ZOLVANE_MAIN_WINDOW_CLASS;

}  // namespace

MainWindow::MainWindow(HINSTANCE instance, platform::Platform& platform)
    : instance_(instance),
      platform_(platform),
      presenter_(platform, *this),
      about_(instance, platform),
      fonts_(units_),
      worker_(kBackgroundDoneMessage) {}

std::optional<int> MainWindow::Open(int showCommand) {
  HICON icon = LoadIconW(instance_, MAKEINTRESOURCEW(IDI_ZOLVANE));
  HICON smallIcon = static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(IDI_ZOLVANE), IMAGE_ICON,
                                                  GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
  if (!RegisterWindowClass(instance_, kMainWindowClass, icon, smallIcon)) return NotMade();
  PROFILE_MARK("window class registered");
  HMENU menu = LoadMenuW(instance_, MAKEINTRESOURCEW(IDR_MAINMENU));
  int clientWidth = units_.X(kMainClientWidth);
  int clientHeight = units_.Y(kMainClientHeight);
  RECT bounds = CentredWindowBounds(clientWidth, clientHeight, kMainWindowStyle, kMainWindowExStyle, true);
  if (!CreateTopLevel(instance_, kMainWindowClass, kWindowCaption, kMainWindowStyle, kMainWindowExStyle, bounds,
                      nullptr, menu)) {
    return NotMade();
  }
  PROFILE_MARK("top-level window created");
  // A menu bar that wraps takes more height than the estimate allowed for: keep the client area as designed.
  RECT client;
  GetClientRect(hwnd_, &client);
  int missing = clientHeight - (client.bottom - client.top);
  if (missing != 0) {
    SetWindowPos(hwnd_, nullptr, 0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top + missing,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  PROFILE_MARK("client area kept");
  BuildControls();

  loaded_ = true;
  SendMessageW(hwnd_, kLoadMessage, 0, 0);
  PROFILE_MARK("path shown");
  // A refused start has closed the window before it was ever shown.
  if (hwnd_ == nullptr) return std::nullopt;
  ShowWindow(hwnd_, showCommand);
  PROFILE_MARK("ShowWindow");
  UpdateWindow(hwnd_);
  PROFILE_MARK("UpdateWindow: first paint");
  SetFocus(Control(IDC_FOLDER_LIST));
  // The shortcuts are first needed by the message loop, which starts after the first paint.
  shortcuts_ = LoadAcceleratorsW(instance_, MAKEINTRESOURCEW(IDR_ACCELERATORS));
  // The tool tip control is a top-level window of its own, which under Wine cost some 9 ms of a 140 ms
  // start-up; a tip shows only after the pointer has rested on a control, so it is made once the message
  // loop runs, after the first paint.
  PostMessageW(hwnd_, kCreateToolTipsMessage, 0, 0);
  return std::nullopt;
}

// The user hears why, in the system's words, and the program ends: no window means no message loop.
int MainWindow::NotMade() {
  return presenter_.OnWindowNotMade(static_cast<std::int32_t>(GetLastError()));
}

void MainWindow::BuildControls() {
  controls_.assign(kMainWindowControlCount, nullptr);
  // The frame is made last, so that it lies beneath the controls that sit on it; the others in the table's order,
  // which is the tab order.
  for (std::size_t i = 1; i <= kMainWindowControlCount; ++i) {
    std::size_t index = i % kMainWindowControlCount;
    const ControlDesign& design = kMainWindowControls[index];
    controls_[index] =
        CreateDesignedControl(instance_, design, units_.Pixels(PlaceInMainWindow(design)), fonts_.Get(design.font));
    PROFILE_MARK_AT("control created", index);
  }
  DrawCaptionInHighlightColour(Control(IDC_FOLDER_FRAME));
  FillFolderList();
}

HWND MainWindow::Control(int id) const {
  if (hwnd_ == nullptr) return nullptr;
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    if (kMainWindowControls[i].id == id) return controls_[i];
  }
  return nullptr;
}

void MainWindow::FillFolderList() {
  HWND combo = Control(IDC_FOLDER_LIST);
  for (const ShellFolder& folder : kShellFolders) {
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(platform::Widen(folder.displayName).data()));
  }
}

void MainWindow::CreateToolTips() {
  if (toolTips_ != nullptr) return;
  toolTips_ =
      CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr, instance_, nullptr);
  if (toolTips_ == nullptr) return;
  SendMessageW(toolTips_, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.Get(DesignFont::kDialog)), FALSE);
  for (std::size_t i = 0; i < kMainWindowControlCount; ++i) {
    const ControlDesign& design = kMainWindowControls[i];
    if (design.toolTip != nullptr) AddToolTip(Control(design.id), design.toolTip);
  }
  PROFILE_MARK("tool tips made (after the first paint)");
}

void MainWindow::AddToolTip(HWND control, const char* text) {
  platform::WideText wide = platform::Widen(text);
  TTTOOLINFOW tool = {};
  // The size that every version of the common controls accepts.
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = hwnd_;
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.lpszText = wide.data();
  SendMessageW(toolTips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

bool MainWindow::TranslateShortcut(MSG& message) {
  if (hwnd_ == nullptr || shortcuts_ == nullptr || GetActiveWindow() != hwnd_) return false;
  return TranslateAcceleratorW(hwnd_, shortcuts_, &message) != 0;
}

bool MainWindow::TranslateDialogKeys(MSG& message) {
  if (about_.TranslateDialogKeys(message)) return true;
  return hwnd_ != nullptr && IsDialogMessageW(hwnd_, &message);
}

int MainWindow::SelectedFolderIndex() {
  LRESULT index = SendMessageW(Control(IDC_FOLDER_LIST), CB_GETCURSEL, 0, 0);
  return index == CB_ERR ? -1 : static_cast<int>(index);
}

void MainWindow::SelectFolderAt(int index) {
  SendMessageW(Control(IDC_FOLDER_LIST), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  // CB_SETCURSEL notifies nobody; a selection set by the program is a selection all the same.
  presenter_.OnFolderSelected();
}

std::string MainWindow::PathText() {
  return WindowTextOf(Control(IDC_PATH));
}

void MainWindow::SetPathText(const std::string& text) {
  // The path box changes only when the text does; the edit control's EN_CHANGE then runs OnPathEdited before
  // SetWindowTextW returns.
  if (PathText() == text) return;
  SetWindowTextTo(Control(IDC_PATH), text);
}

void MainWindow::SetLocationCaption(const std::string& caption) {
  SetWindowTextTo(Control(IDC_LOCATION_CAPTION), caption);
}

void MainWindow::EnableApply(bool enabled) {
  SetButtonEnabled(IDC_APPLY, enabled);
}

void MainWindow::EnableRestoreDefault(bool enabled) {
  SetButtonEnabled(IDC_RESTORE_DEFAULT, enabled);
}

void MainWindow::SetButtonEnabled(int id, bool enabled) {
  if (id == IDC_APPLY) applyEnabled_ = enabled;
  if (id == IDC_RESTORE_DEFAULT) restoreEnabled_ = enabled;
  if (busy_) return;
  HWND button = Control(id);
  // A disabled control cannot keep the keyboard: the focus moves on as the tab order goes.
  if (!enabled && GetFocus() == button) SetFocus(GetNextDlgTabItem(hwnd_, button, FALSE));
  EnableWindow(button, enabled ? TRUE : FALSE);
}

void MainWindow::SetBusy(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  // A disabled button cannot keep the keyboard: the folder list has it meanwhile. A window not shown yet (busy from
  // its start) has no focus to move, and taking one would make it active before its time.
  if (busy) {
    bool shown = IsWindowVisible(hwnd_) != FALSE;
    focusBeforeBusy_ = shown ? GetFocus() : nullptr;
    if (shown) SetFocus(Control(IDC_FOLDER_LIST));
  }
  EnableButtonsAsRequested();
  HMENU menu = GetMenu(hwnd_);
  for (int position = 0; position < GetMenuItemCount(menu); ++position) {
    EnableMenuItem(menu, static_cast<UINT>(position), MF_BYPOSITION | (busy ? MF_GRAYED : MF_ENABLED));
  }
  DrawMenuBar(hwnd_);
  if (!busy && focusBeforeBusy_ != nullptr && IsWindowEnabled(focusBeforeBusy_)) SetFocus(focusBeforeBusy_);
  // The pointer shows the new state at once, not only when it next moves.
  POINT pointer;
  if (GetCursorPos(&pointer)) {
    HWND under = WindowFromPoint(pointer);
    if (under == hwnd_ || IsChild(hwnd_, under)) SetCursor(LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
  }
}

void MainWindow::EnableButtonsAsRequested() {
  for (std::size_t i = 0; i < kMainWindowControlCount; ++i) {
    int id = kMainWindowControls[i].id;
    if (!IsPushButton(kMainWindowControls[i])) continue;
    bool enabled = !busy_ && (id == IDC_APPLY ? applyEnabled_ : id == IDC_RESTORE_DEFAULT ? restoreEnabled_ : true);
    EnableWindow(controls_[i], enabled ? TRUE : FALSE);
  }
}

void MainWindow::RunInBackground(std::function<void()> work, std::function<void()> done) {
  worker_.Run(hwnd_, std::move(work), std::move(done));
}

// The user logs off or shuts down while a backup or a restore runs: the work is waited for, so that it is not
// cut off halfway; if it goes on longer than Windows lets a program answer, the log-off is refused instead.
bool MainWindow::WaitForBackgroundWork() {
  constexpr DWORD kEndSessionWaitMs = 4000;
  return worker_.WaitUntilIdle(kEndSessionWaitMs);
}

bool MainWindow::OnSetCursor(LPARAM lParam) {
  if (!busy_ || LOWORD(lParam) != HTCLIENT) return false;
  SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  return true;
}

// A box is owned by the main window once it is shown; before that (the refusal at start-up) it stands alone.
HWND MainWindow::MessageBoxOwner() const {
  return hwnd_ != nullptr && IsWindowVisible(hwnd_) ? hwnd_ : nullptr;
}

void MainWindow::ShowMessage(const std::string& prompt, const std::string& title, MessageIcon icon) {
  PROFILE_MARK("message box called");
  UINT style = MB_OK | (icon == MessageIcon::kInformation ? MB_ICONINFORMATION : 0);
  MessageBoxW(MessageBoxOwner(), platform::Widen(prompt).data(), platform::Widen(title).data(), style);
}

bool MainWindow::AskYesNo(const std::string& prompt, const std::string& title) {
  return MessageBoxW(MessageBoxOwner(), platform::Widen(prompt).data(), platform::Widen(title).data(),
                     MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void MainWindow::CloseMainWindow() {
  if (hwnd_ != nullptr && !closing_) SendMessageW(hwnd_, WM_CLOSE, 0, 0);
}

// A tool tip is a topmost window: one that shows now would stay above the About window.
void MainWindow::ShowAbout() {
  if (toolTips_ != nullptr) SendMessageW(toolTips_, TTM_POP, 0, 0);
  about_.Show();
}

void MainWindow::CloseAbout() {
  about_.Close();
}

platform::WindowHandle MainWindow::Window() {
  return static_cast<platform::WindowHandle>(reinterpret_cast<std::uintptr_t>(hwnd_));
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam), lParam != 0);
      return 0;
    case kLoadMessage:
      presenter_.OnLoad();
      return 0;
    case WM_CTLCOLORSTATIC:
      return ColourOfLabel(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), kMainWindowControls,
                           kMainWindowControlCount);
    case WM_CTLCOLOREDIT:
      SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
      SetTextColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOWTEXT));
      return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    case WM_ACTIVATE:
      if (KeepFocusAcrossActivation(wParam)) return 0;
      break;
    case kCreateToolTipsMessage:
      CreateToolTips();
      return 0;
    case kBackgroundDoneMessage:
      worker_.OnDone(lParam);
      return 0;
    case WM_SETCURSOR:
      if (OnSetCursor(lParam)) return TRUE;
      break;
    case WM_CLOSE:
      OnClose();
      return 0;
    case WM_QUERYENDSESSION:
      return WaitForBackgroundWork() ? TRUE : FALSE;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

// A control's notification, or a menu command or shortcut (no control). While the window is busy the buttons
// and the menu are disabled, and a click or a shortcut that was already queued waits too.
void MainWindow::OnCommand(int id, int notification, bool fromControl) {
  if (id == IDC_FOLDER_LIST && notification == CBN_SELCHANGE) return presenter_.OnFolderSelected();
  if (id == IDC_PATH && notification == EN_CHANGE) {
    if (loaded_) presenter_.OnPathEdited();
    return;
  }
  if ((fromControl && notification != BN_CLICKED) || busy_) return;
  for (const Command& command : kCommands) {
    if (command.id != id) continue;
    PROFILE_MARK_AT("command received", id);
    return (presenter_.*command.run)();
  }
}

// The one way the window closes, whatever asked for it: a running backup finishes first, and closes the window
// itself once it has told its outcome.
void MainWindow::OnClose() {
  if (closing_ || !presenter_.OnCloseRequested()) return;
  closing_ = true;
  presenter_.OnUnload();
  DestroyWindow(hwnd_);
}
