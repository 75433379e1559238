#include "core/watermark_page.h"

#include <algorithm>
#include <charconv>
#include <string>

#include "core/record_text.h"
#include "core/main_page.h"
#include "core/watermark_preview.h"
#include "resource.h"

namespace plugin {

namespace {
constexpr std::string_view kErrorCaption = "Erro";
constexpr std::string_view kFileMissing = "O arquivo especificado não existe!";
constexpr std::string_view kNeedsAdministrator = "Favor checar se o usuário tem privilégios de Administrador!";
constexpr std::string_view kNotOneEightOr24Bits = "Certifique-se de que o bitmap especificado é de 1/8/24 bits!";
constexpr std::string_view kNoFileName = "O nome do arquivo não foi definido!";
constexpr std::string_view kTooLarge = "O bitmap selecionado é muito grande!";
constexpr std::string_view kPathTooLong = "O caminho do arquivo é longo demais!";

constexpr int kMaxAngle = 360;
constexpr int kMaxSize = 100;
constexpr int kMaxBrightness = 255;

constexpr int kBitmapControls[] = {IDC_WM_BITMAP_PATH, IDC_WM_BROWSE};
constexpr int kTextControls[] = {IDC_WM_TEXT_LIST, IDC_WM_FONT,           IDC_WM_STYLE,
                                 IDC_WM_FONT_SIZE, IDC_WM_FONT_SIZE_SPIN, IDC_WM_ANGLE};
constexpr int kCommonControls[] = {IDC_WM_POSITION, IDC_WM_SIZE, IDC_WM_BRIGHTNESS};

// The whole decimal number at the start of an edit's text; 0 when none.
int Number(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    (void)end;
    return error == std::errc() ? value : 0;
}

// A field of the record as a byte: the value within the field's range.
std::uint8_t Byte(int value, int low, int high) {
    return static_cast<std::uint8_t>(std::clamp(value, low, high));
}
}  // namespace

WatermarkPage::WatermarkPage(PrivateDevmode& devmode, WatermarkFiles& files, WatermarkGraphics& graphics,
                             WatermarkProcessState& shared, std::string_view printerName)
    : devmode_(devmode), files_(files), graphics_(graphics), shared_(shared) {
    // The temporary folder already ends in a backslash; the printing side
    // looks for the file under this very name, doubled separator included.
    pictureFile_ = files_.TemporaryFolder() + "\\" + std::string(printerName) + "1.bmp";
}

void WatermarkPage::OnInit(plat::Controls& controls) {
    loading_ = true;
    const int stored = devmode_.bWatermarkType;
    const int kind = stored == kBitmapWatermark || stored == kTextWatermark ? stored : int{kNoWatermark};
    controls.SetCheck(IDC_WM_NONE, kind == kNoWatermark);
    controls.SetCheck(IDC_WM_BITMAP, kind == kBitmapWatermark);
    controls.SetCheck(IDC_WM_TEXT, kind == kTextWatermark);
    EnableFor(controls, kind);

    controls.SetReadOnly(IDC_WM_BITMAP_PATH, true);
    controls.SetText(IDC_WM_BITMAP_PATH, ReadRecordText(devmode_.szWatermarkBitmap));

    controls.ClearItems(IDC_WM_TEXT_LIST);
    for (std::string_view text : kWatermarkStockTexts) controls.AddItem(IDC_WM_TEXT_LIST, text);
    controls.LimitText(IDC_WM_TEXT_LIST, static_cast<int>(std::size(devmode_.szWatermarkText)));
    const std::string text = ReadRecordText(devmode_.szWatermarkText);
    const auto stock = std::find(kWatermarkStockTexts.begin(), kWatermarkStockTexts.end(), text);
    if (text.empty()) {
        controls.Select(IDC_WM_TEXT_LIST, 0);
    } else if (stock != kWatermarkStockTexts.end()) {
        controls.Select(IDC_WM_TEXT_LIST, static_cast<int>(stock - kWatermarkStockTexts.begin()));
    } else {
        controls.SetText(IDC_WM_TEXT_LIST, text);
    }

    controls.ClearItems(IDC_WM_FONT);
    for (const std::string& face : graphics_.TrueTypeFaces()) controls.AddItem(IDC_WM_FONT, face);
    controls.Select(IDC_WM_FONT, 0);
    const int face = controls.FindPrefix(IDC_WM_FONT, -1, ReadRecordText(devmode_.szWatermarkFont));
    if (face >= 0) controls.Select(IDC_WM_FONT, face);

    controls.ClearItems(IDC_WM_STYLE);
    for (const WatermarkStyle& style : kWatermarkStyles) controls.AddItem(IDC_WM_STYLE, style.text);
    controls.Select(IDC_WM_STYLE,
                    devmode_.bWatermarkFontStyle < kWatermarkStyles.size() ? devmode_.bWatermarkFontStyle : 0);

    controls.LimitText(IDC_WM_FONT_SIZE, 2);
    controls.SetRange(IDC_WM_FONT_SIZE_SPIN, kMinWatermarkFontSize, kMaxWatermarkFontSize);
    controls.SetPosition(IDC_WM_FONT_SIZE_SPIN, devmode_.bWatermarkFontSize);
    controls.SetText(IDC_WM_FONT_SIZE, std::to_string(devmode_.bWatermarkFontSize));

    controls.SetRange(IDC_WM_ANGLE, 0, kMaxAngle);
    controls.SetPosition(IDC_WM_ANGLE, static_cast<int>(std::min<std::uint32_t>(devmode_.dwWatermarkAngle, kMaxAngle)));
    controls.SetRange(IDC_WM_SIZE, 0, kMaxSize);
    controls.SetPosition(IDC_WM_SIZE, devmode_.bWatermarkSize);
    controls.SetRange(IDC_WM_BRIGHTNESS, 0, kMaxBrightness);
    controls.SetPosition(IDC_WM_BRIGHTNESS, devmode_.bWatermarkBrightness);
    ShowLabels(controls);

    controls.ClearItems(IDC_WM_POSITION);
    for (std::string_view position : kWatermarkPositions) controls.AddItem(IDC_WM_POSITION, position);
    controls.Select(IDC_WM_POSITION, devmode_.bWatermarkPosition);
    loading_ = false;
}

int WatermarkPage::ShownKind(plat::Controls& controls) {
    if (controls.IsChecked(IDC_WM_BITMAP)) return kBitmapWatermark;
    if (controls.IsChecked(IDC_WM_TEXT)) return kTextWatermark;
    return kNoWatermark;
}

void WatermarkPage::EnableFor(plat::Controls& controls, int kind) {
    for (int id : kBitmapControls) controls.Enable(id, kind == kBitmapWatermark);
    for (int id : kTextControls) controls.Enable(id, kind == kTextWatermark);
    for (int id : kCommonControls) controls.Enable(id, kind != kNoWatermark);
}

void WatermarkPage::ShowLabels(plat::Controls& controls) {
    controls.SetText(IDC_WM_ANGLE_LABEL, std::to_string(controls.Position(IDC_WM_ANGLE)));
    controls.SetText(IDC_WM_SIZE_LABEL, std::to_string(controls.Position(IDC_WM_SIZE)));
    controls.SetText(IDC_WM_BRIGHTNESS_LABEL, std::to_string(controls.Position(IDC_WM_BRIGHTNESS)));
}

void WatermarkPage::Changed(plat::Controls& controls) {
    controls.NotifySheetChanged(true);
    PaintPreview(controls);
}

void WatermarkPage::OnCommand(plat::Controls& controls, int id, int notifyCode) {
    if (loading_) return;
    switch (id) {
        case IDC_WM_NONE:
            if (notifyCode == plat::kBnClicked) ChooseKind(controls, kNoWatermark);
            return;
        case IDC_WM_BITMAP:
            if (notifyCode == plat::kBnClicked) ChooseKind(controls, kBitmapWatermark);
            return;
        case IDC_WM_TEXT:
            if (notifyCode == plat::kBnClicked) ChooseKind(controls, kTextWatermark);
            return;
        case IDC_WM_BROWSE:
            if (notifyCode == plat::kBnClicked) Browse(controls);
            return;
        case IDC_WM_TEXT_LIST:
            if (notifyCode == plat::kCbnSelChange || notifyCode == plat::kCbnEditChange)
                StoreText(controls, notifyCode);
            return;
        case IDC_WM_FONT:
        case IDC_WM_STYLE:
        case IDC_WM_POSITION: {
            if (notifyCode != plat::kCbnSelEndOk) return;
            const int selected = controls.Selection(id);
            if (selected < 0) return;
            if (id == IDC_WM_FONT) {
                StoreRecordText(devmode_.szWatermarkFont, controls.ItemText(id, selected));
            } else if (id == IDC_WM_STYLE) {
                devmode_.bWatermarkFontStyle = Byte(selected, 0, kWatermarkStyles.size() - 1);
            } else {
                devmode_.bWatermarkPosition = Byte(selected, 0, kTiledPosition);
                if (selected == kTiledPosition && controls.Position(IDC_WM_SIZE) < kTiledMinimumSize) {
                    controls.SetPosition(IDC_WM_SIZE, kTiledMinimumSize);
                    devmode_.bWatermarkSize = kTiledMinimumSize;
                    ShowLabels(controls);
                }
            }
            Changed(controls);
            return;
        }
        case IDC_WM_FONT_SIZE:
            if (notifyCode == plat::kEnChange || notifyCode == plat::kEnKillFocus) {
                StoreFontSize(controls, notifyCode == plat::kEnKillFocus);
            }
            return;
        case IDC_WM_FONT_SIZE_SPIN:
            devmode_.bWatermarkFontSize = Byte(Number(controls.GetText(IDC_WM_FONT_SIZE)), 0, kMaxWatermarkFontSize);
            Changed(controls);
            return;
        case IDC_WM_ANGLE:
        case IDC_WM_SIZE:
        case IDC_WM_BRIGHTNESS:
            if (notifyCode == plat::kSliderScroll) StoreSliders(controls);
            return;
    }
}

void WatermarkPage::ChooseKind(plat::Controls& controls, int kind) {
    devmode_.bWatermarkType = static_cast<std::uint8_t>(kind);
    if (kind != kNoWatermark) {
        if (devmode_.bTextAsGraphics == 0) {
            controls.ShowMessage(kTextAsGraphicsMessage, kTextAsGraphicsCaption,
                                 plat::kMbOk | plat::kMbIconInformation);
            devmode_.bTextAsGraphics = 1;
        }
        shared_.reload = true;
    }
    EnableFor(controls, kind);
    Changed(controls);
}

void WatermarkPage::Browse(plat::Controls& controls) {
    const std::optional<ChosenFile> chosen = files_.ChooseBitmap(controls.Window());
    if (!chosen) return;
    auto error = [&](std::string_view message) {
        controls.ShowMessage(message, kErrorCaption, plat::kMbOk | plat::kMbIconError);
    };
    if (chosen->path.empty()) return error(kNoFileName);
    // The record keeps the path with its terminator in its fixed field: a
    // longer path is refused before anything changes, never cut.
    if (RecordTextUnits(chosen->path) >= std::size(devmode_.szWatermarkBitmap)) return error(kPathTooLong);
    switch (ConvertToBmp24(files_, chosen->path, pictureFile_)) {
        case kBmp24Done:
            controls.SetText(IDC_WM_BITMAP_PATH, chosen->path);
            StoreRecordText(devmode_.szWatermarkBitmap, chosen->path);
            shared_.reload = true;
            PaintPreview(controls);
            return;
        case kBmp24CannotCreate:
            return error(kNeedsAdministrator);
        case kBmp24TooLarge:
            return error(kTooLarge);
        case kBmp24Failed:
            return error(kNotOneEightOr24Bits);
    }
}

std::string WatermarkPage::ShownText(plat::Controls& controls) {
    const int selected = controls.Selection(IDC_WM_TEXT_LIST);
    return selected >= 0 ? controls.ItemText(IDC_WM_TEXT_LIST, selected) : controls.GetText(IDC_WM_TEXT_LIST);
}

void WatermarkPage::StoreText(plat::Controls& controls, int notifyCode) {
    // Typing into the box leaves no stock text selected.
    const std::string text =
        notifyCode == plat::kCbnEditChange ? controls.GetText(IDC_WM_TEXT_LIST) : ShownText(controls);
    StoreRecordTextFilling(devmode_.szWatermarkText, text);
    Changed(controls);
}

void WatermarkPage::StoreFontSize(plat::Controls& controls, bool leaving) {
    int size = Number(controls.GetText(IDC_WM_FONT_SIZE));
    const int typed = size;
    if (size > kMaxWatermarkFontSize) size = kMaxWatermarkFontSize;
    if (leaving && size < kMinWatermarkFontSize) size = kMinWatermarkFontSize;
    if (size != typed) {
        loading_ = true;
        controls.SetText(IDC_WM_FONT_SIZE, std::to_string(size));
        controls.SetPosition(IDC_WM_FONT_SIZE_SPIN, size);
        loading_ = false;
    }
    devmode_.bWatermarkFontSize = static_cast<std::uint8_t>(std::max(size, 0));
    Changed(controls);
}

void WatermarkPage::StoreSliders(plat::Controls& controls) {
    if (devmode_.bWatermarkPosition == kTiledPosition && controls.Position(IDC_WM_SIZE) < kTiledMinimumSize) {
        controls.SetPosition(IDC_WM_SIZE, kTiledMinimumSize);
    }
    devmode_.dwWatermarkAngle = static_cast<std::uint32_t>(std::clamp(controls.Position(IDC_WM_ANGLE), 0, kMaxAngle));
    devmode_.bWatermarkSize = Byte(controls.Position(IDC_WM_SIZE), 0, kMaxSize);
    devmode_.bWatermarkBrightness = Byte(controls.Position(IDC_WM_BRIGHTNESS), 0, kMaxBrightness);
    ShowLabels(controls);
    Changed(controls);
}

TextFont WatermarkPage::ShownFont(plat::Controls& controls) {
    TextFont font;
    const int face = controls.Selection(IDC_WM_FONT);
    if (face >= 0) font.face = controls.ItemText(IDC_WM_FONT, face);
    font.pointSize =
        std::clamp(Number(controls.GetText(IDC_WM_FONT_SIZE)), kMinWatermarkFontSize, kMaxWatermarkFontSize);
    font.style = std::clamp(controls.Selection(IDC_WM_STYLE), 0, static_cast<int>(kWatermarkStyles.size()) - 1);
    font.angle = controls.Position(IDC_WM_ANGLE);
    return font;
}

Picture WatermarkPage::DrawTextPicture(plat::Controls& controls) {
    const TextFont font = ShownFont(controls);
    const std::string text = ShownText(controls);
    const TextOrigin origin = CentredTextOrigin(graphics_.MeasureText(font, text), font.angle);
    return graphics_.RenderText(font, text, origin.x, origin.y);
}

void WatermarkPage::PreviewError(plat::Controls& controls, std::string_view message) {
    if (shared_.previewErrorsShown) return;
    shared_.previewErrorsShown = true;
    controls.ShowMessage(message, kErrorCaption, plat::kMbOk | plat::kMbIconError);
}

bool WatermarkPage::LoadBitmap(plat::Controls& controls, const std::string& path) {
    switch (ConvertToBmp24(files_, path, pictureFile_)) {
        case kBmp24Done:
            break;
        case kBmp24CannotCreate:
            PreviewError(controls, kNeedsAdministrator);
            return false;
        case kBmp24TooLarge:
            PreviewError(controls, kTooLarge);
            return false;
        case kBmp24Failed:
            PreviewError(controls, kFileMissing);
            return false;
    }
    // The picture file is read back as the printing side will read it; a
    // file that does not load is made once more before giving up.
    Picture picture;
    PictureLoad load = PictureLoad::kNotPicture;
    for (int attempt = 0; attempt < 2 && load == PictureLoad::kNotPicture; ++attempt) {
        if (attempt > 0 && ConvertToBmp24(files_, path, pictureFile_) != kBmp24Done) break;
        const FileRead read = files_.Read(pictureFile_, kMaxPictureBytes + 1078);
        if (read.error == FileReadError::kTooLarge) {
            load = PictureLoad::kTooLarge;
        } else if (read.error == FileReadError::kNone) {
            load = LoadPicture24(read.bytes, &picture);
        }
    }
    if (load != PictureLoad::kLoaded) {
        PreviewError(controls, load == PictureLoad::kTooLarge ? kTooLarge : kFileMissing);
        return false;
    }
    shared_.loaded = std::move(picture);
    shared_.reload = false;
    return true;
}

void WatermarkPage::PaintPreview(plat::Controls& controls) {
    const int kind = ShownKind(controls);
    const Picture none;
    if (kind == kNoWatermark) {
        shared_.reload = true;
        graphics_.PaintFrame(none, {}, false);
        return;
    }
    Picture shown;
    if (kind == kBitmapWatermark) {
        const std::string path = controls.GetText(IDC_WM_BITMAP_PATH);
        if (path.empty() || (shared_.reload && !LoadBitmap(controls, path))) {
            if (path.empty()) shared_.reload = true;
            graphics_.PaintFrame(none, {}, false);
            return;
        }
        shown.width = shared_.loaded.width;
        shown.height = shared_.loaded.height;
        shown.pixels.resize(shared_.loaded.pixels.size());
        // Taken from the loaded pixels every time, so brightness never adds up.
        Brighten(shared_.loaded.pixels, Byte(controls.Position(IDC_WM_BRIGHTNESS), 0, kMaxBrightness), shown.pixels);
    } else {
        shared_.reload = true;
        StoreRecordTextFilling(devmode_.szWatermarkText, ShownText(controls));
        shown = DrawTextPicture(controls);
        Brighten(shown.pixels, Byte(controls.Position(IDC_WM_BRIGHTNESS), 0, kMaxBrightness), shown.pixels);
    }
    const int position = controls.Selection(IDC_WM_POSITION);
    const std::vector<Blit> blits =
        PreviewLayout(graphics_.FrameSize(), {shown.width, shown.height}, controls.Position(IDC_WM_SIZE), position);
    graphics_.PaintFrame(shown, blits, kind == kTextWatermark);
}

bool WatermarkPage::OnApply(plat::Controls& controls) {
    const int kind = ShownKind(controls);
    devmode_.bWatermarkType = static_cast<std::uint8_t>(kind);
    if (kind != kNoWatermark) devmode_.bTextAsGraphics = 1;

    const int position = controls.Selection(IDC_WM_POSITION);
    if (position >= 0) devmode_.bWatermarkPosition = Byte(position, 0, kTiledPosition);
    devmode_.bWatermarkSize = Byte(controls.Position(IDC_WM_SIZE), 0, kMaxSize);
    devmode_.bWatermarkBrightness = Byte(controls.Position(IDC_WM_BRIGHTNESS), 0, kMaxBrightness);
    devmode_.bWatermarkFontSize =
        Byte(Number(controls.GetText(IDC_WM_FONT_SIZE)), kMinWatermarkFontSize, kMaxWatermarkFontSize);
    devmode_.dwWatermarkAngle = static_cast<std::uint32_t>(std::clamp(controls.Position(IDC_WM_ANGLE), 0, kMaxAngle));
    const int style = controls.Selection(IDC_WM_STYLE);
    if (style >= 0) devmode_.bWatermarkFontStyle = Byte(style, 0, kWatermarkStyles.size() - 1);

    if (kind == kBitmapWatermark) {
        const std::string path = controls.GetText(IDC_WM_BITMAP_PATH);
        if (RecordTextUnits(path) < std::size(devmode_.szWatermarkBitmap)) {
            StoreRecordText(devmode_.szWatermarkBitmap, path);
        }
    } else if (kind == kTextWatermark) {
        StoreRecordTextFilling(devmode_.szWatermarkText, ShownText(controls));
        const int face = controls.Selection(IDC_WM_FONT);
        if (face >= 0) StoreRecordText(devmode_.szWatermarkFont, controls.ItemText(IDC_WM_FONT, face));
        // The printing side reads the text from this picture: an apply that
        // cannot write it is not reported as done.
        if (!files_.Write(pictureFile_, TextPictureFile(DrawTextPicture(controls)))) {
            controls.ShowMessage(kNeedsAdministrator, kErrorCaption, plat::kMbOk | plat::kMbIconError);
            return false;
        }
    }
    controls.NotifySheetChanged(false);
    return true;
}

}  // namespace plugin
