#pragma once
// The "Código 1D" (template 117) and "Código 2D" (template 118) document
// pages: per barcode font, the kind of barcode it prints and its dimensions.
// Each page shows one font at a time and writes every edit straight into the
// font's record of the private device mode; the font shown is not kept.
#include <array>
#include <cstdint>
#include <string_view>

#include "core/private_devmode.h"
#include "ports/controls.h"

namespace plugin {

// The lists, by the index each entry stores.
inline constexpr std::array<std::string_view, 8> kBarcode1DFontNames = {
    "Código1 1D", "Código2 1D", "Código3 1D", "Código4 1D", "Código5 1D", "Código6 1D", "Código7 1D", "Código8 1D",
};
inline constexpr std::array<std::string_view, 9> kBarcode1DTypeTexts = {
    "UPC-A", "UPC-E", "EAN8", "EAN13", "Code39", "ITF", "Codabar", "Code93", "Code128",
};
inline constexpr std::array<std::string_view, 4> kHriPositionTexts = {
    "Sem impressão",
    "Acima do código de barras",
    "Abaixo do código de barras",
    "Ambos acima e abaixo do código de barras",
};
inline constexpr std::array<std::string_view, 2> kBarcode2DFontNames = {"Código1 2D", "Código2 2D"};
inline constexpr std::array<std::string_view, 1> kBarcode2DTypeTexts = {"PDF417"};
inline constexpr std::array<std::string_view, 9> kErrorLevelTexts = {
    "Correção de Erros Nível 0", "Correção de Erros Nível 1", "Correção de Erros Nível 2",
    "Correção de Erros Nível 3", "Correção de Erros Nível 4", "Correção de Erros Nível 5",
    "Correção de Erros Nível 6", "Correção de Erros Nível 7", "Correção de Erros Nível 8",
};

// The point size to choose in the application for a 2D font.
inline constexpr std::string_view kBarcode2DPointText = "9.5";

class Barcode1DPage : public plat::DialogHandler {
public:
    explicit Barcode1DPage(PrivateDevmode& devmode) : devmode_(devmode) {}

    void OnInit(plat::Controls& controls) override;
    void OnCommand(plat::Controls& controls, int id, int notifyCode) override;
    // The record is already up to date; the page refreshes its height fields
    // and tells the sheet it holds nothing more to apply.
    bool OnApply(plat::Controls& controls) override;

private:
    Barcode1DSettings& Shown() { return devmode_.barcode1D[font_]; }
    void ShowFont(plat::Controls& controls);
    void ShowHeights(plat::Controls& controls);
    void EnableFontRadios(plat::Controls& controls);
    void Recompute();

    PrivateDevmode& devmode_;
    int font_ = 0;
    // The page itself is writing its controls: the edits' change
    // notifications are not the user's.
    bool loading_ = false;
};

class Barcode2DPage : public plat::DialogHandler {
public:
    explicit Barcode2DPage(PrivateDevmode& devmode) : devmode_(devmode) {}

    void OnInit(plat::Controls& controls) override;
    void OnCommand(plat::Controls& controls, int id, int notifyCode) override;
    bool OnApply(plat::Controls& controls) override;

private:
    Barcode2DSettings& Shown() { return devmode_.barcode2D[font_]; }
    void ShowFont(plat::Controls& controls);

    PrivateDevmode& devmode_;
    int font_ = 0;
    bool loading_ = false;
};

}  // namespace plugin
