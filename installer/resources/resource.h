// Resource ids of Setup: dialogs, controls and strings (the texts themselves
// are in setup_strings.inc).
#pragma once

#define IDI_APPLICATION_ICON 128

#define IDD_ABOUT 100
#define IDD_WIZARD 102
#define IDD_OS_PAGE 130
#define IDD_MODULE_PAGE 131
#define IDD_PORT_PAGE 132
#define IDD_INSTALL_TYPE_PAGE 137
#define IDD_PROGRESS 141

// System-menu command of the about box
#define IDM_ABOUT 16

// Wizard frame
#define IDC_PAGE_AREA 1001
#define IDC_BACK 1002
#define IDC_LEFT_PICTURE 1087
#define IDC_HELP_HINT 1088

// About box
#define IDC_ABOUT_ICON 1090
#define IDC_ABOUT_NAME 1091
#define IDC_ABOUT_VERSION 1092

// OS page radio buttons, in OsCode order
#define IDC_OS_WIN98ME 1026
#define IDC_OS_NT 1027
#define IDC_OS_WIN2000 1028
#define IDC_OS_WINXP 1029
#define IDC_OS_SERVER2003 1075
#define IDC_OS_VISTA 1076
#define IDC_OS_SERVER2008 1077
#define IDC_OS_WIN7 1078
#define IDC_OS_GROUP 1093

// Module page: radio buttons and model lists, in PrinterModule order
#define IDC_MODULE_RECEIPT 1019
#define IDC_MODULE_TICKET 1020
#define IDC_MODULE_LABEL 1021
#define IDC_MODULE_EMBEDDED 1073
#define IDC_MODELS_RECEIPT 1030
#define IDC_MODELS_TICKET 1031
#define IDC_MODELS_LABEL 1032
#define IDC_MODELS_EMBEDDED 1074
#define IDC_MAKE_DEFAULT 1046
#define IDC_MODULE_GROUP 1094

// Install-type page
#define IDC_TYPICAL 1066
#define IDC_ADVANCED 1067
#define IDC_COMMENT1 1068
#define IDC_COMMENT2 1069
#define IDC_COMMENT3 1070
#define IDC_INSTALL_TYPE_GROUP 1095

// Port page
#define IDC_PORTS 1049
#define IDC_BAUD 1041
#define IDC_DATA_BITS 1042
#define IDC_PARITY 1043
#define IDC_STOP_BITS 1044
#define IDC_FLOW 1045
#define IDC_RASTER 1052
#define IDC_NOTE1 1065
#define IDC_NOTE2 1066
#define IDC_NOTE3 1068
#define IDC_NOTE4 1067

// Progress window
#define IDC_PROGRESS_BAR 1079
#define IDC_PROGRESS_TEXT 1096
