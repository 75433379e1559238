#pragma once
// The window side of the wizard: its pages as child dialogs on the page area,
// the left picture, the icon and the system menu's about item.
#include <windows.h>

#include <array>
#include <optional>

#include "core/setup_wizard.h"
#include "win32/dialog_binding.h"

namespace setup_win32 {

class Win32WizardWindow : public setup::WizardWindow {
public:
    explicit Win32WizardWindow(HINSTANCE instance) : instance_(instance) {}
    ~Win32WizardWindow() override;

    // Runs the wizard modally until it closes.
    void Run(setup::SetupWizard& wizard);

    plat::Controls& PageControls(int index) override { return *controls_[index]; }
    void ShowPageWindow(int index, bool visible) override;
    bool LoadLeftPicture() override;

private:
    static bool Hook(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result, void* context);
    void Attach(HWND wizard);
    void DrawLeftPicture(const DRAWITEMSTRUCT& item) const;
    void PaintMinimized(HWND wizard) const;

    HINSTANCE instance_;
    setup::SetupWizard* wizard_ = nullptr;
    std::array<HWND, 4> pages_{};
    std::array<std::optional<win32::Win32Controls>, 4> controls_;
    HBITMAP leftPicture_ = nullptr;
    HICON icon_ = nullptr;
};

}  // namespace setup_win32
