#include "win32/no_throw.h"

namespace win32 {

// Wide text and the W function: converting to the ANSI code page would need
// memory, which may be what ran out.
const wchar_t* const kInternalErrorText = L"Erro interno: memória insuficiente";

void ReportInternalError(HWND window) noexcept {
    static bool showing = false;
    if (showing) return;
    showing = true;
    HWND top = window ? GetAncestor(window, GA_ROOT) : nullptr;
    wchar_t caption[128] = L"";
    if (top) GetWindowTextW(top, caption, static_cast<int>(sizeof caption / sizeof caption[0]));
    MessageBoxW(top, kInternalErrorText, caption, MB_OK | MB_ICONERROR);
    showing = false;
}

}  // namespace win32
