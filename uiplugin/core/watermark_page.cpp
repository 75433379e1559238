#include "core/watermark_page.h"

#include <algorithm>
#include <charconv>
#include <string>

#include "control_exchange.h"
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

int TakeFontSize(std::string_view text, int low, int high) {
    return std::clamp(Number(text), low, high);
}

const PrivateDevmode& Devmode(const void* record) {
    return *static_cast<const PrivateDevmode*>(record);
}
PrivateDevmode& Devmode(void* record) {
    return *static_cast<PrivateDevmode*>(record);
}

// The record keeps the bitmap's path with its terminator in its fixed field:
// a longer path is refused, never cut. The text fills its sixteen units.
constexpr plat::TextField kBitmapPath{
    [](const void* record) { return ReadRecordText(Devmode(record).szWatermarkBitmap); },
    [](void* record, std::string_view path) {
        if (RecordTextUnits(path) >= std::size(Devmode(record).szWatermarkBitmap)) return false;
        StoreRecordText(Devmode(record).szWatermarkBitmap, path);
        return true;
    }};
constexpr plat::TextField kText{[](const void* record) { return ReadRecordText(Devmode(record).szWatermarkText); },
                                [](void* record, std::string_view text) {
                                    StoreRecordTextFilling(Devmode(record).szWatermarkText, text);
                                    return true;
                                }};
constexpr plat::TextField kFace{[](const void* record) { return ReadRecordText(Devmode(record).szWatermarkFont); },
                                [](void* record, std::string_view face) {
                                    StoreRecordText(Devmode(record).szWatermarkFont, face);
                                    return true;
                                }};

bool ShowsBitmap(const PrivateDevmode& devmode) {
    return devmode.bWatermarkType == kBitmapWatermark;
}
bool ShowsText(const PrivateDevmode& devmode) {
    return devmode.bWatermarkType == kTextWatermark;
}

constexpr int kKindRadios[] = {IDC_WM_NONE, IDC_WM_BITMAP, IDC_WM_TEXT};
constexpr int kSliders[] = {IDC_WM_ANGLE, IDC_WM_SIZE, IDC_WM_BRIGHTNESS};

// The kind comes first: on apply the bitmap's path is taken for a bitmap
// only, the text and its face for a text only (a page that shows no text
// still shows a stock text in its list). A kind the page does not know shows
// as no watermark; the faces and styles are filled by the page.
constexpr plat::ExchangeRow kWatermarkRows[] = {
    plat::Radios(kKindRadios, PLAT_FIELD(PrivateDevmode, bWatermarkType), kNoWatermark),
    plat::Text(IDC_WM_BITMAP_PATH, kBitmapPath)
        .Flags(plat::kReadOnly)
        .StoredWhen(plat::RecordMeets<PrivateDevmode, ShowsBitmap>),
    plat::ComboText(IDC_WM_TEXT_LIST, kText, kWatermarkStockTexts,
                    std::extent_v<decltype(PrivateDevmode::szWatermarkText)>)
        .StoredWhen(plat::RecordMeets<PrivateDevmode, ShowsText>),
    plat::ItemText(IDC_WM_FONT, kFace).StoredWhen(plat::RecordMeets<PrivateDevmode, ShowsText>),
    plat::List(IDC_WM_STYLE, PLAT_FIELD(PrivateDevmode, bWatermarkFontStyle), {}, 0),
    plat::Number(IDC_WM_FONT_SIZE, PLAT_FIELD(PrivateDevmode, bWatermarkFontSize),
                 {.spin = IDC_WM_FONT_SIZE_SPIN,
                  .digits = 2,
                  .low = kMinWatermarkFontSize,
                  .high = kMaxWatermarkFontSize,
                  .take = TakeFontSize})
        .Flags(plat::kShowsStored | plat::kTypedBelowLow),
    plat::Slider(IDC_WM_ANGLE, PLAT_FIELD(PrivateDevmode, dwWatermarkAngle), 0, kMaxAngle, IDC_WM_ANGLE_LABEL),
    plat::Slider(IDC_WM_SIZE, PLAT_FIELD(PrivateDevmode, bWatermarkSize), 0, kMaxSize, IDC_WM_SIZE_LABEL),
    plat::Slider(IDC_WM_BRIGHTNESS, PLAT_FIELD(PrivateDevmode, bWatermarkBrightness), 0, kMaxBrightness,
                 IDC_WM_BRIGHTNESS_LABEL),
    plat::List(IDC_WM_POSITION, PLAT_FIELD(PrivateDevmode, bWatermarkPosition), kWatermarkPositions),
};
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
    controls.ClearItems(IDC_WM_FONT);
    for (const std::string& face : graphics_.TrueTypeFaces()) controls.AddItem(IDC_WM_FONT, face);
    controls.ClearItems(IDC_WM_STYLE);
    for (const WatermarkStyle& style : kWatermarkStyles) controls.AddItem(IDC_WM_STYLE, style.text);
    plat::SetUpControls(controls, kWatermarkRows);
    plat::LoadControls(controls, kWatermarkRows, &devmode_);
    EnableFor(controls, ShownKind(controls));
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

