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
#define IDD_CONTROL_FONT_DIALOG 115
#define IDD_CONTROL_FONT_TRANSLATOR 116

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

// The manifest that asks for the version-6 common controls. Not id 2: the
// system loader makes a library's id-2 manifest active as it loads the
// library, in every process that loads it and before anything is shown;
// under id 3 the context is made when the pages first need it.
#define IDR_CONTROLS_MANIFEST 3

// "Utilitário" page
#define IDC_UTIL_SELF_TEST 1036
#define IDC_UTIL_FORM_NAME 1052
#define IDC_UTIL_WIDTH 1047
#define IDC_UTIL_HEIGHT 1048
#define IDC_UTIL_WIDTH_SPIN 1053
#define IDC_UTIL_HEIGHT_SPIN 1054
#define IDC_UTIL_WIDTH_RANGE 1057
#define IDC_UTIL_HEIGHT_RANGE 1058
#define IDC_UTIL_SET_FORM 1046
#define IDC_UTIL_CONTROL_FONT 1045

// Control-font character translation table
#define IDC_CFONT_EDIT 1016
#define IDC_CFONT_DELETE 1036
#define IDC_CFONT_DRIVER 1047
#define IDC_CFONT_LIST 1048

// Control-font character translator
#define IDC_CFT_CHAR 1047
#define IDC_CFT_HEX 1048
#define IDC_CFT_COMMAND 1052
// "Baixar" page
#define IDC_DL_PATH 1039
#define IDC_DL_BROWSE 1040
#define IDC_DL_SEND 1036
#define IDC_DL_LOGOS 1041
#define IDC_DL_PREVIEW 1046
#define IDC_DL_ADD 1042
#define IDC_DL_DELETE 1043
#define IDC_DL_DOWNLOAD 1044
#define IDC_DL_CLEAR 1045

// "Código 1D" page
#define IDC_BC1_FONT 1020
#define IDC_BC1_TYPE 1022
#define IDC_BC1_HRI_POSITION 1023
#define IDC_BC1_WIDTH 1047
#define IDC_BC1_HEIGHT 1048
#define IDC_BC1_HEIGHT_MM 1052
#define IDC_BC1_WIDTH_SPIN 1053
#define IDC_BC1_HEIGHT_SPIN 1054
#define IDC_BC1_HEIGHT_POINTS 1055
#define IDC_BC1_FONT_A 1060
#define IDC_BC1_FONT_B 1061
#define IDC_BC1_WIDTH_RANGE 1062
#define IDC_BC1_HEIGHT_RANGE 1063

// "Código 2D" page
#define IDC_BC2_FONT 1020
#define IDC_BC2_TYPE 1022
#define IDC_BC2_ERROR_LEVEL 1023
#define IDC_BC2_CELL_WIDTH 1047
#define IDC_BC2_CELL_HEIGHT 1048
#define IDC_BC2_COLUMNS 1049
#define IDC_BC2_ROWS 1050
#define IDC_BC2_CELL_WIDTH_SPIN 1053
#define IDC_BC2_CELL_HEIGHT_SPIN 1054
#define IDC_BC2_POINTS 1055
#define IDC_BC2_COLUMNS_SPIN 1056
#define IDC_BC2_ROWS_SPIN 1057
#define IDC_BC2_CELL_WIDTH_RANGE 1062
#define IDC_BC2_CELL_HEIGHT_RANGE 1063
#define IDC_BC2_COLUMNS_RANGE 1064
#define IDC_BC2_ROWS_RANGE 1065

// "Marca d'água" page
#define IDC_WM_NONE 1077
#define IDC_WM_BITMAP 1061
#define IDC_WM_TEXT 1078
#define IDC_WM_BITMAP_PATH 1047
#define IDC_WM_BROWSE 1049
#define IDC_WM_TEXT_LIST 1020
#define IDC_WM_FONT 1021
#define IDC_WM_STYLE 1022
#define IDC_WM_POSITION 1023
#define IDC_WM_FONT_SIZE 1052
#define IDC_WM_FONT_SIZE_SPIN 1080
#define IDC_WM_ANGLE 1018
#define IDC_WM_ANGLE_LABEL 1081
#define IDC_WM_SIZE 1082
#define IDC_WM_SIZE_LABEL 1084
#define IDC_WM_BRIGHTNESS 1083
#define IDC_WM_BRIGHTNESS_LABEL 1086
#define IDC_WM_PREVIEW 1085

// "Fonte" page
#define IDI_FONT_ROOT 125
#define IDI_FONT_FACE 126
#define IDI_FONT_SIZE 127
#define IDC_FONT_LIST 1068
#define IDC_FONT_TREE 1069
