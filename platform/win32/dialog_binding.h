#pragma once
// The one dialog procedure of the programs: it hands a dialog's messages to
// its class (a plat::DialogHandler) and lets it reach the controls by id.
#include <windows.h>

#include "ports/controls.h"

namespace win32 {

class Win32Controls : public plat::Controls {
public:
    explicit Win32Controls(HWND dialog) : dialog_(dialog) {}
    plat::WindowRef Window() override { return reinterpret_cast<plat::WindowRef>(dialog_); }
    void SetCheck(int id, bool checked) override;
    void Enable(int id, bool enabled) override;

private:
    HWND dialog_;
};

// A modeless dialog (a wizard page) from template `templateId`, owned by `parent`.
HWND CreateBoundDialog(HINSTANCE instance, int templateId, HWND parent, plat::DialogHandler& handler);

}  // namespace win32
