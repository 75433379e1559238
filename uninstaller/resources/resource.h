// Resource ids of Desinstalar.
#pragma once

#define IDD_UNINSTALLER 102
#define IDC_INSTRUCTION 1006
#define IDC_LOG 1008
#define IDC_ITEMS 1010
#define IDC_UNINSTALL 1002
#define IDC_SELECT_ALL 1012
#define IDC_REMOVE_USB_DRIVER 1013

#define IDD_ABOUT 100
#define IDD_RESTART 129
// The system menu's about entry (command 16).
#define IDM_ABOUT 16
#define IDI_UNINSTALLER 128
// The restart dialog's buttons: "&Sim" and "&Não".
#define IDC_RESTART_YES 6
#define IDC_RESTART_NO 7
