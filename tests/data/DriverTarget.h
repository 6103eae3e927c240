#pragma once

// Resource ids shared by the driver's target program and its tests.
#define IDD_TARGET 100
#define IDC_PRESS 1001
#define IDC_LABEL 1002
#define IDC_EDIT 1003
#define IDC_EVENTS 1004
#define IDC_BOX 1005
#define IDC_QUIT 1006
#define IDC_STALL 1007
#define IDC_FOLDER 1008
