// Resource, control and window-class names shared by the program, its .rc and the end-to-end driver.
// Plain preprocessor constants: the resource compiler reads this file too, so no windows.h here.
#ifndef ZOLVANE_RESOURCES_CONTROL_IDS_H
#define ZOLVANE_RESOURCES_CONTROL_IDS_H

#define IDI_ZOLVANE 1
#define IDR_MAINMENU 100
#define IDR_ACCELERATORS 101

// The main window's controls. Ids 1 and 2 stay free: the dialog manager sends IDOK and IDCANCEL for Enter and Esc,
// and on the main window those must press nothing.
#define IDC_FOLDER_FRAME 1000
#define IDC_FOLDER_LIST 1001
#define IDC_PATH 1002
#define IDC_APPLY 1011
#define IDC_RESTORE_DEFAULT 1012
#define IDC_BACKUP 1013
#define IDC_DONATE 1014
#define IDC_BROWSE 1015
#define IDC_HOME_PAGE 1016
#define IDC_FEEDBACK 1017
#define IDC_LOCATION_CAPTION 1021
#define IDC_TITLE 1022
#define IDC_NOT_MOVED_NOTE 1023
#define IDC_COPYRIGHT 1026

// The main window's menu commands.
#define IDM_HOMEPAGE 2001
#define IDM_FEEDBACK 2002
#define IDM_DONATE 2003
#define IDM_ABOUT 2004
#define IDM_EXIT 2005
#define IDM_RESTORE_FROM_BACKUP 2006

// The About window's controls. OK is IDOK, so that Enter (IDOK) and Esc (IDCANCEL) reach it from the dialog manager.
#define IDC_ABOUT_OK 1
#define IDC_ABOUT_ICON 3001
#define IDC_ABOUT_TITLE 3002
#define IDC_ABOUT_DESCRIPTION 3003
#define IDC_ABOUT_COPYRIGHT 3004
#define IDC_ABOUT_HOME_LINK 3005
#define IDC_ABOUT_DONATE_LINK 3006

// Window classes.
#define ZOLVANE_MAIN_WINDOW_CLASS "ZolvaneMainWindow"
#define ZOLVANE_ABOUT_CLASS "ZolvaneAboutWindow"
#define ZOLVANE_ABOUT_OWNER_CLASS "ZolvaneAboutOwner"

#endif  // ZOLVANE_RESOURCES_CONTROL_IDS_H
