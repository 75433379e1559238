#include "win32/progress_window.h"

#include "core/progress_dialog.h"

namespace setup_win32 {

namespace {
void PaintText(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT area{};
    GetClientRect(window, &area);
    area.bottom = area.top + (area.bottom - area.top) * 2 / 3;
    HFONT font = CreateFontA(20, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "System");
    HGDIOBJ previous = SelectObject(dc, font);
    SetTextColor(dc, RGB(0, 51, 153));
    SetBkMode(dc, TRANSPARENT);
    DrawTextA(dc, setup::ProgressDialog::kText, -1, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, previous);
    DeleteObject(font);
    EndPaint(window, &paint);
}

bool Hook(HWND dialog, UINT message, WPARAM, LPARAM, INT_PTR* result, void*) {
    if (message != WM_PAINT) return false;
    PaintText(dialog);
    *result = TRUE;
    return true;
}
}  // namespace

win32::BindingOptions ProgressWindowOptions() {
    return {&Hook, nullptr};
}

}  // namespace setup_win32
