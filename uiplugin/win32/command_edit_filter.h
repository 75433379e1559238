#pragma once
// The keystroke filter of the edit boxes where users type printer commands
// in hexadecimal: digits, letters a-f, blanks and editing keys only.
#include <windows.h>

namespace plugin_win32 {

// Subclasses `edit`; the box's previous procedure gets every message the
// filter does not decide, and is put back when the box goes.
void InstallCommandEditFilter(HWND edit);

}  // namespace plugin_win32
