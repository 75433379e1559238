#include "core/os_page.h"

#include <array>
#include <optional>
#include <string>

#include "core/setup_text.h"
#include "product_name.h"
#include "registry_key.h"
#include "resource.h"
#include "text.h"

namespace setup {

namespace {
constexpr std::array<int, kOsCodeCount> kButtons{IDC_OS_WIN98ME,    IDC_OS_NT,    IDC_OS_WIN2000,    IDC_OS_WINXP,
                                                 IDC_OS_SERVER2003, IDC_OS_VISTA, IDC_OS_SERVER2008, IDC_OS_WIN7};
constexpr std::string_view kCompatibilityKey =
    "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Compatibility Assistant\\Persisted";
constexpr std::size_t kMaxPath = 260;
}  // namespace

int OsPage::ButtonOf(OsCode osCode) {
    const int index = OsIndex(osCode);
    return index >= 0 && index < kOsCodeCount ? kButtons[static_cast<std::size_t>(index)] : 0;
}

void OsPage::OnInit(plat::Controls& controls) {
    osCode_ = OsCode::kWin98Me;
    systemSupported_ = false;
    const std::optional<OsCode> detected = Detect(controls);
    systemSupported_ = detected.has_value();
    osCode_ = detected.value_or(OsCode::kWin98Me);
    // Only the detected system's button stays usable; for an unsupported
    // system that is the "Windows 98/Me" button, selected or not.
    for (int index = 0; index < kOsCodeCount; ++index)
        controls.Enable(kButtons[static_cast<std::size_t>(index)], index == OsIndex(osCode_));
    // Windows 98/Me's code on a system without a button would install the Windows 98/Me
    // drivers there: the user is told at once, and Install refuses.
    if (!systemSupported_) {
        desktop_.ShowMessage(controls.Window(), SetupString(IDS_OS_NOT_SUPPORTED), kWizardCaption, plat::kMbOk);
    }
}

std::optional<OsCode> OsPage::Detect(plat::Controls& controls) {
    const plat::OsVersion v = system_.GetVersion();
    if (v.platformId == plat::kPlatformWindows) {
        // Windows 95 (minor 0) is not supported: no button selected.
        if (v.minor == 0) return std::nullopt;
        controls.SetCheck(IDC_OS_WIN98ME, true);
        return OsCode::kWin98Me;
    }
    if (v.platformId != plat::kPlatformNt) return std::nullopt;
    const std::optional<OsCode> known = NtOsCode(v.major, v.minor);
    if (!known) return std::nullopt;  // a version this package does not know
    OsCode code = *known;
    if (code == OsCode::kVista) {
        if (plat::IsServer2008(registry_)) {
            code = OsCode::kServer2008;
        } else {
            RecordWithCompatibilityAssistant();
        }
    }
    controls.SetCheck(ButtonOf(code), true);
    return code;
}

// Marks the installer as handled, so that Vista's compatibility assistant does
// not step in when it ends. Failures change nothing for the installation.
void OsPage::RecordWithCompatibilityAssistant() {
    const std::string path = system_.ExecutablePath();
    if (path.empty() || path.size() >= kMaxPath) return;
    if (!plat::RegistryKey::CreateKey(registry_, plat::RootKey::CurrentUser, kCompatibilityKey)) return;
    plat::RegistryKey key(registry_);
    if (key.Open(plat::RootKey::CurrentUser, kCompatibilityKey)) (void)key.WriteDword(path, 1);
}

}  // namespace setup
