// Resource, control and window-class names shared by the program, its .rc and the end-to-end driver.
// Plain preprocessor constants: the resource compiler reads this file too, so no windows.h here.
#ifndef ZOLVANE_RESOURCES_CONTROL_IDS_H
#define ZOLVANE_RESOURCES_CONTROL_IDS_H

#define IDI_ZOLVANE 1
#define IDR_MAINMENU 100
#define IDR_ACCELERATORS 101

// Form1's controls. Ids 1 and 2 stay free: the dialog manager sends IDOK and IDCANCEL for Enter and Esc,
// and on the main window those must press nothing.
#define IDC_FRAME2 1000
#define IDC_COMBO1 1001
#define IDC_TEXT1 1002
#define IDC_COMMAND1 1011
#define IDC_COMMAND2 1012
#define IDC_COMMAND3 1013
#define IDC_COMMAND4 1014
#define IDC_COMMAND5 1015
#define IDC_COMMAND6 1016
#define IDC_COMMAND7 1017
#define IDC_LABEL1 1021
#define IDC_LABEL2 1022
#define IDC_LABEL3 1023
#define IDC_LABEL6 1026

// Form1's menu commands.
#define IDM_HOMEPAGE 2001
#define IDM_FEEDBACK 2002
#define IDM_DONATE 2003
#define IDM_ABOUT 2004
#define IDM_EXIT 2005

// frmAbout's controls. cmdOK is IDOK, so that Enter (IDOK) and Esc (IDCANCEL) reach it from the dialog manager.
#define IDC_ABOUT_CMDOK 1
#define IDC_ABOUT_PICICON 3001
#define IDC_ABOUT_LBLTITLE 3002
#define IDC_ABOUT_LBLDESCRIPTION 3003
#define IDC_ABOUT_LABEL1 3004
#define IDC_ABOUT_LABEL2 3005
#define IDC_ABOUT_LABEL3 3006

// Window classes.
#define ZOLVANE_FORM1_CLASS "ZolvaneForm1"
#define ZOLVANE_ABOUT_CLASS "ZolvaneFrmAbout"
#define ZOLVANE_ABOUT_OWNER_CLASS "ZolvaneAboutOwner"

#endif  // ZOLVANE_RESOURCES_CONTROL_IDS_H
