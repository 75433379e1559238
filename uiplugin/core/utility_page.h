#pragma once
// The "Utilitário" printer page (template 114): the printer's self-test page,
// and the one paper size the user defines, kept as the spooler form
// "Tamanho do papel - OLVEN" (a roll width and a page length). Neither touches
// a device mode: the form is written by "Ajustar" only, never on apply. A
// hidden button opens the control-font translation table.
#include <array>
#include <cstdint>
#include <string_view>

#include "core/control_font_file.h"
#include "ports/controls.h"
#include "ports/spooler.h"

namespace plugin {

constexpr std::string_view kUserFormName = "Tamanho do papel - OLVEN";

// The page works in 0.1 mm, the spooler's forms in thousandths of a mm.
constexpr std::uint32_t kFormUnitsPerTenthMm = 100;
// The form made when the spooler has none of the name: 80 mm x 297 mm.
constexpr std::uint32_t kInitialFormWidth = 800;
constexpr std::uint32_t kInitialFormHeight = 2970;
// What the printer's paper path takes, in 0.1 mm.
constexpr std::uint32_t kMinFormWidth = 410;
constexpr std::uint32_t kMaxFormWidth = 800;
constexpr std::uint32_t kMinFormHeight = 254;
constexpr std::uint32_t kMaxFormHeight = 32760;
constexpr int kFormWidthDigits = 3;
constexpr int kFormHeightDigits = 5;

constexpr std::string_view kSelfTestJobName = "SELFTEST";
constexpr std::array<std::uint8_t, 15> kSelfTestBytes{0x1D, 0xF9, 0x20, 0x31, 0x1D, 0x28, 0x41, 0x02,
                                                      0x00, 0x00, 0x02, 0x1D, 0xF9, 0x1F, 0x31};

// The user form of `width` x `height` in 0.1 mm, printable to its edges.
plat::FormInfo1 UserForm(std::uint32_t width, std::uint32_t height);

class UtilityPage : public plat::DialogHandler {
public:
    UtilityPage(plat::Spooler& spooler, plat::PrinterHandle printer, ControlFontFile& controlFont)
        : spooler_(spooler), printer_(printer), controlFont_(controlFont) {}

    void OnInit(plat::Controls& controls) override;
    void OnCommand(plat::Controls& controls, int id, int notifyCode) override;
    // Nothing to store: the form is written by "Ajustar" only.
    bool OnApply(plat::Controls&) override { return true; }

private:
    // The user form, created at its initial size when the spooler lacks it;
    // false when the forms cannot be listed or the form cannot be made.
    bool EnsureUserForm();
    // The limits of both edits, their up-downs and the range texts.
    void ShowLimits(plat::Controls& controls);
    // The stored form's size in the edits and up-downs.
    void ShowStoredSize(plat::Controls& controls);
    void SetUserForm(plat::Controls& controls);
    void RunControlFontTable(plat::Controls& controls);

    plat::Spooler& spooler_;
    plat::PrinterHandle printer_;
    ControlFontFile& controlFont_;
};

}  // namespace plugin
