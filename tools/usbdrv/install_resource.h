#pragma once
// Ids of the stand-in USB driver tool's window.
#define IDD_INSTALL 100
#define IDC_INSTALL_TEXT 1001