void WatermarkPage::Changed(plat::Controls& controls) {
    controls.NotifySheetChanged(true);
    PaintPreview(controls);
}

void WatermarkPage::OnCommand(plat::Controls& controls, int id, int notifyCode) {
    if (loading_) return;
    switch (id) {
        case IDC_WM_NONE:
        case IDC_WM_BITMAP:
        case IDC_WM_TEXT:
            if (notifyCode == plat::kBnClicked) ChooseKind(controls, id);
            return;
        case IDC_WM_BROWSE:
            if (notifyCode == plat::kBnClicked) Browse(controls);
            return;
        case IDC_WM_TEXT_LIST:
            if (notifyCode != plat::kCbnSelChange && notifyCode != plat::kCbnEditChange) return;
            plat::StoreControl(controls, kWatermarkRows, &devmode_, id);
            Changed(controls);
            return;
        case IDC_WM_FONT:
        case IDC_WM_STYLE:
        case IDC_WM_POSITION:
            if (notifyCode != plat::kCbnSelEndOk || !plat::StoreControl(controls, kWatermarkRows, &devmode_, id)) {
                return;
            }
            if (id == IDC_WM_POSITION && KeepTiledMinimum(controls)) {
                plat::StoreControl(controls, kWatermarkRows, &devmode_, IDC_WM_SIZE);
            }
            Changed(controls);
            return;
        case IDC_WM_FONT_SIZE:
            if (notifyCode != plat::kEnChange && notifyCode != plat::kEnKillFocus) return;
            CorrectFontSize(controls, notifyCode == plat::kEnKillFocus);
            plat::StoreControl(controls, kWatermarkRows, &devmode_, id);
            Changed(controls);
            return;
        case IDC_WM_FONT_SIZE_SPIN:
            plat::StoreControl(controls, kWatermarkRows, &devmode_, id);
            Changed(controls);
            return;
        case IDC_WM_ANGLE:
        case IDC_WM_SIZE:
        case IDC_WM_BRIGHTNESS:
            if (notifyCode != plat::kSliderScroll) return;
            KeepTiledMinimum(controls);
            for (int slider : kSliders) plat::StoreControl(controls, kWatermarkRows, &devmode_, slider);
            Changed(controls);
            return;
    }
}

void WatermarkPage::ChooseKind(plat::Controls& controls, int radio) {
    plat::StoreControl(controls, kWatermarkRows, &devmode_, radio);
    const int kind = devmode_.bWatermarkType;
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

bool WatermarkPage::KeepTiledMinimum(plat::Controls& controls) {
    if (devmode_.bWatermarkPosition != kTiledPosition || controls.Position(IDC_WM_SIZE) >= kTiledMinimumSize) {
        return false;
    }
    controls.SetPosition(IDC_WM_SIZE, kTiledMinimumSize);
    return true;
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
            plat::StoreControl(controls, kWatermarkRows, &devmode_, IDC_WM_BITMAP_PATH);
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

void WatermarkPage::CorrectFontSize(plat::Controls& controls, bool leaving) {
    // While the size is typed only its maximum holds ("1" may become "12");
    // leaving the box raises it to the minimum.
    const int typed = Number(controls.GetText(IDC_WM_FONT_SIZE));
    int size = std::min(typed, kMaxWatermarkFontSize);
    if (leaving) size = std::max(size, kMinWatermarkFontSize);
    if (size == typed) return;
    loading_ = true;
    controls.SetText(IDC_WM_FONT_SIZE, std::to_string(size));
    controls.SetPosition(IDC_WM_FONT_SIZE_SPIN, size);
    loading_ = false;
}

TextFont WatermarkPage::ShownFont(plat::Controls& controls) {
    TextFont font;
    const int face = controls.Selection(IDC_WM_FONT);
    if (face >= 0) font.face = controls.ItemText(IDC_WM_FONT, face);
    font.pointSize = TakeFontSize(controls.GetText(IDC_WM_FONT_SIZE), kMinWatermarkFontSize, kMaxWatermarkFontSize);
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
        plat::StoreControl(controls, kWatermarkRows, &devmode_, IDC_WM_TEXT_LIST);
        shown = DrawTextPicture(controls);
        Brighten(shown.pixels, Byte(controls.Position(IDC_WM_BRIGHTNESS), 0, kMaxBrightness), shown.pixels);
    }
    const int position = controls.Selection(IDC_WM_POSITION);
    const std::vector<Blit> blits =
        PreviewLayout(graphics_.FrameSize(), {shown.width, shown.height}, controls.Position(IDC_WM_SIZE), position);
    graphics_.PaintFrame(shown, blits, kind == kTextWatermark);
}

bool WatermarkPage::OnApply(plat::Controls& controls) {
    // A bitmap path too long for the record leaves the record's own.
    plat::StoreControls(controls, kWatermarkRows, &devmode_);
    const int kind = devmode_.bWatermarkType;
    if (kind != kNoWatermark) devmode_.bTextAsGraphics = 1;
    if (kind == kTextWatermark) {
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
