// Resource ids of the plug-in.
#pragma once

// Document property pages
#define IDD_MAIN_PAGE 128
#define IDD_WATERMARK_PAGE 131
#define IDD_OPERATION_PAGE 103
#define IDD_BARCODE1D_PAGE 117
#define IDD_BARCODE2D_PAGE 118
// Printer property pages
#define IDD_UTILITY_PAGE 114
#define IDD_DOWNLOAD_PAGE 113
#define IDD_FONT_PAGE 119
// Both sheets
#define IDD_VERSION_PAGE 105
// Dialogs opened from the pages
#define IDD_OPERATION_DIALOG 104

#define IDB_VERSION_PICTURE 111
#define IDC_VERSION_PICTURE 1001
#define IDC_VERSION_GROUP 1002
#define IDC_VERSION_TEXT 1003
#define IDC_VERSION_RIGHTS 1004

// The main page ("Principal")
#define IDB_ROTATE_NORMAL 129
#define IDB_ROTATE_180 130
#define IDC_PAPER_SIZE 1020
#define IDC_TEXT_AS_GRAPHICS_YES 1061
#define IDC_TEXT_AS_GRAPHICS_NO 1062
#define IDC_ROTATE_NORMAL 1070
#define IDC_ROTATE_180 1071
#define IDC_ROTATE_NORMAL_PICTURE 1072
#define IDC_ROTATE_180_PICTURE 1074
#define IDC_ZOOM_PRINTING 1073
#define IDC_ZOOM_PERCENT 1047

// "Operação" page: one button per moment of the print job
#define IDC_OP_DOCUMENT_START 1011
#define IDC_OP_PAGE_START 1012
#define IDC_OP_PAGE_END 1013
#define IDC_OP_DOCUMENT_END 1014

// Operation dialog
#define IDC_OP_DEFAULT 3
#define IDC_OP_SEND_COMMAND 1015
#define IDC_OP_COMMAND 1016
#define IDC_OP_DRAWER_PULSE 1017
#define IDC_OP_CUT_MODE 1020
#define IDC_OP_FEED 1021
#define IDC_OP_FEED_SPIN 1022
#define IDC_OP_FEED_TO_CUT 1023
#define IDC_OP_OPEN_DRAWER 1025
#define IDC_OP_HERALD 1026
#define IDC_OP_BUZZER 1027
#define IDC_OP_LOGO 1028
#define IDC_OP_ALIGN_LEFT 1029
#define IDC_OP_ALIGN_CENTER 1030
#define IDC_OP_ALIGN_RIGHT 1031
#define IDC_OP_HERALD_STATE 1032
#define IDC_OP_BEFORE_CUT 1033
#define IDC_OP_AFTER_CUT 1034

// The manifest that asks for the version-6 common controls.
#define IDR_CONTROLS_MANIFEST 2
