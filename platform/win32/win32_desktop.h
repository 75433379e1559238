#pragma once
#include <windows.h>

#include <vector>

#include "win32/by_id.h"
#include "win32/scoped_win32.h"

#include "ports/desktop.h"
#include "win32/dialog_binding.h"

namespace win32 {

class Win32Desktop : public plat::Desktop {
public:
    // Dialogs come from the templates of `instance`.
    explicit Win32Desktop(HINSTANCE instance = GetModuleHandleA(nullptr)) : instance_(instance) {}
    int ShowMessage(plat::WindowRef owner, std::string_view text, std::string_view caption, unsigned style) override;
    bool CreateSingleInstanceMutex(std::string_view name) override;
    plat::WindowRef FindTopLevelWindow(std::string_view caption) override;
    void BringToFront(plat::WindowRef window) override;
    void MinimizeTopmost(plat::WindowRef window) override;
    bool IsAdministrator() override;
    bool OpenDocument(std::string_view path) override;
    plat::Error StartProgram(std::string_view path, std::string_view parameters) override;
    void BroadcastSettingChange(std::string_view section, bool post) override;
    bool RestartWindows() override;
    int RunDialog(int templateId, plat::WindowRef owner, plat::DialogHandler& handler) override;
    // Window-side handling (painting) for the dialogs of one template.
    void SetDialogOptions(int templateId, const BindingOptions& options) { options_[templateId] = options; }

private:
    HINSTANCE instance_;
    ById<BindingOptions> options_;
    // Held until the program ends.
    std::vector<ScopedKernelHandle> mutexes_;
};

}  // namespace win32
