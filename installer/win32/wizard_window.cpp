#include "win32/wizard_window.h"

#include "core/setup_text.h"
#include "resource.h"
#include "win32/encoding.h"

namespace setup_win32 {

Win32WizardWindow::~Win32WizardWindow() {
    if (leftPicture_) DeleteObject(leftPicture_);
}

void Win32WizardWindow::Run(setup::SetupWizard& wizard) {
    wizard_ = &wizard;
    win32::RunBoundDialog(instance_, IDD_WIZARD, nullptr, wizard, {&Win32WizardWindow::Hook, this});
}

void Win32WizardWindow::Attach(HWND wizard) {
    HMENU menu = GetSystemMenu(wizard, FALSE);
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, IDM_ABOUT, win32::Utf8ToAnsi(setup::SetupString(setup::IDS_ABOUT_ITEM)).c_str());
    icon_ = LoadIconA(instance_, MAKEINTRESOURCEA(IDI_APPLICATION_ICON));
    SendMessageA(wizard, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageA(wizard, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));

    RECT area{};
    GetWindowRect(GetDlgItem(wizard, IDC_PAGE_AREA), &area);
    MapWindowPoints(nullptr, wizard, reinterpret_cast<POINT*>(&area), 2);
    for (int index = 0; index < wizard_->pageCount(); ++index) {
        pages_[index] = win32::CreateBoundDialog(instance_, wizard_->pageTemplate(index), wizard, wizard_->page(index));
        controls_[index].emplace(pages_[index]);
        SetWindowPos(pages_[index], nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void Win32WizardWindow::ShowPageWindow(int index, bool visible) {
    if (pages_[index]) ShowWindow(pages_[index], visible ? SW_SHOW : SW_HIDE);
}

bool Win32WizardWindow::LoadLeftPicture() {
    // The picture is looked up relative to the current folder.
    leftPicture_ =
        static_cast<HBITMAP>(LoadImageA(nullptr, "DRVCONFIG\\Left.bmp", IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    return leftPicture_ != nullptr;
}

void Win32WizardWindow::DrawLeftPicture(const DRAWITEMSTRUCT& item) const {
    if (!leftPicture_) return;
    BITMAP info{};
    GetObjectA(leftPicture_, sizeof info, &info);
    HDC source = CreateCompatibleDC(item.hDC);
    HGDIOBJ previous = SelectObject(source, leftPicture_);
    SetStretchBltMode(item.hDC, COLORONCOLOR);
    StretchBlt(item.hDC, item.rcItem.left, item.rcItem.top, item.rcItem.right - item.rcItem.left,
               item.rcItem.bottom - item.rcItem.top, source, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    SelectObject(source, previous);
    DeleteDC(source);
}

void Win32WizardWindow::PaintMinimized(HWND wizard) const {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(wizard, &paint);
    RECT client{};
    GetClientRect(wizard, &client);
    DrawIcon(dc, (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2,
             (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2, icon_);
    EndPaint(wizard, &paint);
}

bool Win32WizardWindow::Hook(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result, void* context) {
    auto* self = static_cast<Win32WizardWindow*>(context);
    switch (message) {
        case WM_INITDIALOG:
            self->Attach(dialog);
            return false;  // the wizard itself starts next
        case WM_DRAWITEM:
            if (wParam != IDC_LEFT_PICTURE) return false;
            self->DrawLeftPicture(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            *result = TRUE;
            return true;
        case WM_COMMAND:
            // Enter and Escape typed inside a page neither move on nor close
            // the wizard; only the buttons do.
            if ((LOWORD(wParam) == IDOK && GetKeyState(VK_RETURN) < 0) ||
                (LOWORD(wParam) == IDCANCEL && GetKeyState(VK_ESCAPE) < 0)) {
                HWND focus = GetFocus();
                for (HWND page : self->pages_) {
                    if (page && IsChild(page, focus)) {
                        *result = TRUE;
                        return true;
                    }
                }
            }
            return false;
        case WM_PAINT:
            if (!IsIconic(dialog)) return false;
            self->PaintMinimized(dialog);
            *result = TRUE;
            return true;
    }
    return false;
}

}  // namespace setup_win32
