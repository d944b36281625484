// The About window: built from its design values in twips; its clicks go to the AboutPresenter.
#include "ui/about_window.h"

#include "core/product_texts.h"
#include "resources/control_ids.h"

namespace {

constexpr DWORD kAboutStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kAboutExStyle = WS_EX_DLGMODALFRAME;
constexpr int kAboutClientWidth = 4905;
constexpr int kAboutClientHeight = 2850;
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kLinkBlue = RGB(0, 0, 255);
const wchar_t* const kAboutWindowClass = L"" ZOLVANE_ABOUT_CLASS;

struct AboutControl {
  int id;
  const wchar_t* className;
  DWORD style;
  TwipsRect place;
  const char* caption;  // UTF-8
};

// In tab order: cmdOK first, so that it has the focus when the window opens.
const AboutControl kAboutControls[] = {
    {IDC_ABOUT_OK, L"BUTTON", BS_DEFPUSHBUTTON | WS_TABSTOP, {2002, 2280, 900, 465}, "OK"},
    {IDC_ABOUT_ICON, L"STATIC", SS_ICON, {240, 360, 480, 480}, ""},
    {IDC_ABOUT_DESCRIPTION,
     L"STATIC",
     SS_LEFT,
     {1050, 600, 3645, 330},
     "Relocate special folders in Windows\xC2\xAE XP"},
    {IDC_ABOUT_TITLE, L"STATIC", SS_LEFT, {1050, 360, 2565, 225}, "Zolvane v2.0"},
    {IDC_ABOUT_COPYRIGHT, L"STATIC", SS_LEFT, {885, 1320, 3135, 255}, nullptr},
    {IDC_ABOUT_HOME_LINK,
     L"STATIC",
     SS_LEFT | SS_NOTIFY,
     {885, 1560, 3135, 255},
     "Telvik's Windows\xC2\xAE Troubleshooting site."},
    {IDC_ABOUT_DONATE_LINK,
     L"STATIC",
     SS_LEFT | SS_NOTIFY,
     {885, 1920, 3015, 255},
     "To Donate (via PayPal), click this link."},
};

// The separator below the description: an etched line, white and two pixels wide under a grey one a pixel wide.
struct SeparatorLine {
  int fromX;
  int toX;
  int y;
  int widthPixels;
  COLORREF colour;
};
const SeparatorLine kSeparator[] = {
    {105, 4800, 1080, 2, RGB(255, 255, 255)},
    {120, 4800, 1080, 1, RGB(128, 128, 128)},
};

}  // namespace

AboutWindow::AboutWindow(HINSTANCE instance, platform::Platform& platform)
    : instance_(instance), behaviour_(platform.shell, *this) {}

AboutWindow::~AboutWindow() {
  if (owner_ != nullptr) DestroyWindow(owner_);
  DeleteFontIfAny(dialogFont_);
  DeleteFontIfAny(titleFont_);
  DeleteFontIfAny(descriptionFont_);
  DeleteFontIfAny(linkFont_);
}

void AboutWindow::Show() {
  if (hwnd_ == nullptr && !Create()) return;
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  SetForegroundWindow(hwnd_);
  BringWindowToTop(hwnd_);
}

void AboutWindow::Close() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

bool AboutWindow::TranslateDialogKeys(MSG& message) {
  return hwnd_ != nullptr && IsDialogMessageW(hwnd_, &message);
}

bool AboutWindow::Create() {
  HICON icon = LoadIconW(instance_, MAKEINTRESOURCEW(IDI_ZOLVANE));
  RegisterWindowClass(instance_, kAboutWindowClass, icon, nullptr);
  if (owner_ == nullptr) {
    owner_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance_, nullptr);
  }
  RECT bounds =
      CentredWindowBounds(units_.X(kAboutClientWidth), units_.Y(kAboutClientHeight), kAboutStyle, kAboutExStyle, false);
  if (!CreateTopLevel(instance_, kAboutWindowClass, kWindowCaption, kAboutStyle, kAboutExStyle, bounds, owner_,
                      nullptr)) {
    return false;
  }
  BuildControls();
  SetFocus(GetDlgItem(hwnd_, IDC_ABOUT_OK));
  return true;
}

