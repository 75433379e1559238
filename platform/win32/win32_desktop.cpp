#include "win32/win32_desktop.h"

#include <windows.h>

#include "win32/encoding.h"

namespace win32 {

int Win32Desktop::ShowMessage(plat::WindowRef owner, std::string_view text, std::string_view caption, unsigned style) {
    return MessageBoxA(reinterpret_cast<HWND>(owner), Utf8ToAnsi(text).c_str(), Utf8ToAnsi(caption).c_str(), style);
}

}  // namespace win32
