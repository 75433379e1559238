#include "win32/progress_window.h"

#include "core/progress_dialog.h"
#include "resource.h"

namespace setup_win32 {

namespace {
// The font of the text: "System", 20 pixels high, bold. Where the system
// puts a wider face in its place (Wine has no "System" of its own width),
// the same face and height are narrowed until the line fits the window, so
// that neither end of the text is cut.
HFONT MakeFont(HWND text) {
    RECT area{};
    GetClientRect(text, &area);
    HDC dc = GetDC(text);
    HFONT font = nullptr;
    // Width 0 is the face's own; glyph widths do not follow the requested
    // average exactly, so narrower widths are tried one by one.
    for (int width = 0, natural = 0;; --width) {
        if (font) DeleteObject(font);
        font = CreateFontA(20, width, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "System");
        HGDIOBJ previous = SelectObject(dc, font);
        TEXTMETRICA metrics{};
        GetTextMetricsA(dc, &metrics);
        RECT needed{};
        DrawTextA(dc, setup::ProgressDialog::kText, -1, &needed, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        SelectObject(dc, previous);
        if (width == 0) natural = width = metrics.tmAveCharWidth;
        if (needed.right <= area.right || width <= natural / 2) break;
    }
    ReleaseDC(text, dc);
    return font;
}

HFONT g_font = nullptr;  // one progress window at a time

bool Hook(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result, void*) {
    switch (message) {
        case WM_INITDIALOG: {
            HWND text = GetDlgItem(dialog, IDC_PROGRESS_TEXT);
            SetWindowTextA(text, setup::ProgressDialog::kText);
            if (g_font) DeleteObject(g_font);
            g_font = MakeFont(text);
            SendMessageA(text, WM_SETFONT, reinterpret_cast<WPARAM>(g_font), FALSE);
            return false;  // the dialog's class starts its bar and timer
        }
        case WM_CTLCOLORSTATIC:
            if (GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) != IDC_PROGRESS_TEXT) return false;
            SetTextColor(reinterpret_cast<HDC>(wParam), RGB(0, 51, 153));
            SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            *result = reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
            return true;
        case WM_NCDESTROY:
            if (g_font) DeleteObject(g_font);
            g_font = nullptr;
            return false;
    }
    return false;
}
}  // namespace

win32::BindingOptions ProgressWindowOptions() {
    return {&Hook, nullptr};
}

}  // namespace setup_win32