void AboutWindow::BuildControls() {
  if (dialogFont_ == nullptr) {
    dialogFont_ = DesignUnits::CreateDialogFont();
    titleFont_ = units_.CreateFontAt(L"Verdana", 975, DesignUnits::kBold);
    descriptionFont_ = units_.CreateFontAt(L"Verdana", 825, DesignUnits::kItalic);
    linkFont_ = units_.CreateFontAt(L"MS Sans Serif", 825, DesignUnits::kUnderline);
  }
  for (const AboutControl& design : kAboutControls) {
    RECT pixels = units_.Pixels(design.place);
    const char* caption = design.caption != nullptr ? design.caption : kCopyrightLine;
    HWND control =
        CreateWindowExW(0, design.className, platform::Widen(caption).data(), WS_CHILD | WS_VISIBLE | design.style,
                        pixels.left, pixels.top, pixels.right - pixels.left, pixels.bottom - pixels.top, hwnd_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(design.id)), instance_, nullptr);
    HFONT font = dialogFont_;
    if (design.id == IDC_ABOUT_TITLE) font = titleFont_;
    if (design.id == IDC_ABOUT_DESCRIPTION) font = descriptionFont_;
    if (design.id == IDC_ABOUT_HOME_LINK || design.id == IDC_ABOUT_DONATE_LINK) font = linkFont_;
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
  HICON icon = LoadIconW(instance_, MAKEINTRESOURCEW(IDI_ZOLVANE));
  SendMessageW(GetDlgItem(hwnd_, IDC_ABOUT_ICON), STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
}

LRESULT AboutWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case DM_GETDEFID:
      return MAKELRESULT(IDC_ABOUT_OK, DC_HASDEFID);
    case WM_CTLCOLORSTATIC:
      return OnControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_ACTIVATE:
      if (KeepFocusAcrossActivation(wParam)) return 0;
      break;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(hwnd_, &paint);
      PaintSeparator(dc);
      EndPaint(hwnd_, &paint);
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

// A link acts on its click alone: a double-click sends STN_CLICKED and then STN_DBLCLK, and must open the page
// once. (The OK button's BN_CLICKED, and IDOK and IDCANCEL from Enter and Esc, have the same code, 0.)
void AboutWindow::OnCommand(int id, int notification) {
  static_assert(BN_CLICKED == STN_CLICKED, "one test covers both");
  if (notification != STN_CLICKED) return;
  switch (id) {
    case IDC_ABOUT_OK:
    case IDCANCEL:  // Esc: cmdOK is the cancel button too
      return Guarded([this] { behaviour_.OnOk(); });
    case IDC_ABOUT_HOME_LINK:
      return Guarded([this] { behaviour_.OnOpenHomePage(); });
    case IDC_ABOUT_DONATE_LINK:
      return Guarded([this] { behaviour_.OnOpenDonationPage(); });
    default:
      return;
  }
}

LRESULT AboutWindow::OnControlColour(HDC dc, HWND control) {
  int id = GetDlgCtrlID(control);
  COLORREF text;
  if (id == IDC_ABOUT_TITLE || id == IDC_ABOUT_DESCRIPTION) {
    text = kBlack;
  } else if (id == IDC_ABOUT_HOME_LINK || id == IDC_ABOUT_DONATE_LINK) {
    text = kLinkBlue;
  } else {
    return DefWindowProcW(hwnd_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
  }
  return ColouredLabel(dc, text);
}

void AboutWindow::PaintSeparator(HDC dc) {
  for (const SeparatorLine& line : kSeparator) {
    RECT stroke;
    stroke.left = units_.X(line.fromX);
    stroke.right = units_.X(line.toX);
    stroke.top = units_.Y(line.y);
    stroke.bottom = stroke.top + line.widthPixels;
    HBRUSH brush = CreateSolidBrush(line.colour);
    FillRect(dc, &stroke, brush);
    DeleteObject(brush);
  }
}
