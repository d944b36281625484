// The main window's design table, in tab order.
#include "ui/main_window_layout.h"

#include <cwchar>

#include "resources/control_ids.h"
#include "vocabulary/product_texts.h"

namespace {

// Every control of the main window clips its siblings: the frame lies beneath the controls that sit on it.
constexpr DWORD kClip = WS_CLIPSIBLINGS;
constexpr DWORD kButton = BS_PUSHBUTTON | WS_TABSTOP | kClip;
constexpr DWORD kLabel = SS_LEFT | kClip;
constexpr DWORD kCentredLabel = SS_CENTER | kClip;
constexpr COLORREF kGrey = RGB(128, 128, 128);

}  // namespace

const ControlDesign kMainWindowControls[] = {
    // Its caption is drawn by the window, in the system highlight colour.
    {IDC_FOLDER_FRAME,
     L"BUTTON",
     BS_GROUPBOX | kClip,
     0,
     {120, 600, 5535, 2535},
     false,
     "Special Folders",
     nullptr,
     DesignFont::kDialog,
     kSystemColours},
    {IDC_FOLDER_LIST,
     L"COMBOBOX",
     CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | kClip,
     0,
     {120, 240, 5295, 315},
     true,
     "",
     nullptr,
     DesignFont::kDialog,
     kSystemColours},
    {IDC_PATH,
     L"EDIT",
     ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP | kClip,
     WS_EX_CLIENTEDGE,
     {120, 960, 4935, 375},
     true,
     "",
     "Type the new path here. This text box accepts expandable string as well.",
     DesignFont::kDialog,
     kSystemColours},
    {IDC_BROWSE,
     L"BUTTON",
     kButton,
     0,
     {5160, 960, 255, 375},
     true,
     "...",
     "Browse for folder...",
     DesignFont::kDialog,
     kSystemColours},
    // Apply waits for an edit of the path.
    {IDC_APPLY,
     L"BUTTON",
     kButton | WS_DISABLED,
     0,
     {540, 1560, 975, 255},
     true,
     "&Apply",
     "Click to set the new path for the specified folder.",
     DesignFont::kDialog,
     kSystemColours},
    {IDC_BACKUP,
     L"BUTTON",
     kButton,
     0,
     {1620, 1560, 2175, 255},
     true,
     "&Backup special folder paths",
     "Backup the special folder paths to a file ( in .REG format)",
     DesignFont::kDialog,
     kSystemColours},
    {IDC_RESTORE_DEFAULT,
     L"BUTTON",
     kButton,
     0,
     {3900, 1560, 1335, 255},
     true,
     "&Restore Default",
     "Restores the default path for the selected item",
     DesignFont::kDialog,
     kSystemColours},
    {IDC_HOME_PAGE,
     L"BUTTON",
     kButton,
     0,
     {720, 3240, 1455, 255},
     false,
     "Visit Homepage",
     nullptr,
     DesignFont::kDialog,
     kSystemColours},
    {IDC_FEEDBACK,
     L"BUTTON",
     kButton,
     0,
     {2400, 3240, 1215, 255},
     false,
     "Feedback",
     nullptr,
     DesignFont::kDialog,
     kSystemColours},
    {IDC_TITLE,
     L"STATIC",
     kCentredLabel,
     0,
     {120, 120, 5895, 375},
     false,
     "Relocate special folders in Windows XP",
     nullptr,
     DesignFont::kTitle,
     kGrey},
    {IDC_COPYRIGHT,
     L"STATIC",
     kCentredLabel,
     0,
     {120, 3600, 5535, 255},
     false,
     kCopyrightLine,
     nullptr,
     DesignFont::kFooter,
     kGrey},
    // The note's text wraps within the label's width.
    {IDC_NOT_MOVED_NOTE,
     L"STATIC",
     kLabel,
     0,
     {120, 1920, 5055, 495},
     true,
     "This utility does not move the files to the new location. Please move the files manually.",
     nullptr,
     DesignFont::kDialog,
     kSystemColours},
    {IDC_LOCATION_CAPTION,
     L"STATIC",
     kLabel,
     0,
     {120, 720, 3975, 255},
     true,
     "Location",
     nullptr,
     DesignFont::kDialog,
     kSystemColours},
    {IDC_DONATE,
     L"BUTTON",
     kButton,
     0,
     {3840, 3240, 1215, 255},
     false,
     "&Donate",
     nullptr,
     DesignFont::kDialog,
     kSystemColours},
};

const std::size_t kMainWindowControlCount = sizeof kMainWindowControls / sizeof kMainWindowControls[0];

TwipsRect PlaceInMainWindow(const ControlDesign& design) {
  // Room below the closed drop-down list for its open list of fifteen entries.
  constexpr int kDroppedListTwips = 3300;
  TwipsRect place = design.place;
  if (design.inFolderFrame) {
    place.left += kMainWindowControls[0].place.left;
    place.top += kMainWindowControls[0].place.top;
  }
  if (std::wcscmp(design.className, L"COMBOBOX") == 0) place.height += kDroppedListTwips;
  return place;
}
