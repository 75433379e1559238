#include "win32/wizard_frame.h"

#include "resource.h"
#include "win32/dialog_binding.h"

namespace setup_win32 {

namespace {

struct FrameState {
    HINSTANCE instance;
    WizardPages* pages;
    HBITMAP leftPicture = nullptr;
};

void PlaceOnPageArea(HWND wizard, HWND page) {
    RECT area{};
    GetWindowRect(GetDlgItem(wizard, IDC_PAGE_AREA), &area);
    MapWindowPoints(nullptr, wizard, reinterpret_cast<POINT*>(&area), 2);
    SetWindowPos(page, nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void DrawLeftPicture(const FrameState& state, const DRAWITEMSTRUCT& item) {
    if (!state.leftPicture) return;
    BITMAP info{};
    GetObjectA(state.leftPicture, sizeof info, &info);
    HDC source = CreateCompatibleDC(item.hDC);
    HGDIOBJ previous = SelectObject(source, state.leftPicture);
    SetStretchBltMode(item.hDC, COLORONCOLOR);
    StretchBlt(item.hDC, item.rcItem.left, item.rcItem.top, item.rcItem.right - item.rcItem.left,
               item.rcItem.bottom - item.rcItem.top, source, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    SelectObject(source, previous);
    DeleteDC(source);
}

INT_PTR CALLBACK FrameProc(HWND wizard, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<FrameState*>(GetWindowLongPtrA(wizard, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG: {
            state = reinterpret_cast<FrameState*>(lParam);
            SetWindowLongPtrA(wizard, DWLP_USER, lParam);
            HWND page = win32::CreateBoundDialog(state->instance, IDD_OS_PAGE, wizard, *state->pages->osPage);
            if (page) {
                PlaceOnPageArea(wizard, page);
                ShowWindow(page, SW_SHOW);
            }
            // The picture file lives in the package, relative to the current folder.
            state->leftPicture =
                static_cast<HBITMAP>(LoadImageA(nullptr, "DRVCONFIG\\Left.bmp", IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
            return TRUE;
        }
        case WM_DRAWITEM:
            if (state && wParam == IDC_LEFT_PICTURE) {
                DrawLeftPicture(*state, *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
                return TRUE;
            }
            return FALSE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDCANCEL) EndDialog(wizard, IDCANCEL);
            return TRUE;
        case WM_DESTROY:
            if (state && state->leftPicture) DeleteObject(state->leftPicture);
            return FALSE;
    }
    return FALSE;
}

}  // namespace

INT_PTR RunWizard(HINSTANCE instance, WizardPages& pages) {
    FrameState state{instance, &pages};
    return DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_WIZARD), nullptr, FrameProc,
                           reinterpret_cast<LPARAM>(&state));
}

}  // namespace setup_win32
