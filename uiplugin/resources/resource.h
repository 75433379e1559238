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

// The manifest that asks for the version-6 common controls.
#define IDR_CONTROLS_MANIFEST 2
