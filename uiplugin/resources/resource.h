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

// The manifest that asks for the version-6 common controls.
#define IDR_CONTROLS_MANIFEST 2
