#pragma once
// The page that shows the detected Windows version: one radio button per
// supported system, only the detected one enabled and selected.
#include <optional>

#include "core/os_code.h"
#include "core/wizard_page.h"
#include "ports/controls.h"
#include "ports/desktop.h"
#include "ports/registry.h"
#include "ports/system_info.h"

namespace setup {

class OsPage : public WizardPage {
public:
    OsPage(plat::SystemInfo& system, plat::Registry& registry, plat::Desktop& desktop)
        : system_(system), registry_(registry), desktop_(desktop) {}

    void OnInit(plat::Controls& controls) override;

    // The detected OsCode; Windows 98/Me until the page has started.
    OsCode osCode() const { return osCode_; }
    // Whether one of the page's buttons stands for the detected system. A
    // system without one (Windows 95, NT versions the package does not know,
    // Windows 8 and later) reads as Windows 98/Me but must not get the Windows 98/Me
    // driver set. False until the page has started.
    bool systemSupported() const { return systemSupported_; }

    // The radio button of each OsCode.
    static int ButtonOf(OsCode osCode);

private:
    // Selects the detected system's button and gives its code; nothing for a
    // system no button stands for.
    std::optional<OsCode> Detect(plat::Controls& controls);
    void RecordWithCompatibilityAssistant();

    plat::SystemInfo& system_;
    plat::Registry& registry_;
    plat::Desktop& desktop_;
    OsCode osCode_ = OsCode::kWin98Me;
    bool systemSupported_ = false;
};

}  // namespace setup
