// Resource ids of Setup: dialogs, controls and strings (the texts themselves
// are in setup_strings.inc).
#pragma once

#define IDD_WIZARD 102
#define IDD_OS_PAGE 130

// Wizard frame
#define IDC_PAGE_AREA 1001
#define IDC_BACK 1002
#define IDC_LEFT_PICTURE 1087
#define IDC_HELP_HINT 1088

// OS page radio buttons, in OsCode order
#define IDC_OS_WIN98ME 1026
#define IDC_OS_NT 1027
#define IDC_OS_WIN2000 1028
#define IDC_OS_WINXP 1029
#define IDC_OS_SERVER2003 1075
#define IDC_OS_VISTA 1076
#define IDC_OS_SERVER2008 1077
#define IDC_OS_WIN7 1078
#define IDC_OS_GROUP 1074
