#pragma once
// The "Marca d'água" document page (template 131): no watermark, a bitmap
// file or a text in a TrueType font, placed at one of nine positions or
// tiled, sized and lightened, with a live preview. Every edit goes into the
// private device mode at once; the picture itself reaches the printing side
// as a 24-bit BMP file in the temporary folder, named after the printer.
#include <array>
#include <string>
#include <string_view>

#include "core/private_devmode.h"
#include "core/watermark_files.h"
#include "core/watermark_graphics.h"
#include "core/watermark_picture.h"
#include "ports/controls.h"

namespace plugin {

inline constexpr std::array<std::string_view, 8> kWatermarkStockTexts = {
    "CONFIDENCIAL", "FAVOR NÃO COPIAR", "TOP SECRET", "RASCUNHO", "PROVA", "FINAL", "COPIAR", "COPIAR ARQUIVO",
};

struct WatermarkStyle {
    std::string_view text;
    int weight;
    bool italic;
};
inline constexpr std::array<WatermarkStyle, 4> kWatermarkStyles = {{
    {"Regular", 400, false},
    {"Itálico", 400, true},
    {"Negrito", 700, false},
    {"Negrito Itálico", 700, true},
}};

inline constexpr std::array<std::string_view, 10> kWatermarkPositions = {
    "Superior Esquerdo", "Superior Centralizado", "Superior Direito", "Meio Esquerdo",    "Meio Centralizado",
    "Meio Direito",      "Inferior Esquerdo",     "Inferior Centro",  "Inferior Direito", "Lado a Lado",
};

inline constexpr int kMinWatermarkFontSize = 8;
inline constexpr int kMaxWatermarkFontSize = 72;

// The watermark kinds of bWatermarkType.
enum WatermarkKind : int { kNoWatermark = 0, kBitmapWatermark = 1, kTextWatermark = 2 };

// What every watermark page of the process shares: the bitmap's pixels as
// last loaded, whether they must be read from the file again, and whether
// the preview may still report a file error (it does so once per process).
struct WatermarkProcessState {
    Picture loaded;
    bool reload = true;
    bool previewErrorsShown = false;
};

class WatermarkPage : public plat::DialogHandler {
public:
    WatermarkPage(PrivateDevmode& devmode, WatermarkFiles& files, WatermarkGraphics& graphics,
                  WatermarkProcessState& shared, std::string_view printerName);

    void OnInit(plat::Controls& controls) override;
    void OnCommand(plat::Controls& controls, int id, int notifyCode) override;
    // Stores the page's settings and, for a text, writes the picture file;
    // false (the sheet stays open) when that file cannot be written.
    bool OnApply(plat::Controls& controls) override;

    // Paints the preview frame from the controls as they are now: on every
    // paint of the frame and after every change.
    void PaintPreview(plat::Controls& controls);

    // Where the picture for the printing side goes: the temporary folder,
    // "\", the printer's name and "1.bmp".
    const std::string& PictureFile() const { return pictureFile_; }

private:
    int ShownKind(plat::Controls& controls);
    void EnableFor(plat::Controls& controls, int kind);
    // The kind of the radio clicked.
    void ChooseKind(plat::Controls& controls, int radio);
    // A tiled watermark takes at least kTiledMinimumSize: true when the size
    // slider had to be raised to it.
    bool KeepTiledMinimum(plat::Controls& controls);
    void Browse(plat::Controls& controls);
    // The font size box shows a size it can take.
    void CorrectFontSize(plat::Controls& controls, bool leaving);
    void Changed(plat::Controls& controls);
    std::string ShownText(plat::Controls& controls);
    TextFont ShownFont(plat::Controls& controls);
    Picture DrawTextPicture(plat::Controls& controls);
    bool LoadBitmap(plat::Controls& controls, const std::string& path);
    void PreviewError(plat::Controls& controls, std::string_view message);

    PrivateDevmode& devmode_;
    WatermarkFiles& files_;
    WatermarkGraphics& graphics_;
    WatermarkProcessState& shared_;
    std::string pictureFile_;
    // The page itself is writing its controls: their notifications are not
    // the user's.
    bool loading_ = false;
};

}  // namespace plugin
