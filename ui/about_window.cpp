// The About window: built from its design values in twips; its clicks go to the AboutPresenter.
#include "ui/about_window.h"

#include "resources/control_ids.h"
#include "vocabulary/product_texts.h"

namespace {

constexpr DWORD kAboutStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kAboutExStyle = WS_EX_DLGMODALFRAME;
constexpr int kAboutClientWidth = 4905;
constexpr int kAboutClientHeight = 2850;
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kLinkBlue = RGB(0, 0, 255);
const wchar_t* const kAboutWindowClass = L"" ZOLVANE_ABOUT_CLASS;
constexpr DWORD kLink = SS_LEFT | SS_NOTIFY;

// In tab order: cmdOK first, so that it has the focus when the window opens.
const ControlDesign kAboutControls[] = {
    {IDC_ABOUT_OK,
     L"BUTTON",
     BS_DEFPUSHBUTTON | WS_TABSTOP,
     0,
     {2002, 2280, 900, 465},
     false,
     "OK",
     nullptr,
     DesignFont::kDialog,
     kSystemColours},
    {IDC_ABOUT_ICON,
     L"STATIC",
     SS_ICON,
     0,
     {240, 360, 480, 480},
     false,
     "",
     nullptr,
     DesignFont::kDialog,
     kSystemColours},
    {IDC_ABOUT_DESCRIPTION,
     L"STATIC",
     SS_LEFT,
     0,
     {1050, 600, 3645, 330},
     false,
     "Relocate special folders in Windows\xC2\xAE XP",
     nullptr,
     DesignFont::kDescription,
     kBlack},
    {IDC_ABOUT_TITLE,
     L"STATIC",
     SS_LEFT,
     0,
     {1050, 360, 2565, 225},
     false,
     kAboutTitle,
     nullptr,
     DesignFont::kTitle,
     kBlack},
    {IDC_ABOUT_COPYRIGHT,
     L"STATIC",
     SS_LEFT,
     0,
     {885, 1320, 3135, 255},
     false,
     kCopyrightLine,
     nullptr,
     DesignFont::kDialog,
     kSystemColours},
    {IDC_ABOUT_HOME_LINK,
     L"STATIC",
     kLink,
     0,
     {885, 1560, 3135, 255},
     false,
     "Telvik's Windows\xC2\xAE Troubleshooting site.",
     nullptr,
     DesignFont::kLink,
     kLinkBlue},
    {IDC_ABOUT_DONATE_LINK,
     L"STATIC",
     kLink,
     0,
     {885, 1920, 3015, 255},
     false,
     "To Donate (via PayPal), click this link.",
     nullptr,
     DesignFont::kLink,
     kLinkBlue},
};
constexpr std::size_t kAboutControlCount = sizeof kAboutControls / sizeof kAboutControls[0];

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
    : instance_(instance), behaviour_(platform.shell, *this), fonts_(units_) {}

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
  if (!owner_.valid()) {
    owner_ = platform::ScopedWindow(
        CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance_, nullptr));
  }
  RECT bounds =
      CentredWindowBounds(units_.X(kAboutClientWidth), units_.Y(kAboutClientHeight), kAboutStyle, kAboutExStyle, false);
  if (!CreateTopLevel(instance_, kAboutWindowClass, kWindowCaption, kAboutStyle, kAboutExStyle, bounds, owner_.get(),
                      nullptr)) {
    return false;
  }
  BuildControls();
  SetFocus(GetDlgItem(hwnd_, IDC_ABOUT_OK));
  return true;
}

void AboutWindow::BuildControls() {
  for (const ControlDesign& design : kAboutControls) {
    CreateDesignedControl(instance_, design, units_.Pixels(design.place), fonts_.Get(design.font));
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
      return ColourOfLabel(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), kAboutControls,
                           kAboutControlCount);
    case WM_ACTIVATE:
      if (KeepFocusAcrossActivation(wParam)) return 0;
      break;
    case WM_PAINT: {
      platform::ScopedPaint paint(hwnd_);
      PaintSeparator(paint.dc());
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
      return behaviour_.OnOk();
    case IDC_ABOUT_HOME_LINK:
      return behaviour_.OnOpenHomePage();
    case IDC_ABOUT_DONATE_LINK:
      return behaviour_.OnOpenDonationPage();
    default:
      return;
  }
}

void AboutWindow::PaintSeparator(HDC dc) {
  for (const SeparatorLine& line : kSeparator) {
    RECT stroke;
    stroke.left = units_.X(line.fromX);
    stroke.right = units_.X(line.toX);
    stroke.top = units_.Y(line.y);
    stroke.bottom = stroke.top + line.widthPixels;
    platform::ScopedBrush brush(CreateSolidBrush(line.colour));
    FillRect(dc, &stroke, brush.get());
  }
}
