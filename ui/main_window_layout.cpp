// The main window's design table, in tab order.
#include "ui/main_window_layout.h"

#include "core/product_texts.h"
#include "resources/control_ids.h"

const ControlDesign kMainWindowControls[] = {
    {IDC_FOLDER_FRAME,
     ControlKind::Frame,
     false,
     {120, 600, 5535, 2535},
     "Special Folders",
     nullptr,
     ControlLook::FrameCaption},
    {IDC_FOLDER_LIST, ControlKind::DropDownList, true, {120, 240, 5295, 315}, "", nullptr, ControlLook::Plain},
    {IDC_PATH,
     ControlKind::TextBox,
     true,
     {120, 960, 4935, 375},
     "",
     "Type the new path here. This text box accepts expandable string as well.",
     ControlLook::PathBox},
    {IDC_BROWSE, ControlKind::Button, true, {5160, 960, 255, 375}, "...", "Browse for folder...", ControlLook::Plain},
    {IDC_APPLY,
     ControlKind::Button,
     true,
     {540, 1560, 975, 255},
     "&Apply",
     "Click to set the new path for the specified folder.",
     ControlLook::Plain},
    {IDC_BACKUP,
     ControlKind::Button,
     true,
     {1620, 1560, 2175, 255},
     "&Backup special folder paths",
     "Backup the special folder paths to a file ( in .REG format)",
     ControlLook::Plain},
    {IDC_RESTORE_DEFAULT,
     ControlKind::Button,
     true,
     {3900, 1560, 1335, 255},
     "&Restore Default",
     "Restores the default path for the selected item",
     ControlLook::Plain},
    {IDC_HOME_PAGE, ControlKind::Button, false, {720, 3240, 1455, 255}, "Visit Homepage", nullptr, ControlLook::Plain},
    {IDC_FEEDBACK, ControlKind::Button, false, {2400, 3240, 1215, 255}, "Feedback", nullptr, ControlLook::Plain},
    {IDC_TITLE,
     ControlKind::Label,
     false,
     {120, 120, 5895, 375},
     "Relocate special folders in Windows XP",
     nullptr,
     ControlLook::Title},
    {IDC_COPYRIGHT, ControlKind::Label, false, {120, 3600, 5535, 255}, kCopyrightLine, nullptr, ControlLook::Footer},
    {IDC_NOT_MOVED_NOTE,
     ControlKind::Label,
     true,
     {120, 1920, 5055, 495},
     "This utility does not move the files to the new location. Please move the files manually.",
     nullptr,
     ControlLook::WrappedNote},
    {IDC_LOCATION_CAPTION, ControlKind::Label, true, {120, 720, 3975, 255}, "Location", nullptr, ControlLook::Plain},
    {IDC_DONATE, ControlKind::Button, false, {3840, 3240, 1215, 255}, "&Donate", nullptr, ControlLook::Plain},
};

const std::size_t kMainWindowControlCount = sizeof kMainWindowControls / sizeof kMainWindowControls[0];

const ControlDesign& FolderFrameDesign() {
  return kMainWindowControls[0];
}

ControlClass ClassFor(const ControlDesign& design) {
  switch (design.kind) {
    case ControlKind::Frame:
      return {L"BUTTON", BS_GROUPBOX, 0};
    case ControlKind::DropDownList:
      return {L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0};
    case ControlKind::TextBox:
      return {L"EDIT", ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
    case ControlKind::Button:
      return {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0};
    case ControlKind::Label:
    default:
      bool centred = design.look == ControlLook::Title || design.look == ControlLook::Footer;
      return {L"STATIC", static_cast<DWORD>(centred ? SS_CENTER : SS_LEFT), 0};
  }
}

TwipsRect PlaceInMainWindow(const ControlDesign& design) {
  // Room below the closed drop-down list for its open list of fifteen entries.
  constexpr int kDroppedListTwips = 3300;
  TwipsRect place = design.place;
  if (design.inFolderFrame) {
    place.left += FolderFrameDesign().place.left;
    place.top += FolderFrameDesign().place.top;
  }
  if (design.kind == ControlKind::DropDownList) place.height += kDroppedListTwips;
  return place;
}
