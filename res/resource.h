// Every resource and control id of the launcher, shared by vorelin.rc and the code.
// Plain defines: the resource compiler reads this file too.
#pragma once

#define IDD_VORELIN_DIALOG      102
#define IDR_MAINFRAME           128
#define IDR_DLGINIT             102

// Controls of the main dialog.
#define IDC_BTN_MINIMIZE        1000
#define IDC_BTN_CLOSE           1001
#define IDC_BTN_START           1003
#define IDC_ST_TITLE            1004
#define IDC_WEB_TOP             1006
#define IDC_WEB_BOTTOM          1007
#define IDC_BTN_120E4M          1008
#define IDC_BTN_124E8M          1009
#define IDC_ST_RUNCOUNT         1010
#define IDC_ST_HOMEPAGE         1011
#define IDC_ST_LASTRUN          1012
#define IDC_BTN_MAPS            1013
#define IDC_BTN_126             1015
#define IDC_PIC_TOP             1016
#define IDC_PIC_BOTTOM          1017
#define IDC_BTN_120E            1018
#define IDC_BTN_124E            1019
#define IDC_ST_VERSION          1021

// The window's right-click menu.
#define IDM_OPEN_REPLAY         2001
#define IDM_ASSOCIATE_REPLAYS   2002

// Pictures: each button has a normal and a hover picture.
#define IDB_START               132
#define IDB_START_HOVER         133
#define IDB_MINIMIZE            134
#define IDB_MINIMIZE_HOVER      135
#define IDB_CLOSE_HOVER         137
#define IDB_CLOSE               138
#define IDB_MAPS                144
#define IDB_MAPS_HOVER          145
#define IDB_EDIT_FRAME          148
#define IDB_PANEL_BOTTOM        149
#define IDB_PANEL_TOP           150
#define IDB_120E                151
#define IDB_120E_HOVER          152
#define IDB_120E4M              153
#define IDB_120E4M_HOVER        154
#define IDB_124E                155
#define IDB_124E_HOVER          156
#define IDB_124E8M              157
#define IDB_124E8M_HOVER        158
#define IDB_126                 159
#define IDB_126_HOVER           160
#define IDB_BACKGROUND          179

// Version packages, resources of type "zip".
#define IDR_PACKAGE_120E        183
#define IDR_PACKAGE_124E        185
#define IDR_PACKAGE_126         186
#define IDR_PACKAGE_124E_8M     187
#define IDR_PACKAGE_120E_4M     188
