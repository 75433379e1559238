// Resource ids of Desinstalar.
#pragma once

#define IDD_UNINSTALLER 102
#define IDC_INSTRUCTION 1006
#define IDC_LOG 1008
#define IDC_ITEMS 1010
#define IDC_UNINSTALL 1002
#define IDC_SELECT_ALL 1012
#define IDC_REMOVE_USB_DRIVER 1013
