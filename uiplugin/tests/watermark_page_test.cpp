#include "core/watermark_page.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/record_text.h"
#include "core/watermark_preview.h"
#include "fake_watermark_files.h"
#include "fake_watermark_graphics.h"
#include "test_bitmaps.h"
#include "resource.h"
#include "sim/sim_controls.h"
#include "tests/exchange_round_trip.h"

namespace {

using namespace plugin;

// ---- The preview's arithmetic ----

TEST(WatermarkLayout, HalfSizeInTheMiddleIsCentredBothWays) {
    // A 200 x 100 picture at half the width of a 100 x 140 frame: 50 x 25.
    const std::vector<Blit> blits = PreviewLayout({100, 140}, {200, 100}, 50, 4);
    ASSERT_EQ(blits.size(), 1u);
    EXPECT_EQ(blits[0].target, (PixelRect{25, 57, 50, 25}));
    EXPECT_EQ(blits[0].source, (PixelRect{0, 0, 200, 100}));
}

TEST(WatermarkLayout, EveryPositionAtFullSize) {
    // A tall picture: only the rows that fit the frame at full width show,
    // taken from the top, the middle or the bottom as the position says.
    struct Case {
        int position;
        PixelRect target;
        int firstRow;
    };
    const Case cases[] = {
        {0, {0, 0, 100, 140}, 0},  {1, {0, 0, 100, 140}, 0},  {2, {0, 0, 100, 140}, 0},
        {3, {0, 0, 100, 140}, 30}, {4, {0, 0, 100, 140}, 30}, {5, {0, 0, 100, 140}, 30},
        {6, {0, 0, 100, 140}, 60}, {7, {0, 0, 100, 140}, 60}, {8, {0, 0, 100, 140}, 60},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.position);
        const std::vector<Blit> blits = PreviewLayout({100, 140}, {50, 130}, 100, c.position);
        ASSERT_EQ(blits.size(), 1u);
        EXPECT_EQ(blits[0].target, c.target);
        EXPECT_EQ(blits[0].source, (PixelRect{0, c.firstRow, 50, 70}));
    }
    // A wide picture leaves the rest of the frame white: left, centre, right
    // columns and top, middle, bottom rows.
    const PixelRect small[] = {{0, 0, 60, 30},   {20, 0, 60, 30},   {40, 0, 60, 30},
                               {0, 55, 60, 30},  {20, 55, 60, 30},  {40, 55, 60, 30},
                               {0, 110, 60, 30}, {20, 110, 60, 30}, {40, 110, 60, 30}};
    for (int position = 0; position < 9; ++position) {
        SCOPED_TRACE(position);
        const std::vector<Blit> blits = PreviewLayout({100, 140}, {200, 100}, 60, position);
        ASSERT_EQ(blits.size(), 1u);
        EXPECT_EQ(blits[0].target, small[position]);
    }
}

TEST(WatermarkLayout, TiledFillsTheFrameWithWholeAndCutTiles) {
    // Size 10 is raised to 20: five columns of 20 pixels, tiles 10 high.
    const std::vector<Blit> blits = PreviewLayout({100, 45}, {40, 20}, 10, kTiledPosition);
    ASSERT_EQ(blits.size(), 5u * 5u);  // per column four whole tiles and one cut
    for (int column = 0; column < 5; ++column) {
        for (int tile = 0; tile < 4; ++tile) {
            EXPECT_EQ(blits[column * 5 + tile].target, (PixelRect{20 * column, 10 * tile, 20, 10}));
            EXPECT_EQ(blits[column * 5 + tile].source, (PixelRect{0, 0, 40, 20}));
        }
        EXPECT_EQ(blits[column * 5 + 4].target, (PixelRect{20 * column, 40, 20, 5}));
        EXPECT_EQ(blits[column * 5 + 4].source, (PixelRect{0, 0, 40, 10}));  // the picture's top half
    }
    // At 30 %: three columns of 31, a strip of 7 showing the picture's left part.
    const std::vector<Blit> strip = PreviewLayout({103, 31}, {31, 31}, 30, kTiledPosition);
    ASSERT_EQ(strip.size(), 4u * 2u);  // one whole tile and a one-pixel cut per column
    EXPECT_EQ(strip[6].target, (PixelRect{90, 0, 13, 30}));
    EXPECT_EQ(strip[6].source, (PixelRect{0, 0, 13, 31}));
    EXPECT_EQ(strip[7].target, (PixelRect{90, 30, 13, 1}));
    EXPECT_EQ(strip[7].source, (PixelRect{0, 0, 13, 1}));
}

TEST(WatermarkLayout, NothingToPlace) {
    EXPECT_TRUE(PreviewLayout({100, 140}, {0, 0}, 50, 4).empty());
    EXPECT_TRUE(PreviewLayout({0, 0}, {10, 10}, 50, 4).empty());
    EXPECT_TRUE(PreviewLayout({100, 140}, {10, 10}, 0, 4).empty());
    EXPECT_TRUE(PreviewLayout({100, 140}, {1000, 1}, 50, kTiledPosition).empty());  // tiles of no height
}

TEST(WatermarkLayout, RotatedTextIsCentredOnThePicture) {
    struct Case {
        PixelSize text;
        int angle;
        TextOrigin origin;
    };
    const Case cases[] = {
        {{120, 20}, 0, {90, 160}},  // starts half its width left, baseline half its height down
        {{121, 21}, 0, {90, 160}},  // halves are whole numbers
        // The factor a hair above pi/180 leaves the sine or cosine of a
        // right angle just short, and truncation takes a pixel off.
        {{120, 20}, 90, {160, 209}},   // turned up: starts below the centre
        {{120, 20}, 180, {209, 140}},  // upside down
        {{120, 20}, 45, {115, 199}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.angle);
        EXPECT_EQ(CentredTextOrigin(c.text, c.angle), c.origin);
    }
}

// ---- The page ----

std::vector<std::uint8_t> Bmp(int width, int height, int bits, std::uint32_t offset, std::uint8_t fill) {
    std::vector<std::uint8_t> file = plugin_test::BlankBmp(width, height, bits, offset);
    std::fill(file.begin() + offset, file.end(), fill);
    return file;
}

constexpr const char* kPicture = "C:\\TEMP\\\\KTR-P4101.bmp";

struct WatermarkFixture : testing::Test {
    WatermarkFixture() { files.files["C:\\fotos\\logo.bmp"] = Bmp(40, 20, 24, 54, 0x40); }
    WatermarkPage& Open() {
        page.emplace(devmode, files, graphics, shared, "KTR-P410");
        page->OnInit(sheet);
        return *page;
    }
    void Click(int radio) {
        for (int id : {IDC_WM_NONE, IDC_WM_BITMAP, IDC_WM_TEXT}) sheet.SetCheck(id, id == radio);
        page->OnCommand(sheet, radio, plat::kBnClicked);
    }
    void Browse(const std::string& path) {
        files.answers.push_back(path);
        page->OnCommand(sheet, IDC_WM_BROWSE, plat::kBnClicked);
    }
    void Choose(int id, int index) {
        sheet.Select(id, index);
        page->OnCommand(sheet, id, plat::kCbnSelEndOk);
    }
    void Slide(int id, int position) {
        sheet.SetPosition(id, position);
        page->OnCommand(sheet, id, plat::kSliderScroll);
    }
    std::vector<std::string> Messages() {
        std::vector<std::string> texts;
        for (const auto& box : sheet.boxes) texts.push_back(box.text);
        return texts;
    }

    PrivateDevmode devmode = DefaultPrivateDevmode();
    plugin_test::FakeWatermarkFiles files;
    plugin_test::FakeWatermarkGraphics graphics;
    WatermarkProcessState shared;
    sim::SimControls sheet;
    std::optional<WatermarkPage> page;
};

TEST_F(WatermarkFixture, PictureFileIsNamedAfterThePrinter) {
    EXPECT_EQ(Open().PictureFile(), kPicture);
}

TEST_F(WatermarkFixture, KindsEnableTheirControls) {
    const int bitmapOnly[] = {IDC_WM_BITMAP_PATH, IDC_WM_BROWSE};
    const int textOnly[] = {IDC_WM_TEXT_LIST, IDC_WM_FONT,           IDC_WM_STYLE,
                            IDC_WM_FONT_SIZE, IDC_WM_FONT_SIZE_SPIN, IDC_WM_ANGLE};
    const int common[] = {IDC_WM_POSITION, IDC_WM_SIZE, IDC_WM_BRIGHTNESS};
    struct Case {
        std::uint8_t stored;
        int radio;
    };
    for (const Case& c : {Case{0, IDC_WM_NONE}, Case{1, IDC_WM_BITMAP}, Case{2, IDC_WM_TEXT}, Case{7, IDC_WM_NONE}}) {
        SCOPED_TRACE(int{c.stored});
        sheet = sim::SimControls();
        devmode.bWatermarkType = c.stored;
        Open();
        for (int radio : {IDC_WM_NONE, IDC_WM_BITMAP, IDC_WM_TEXT}) EXPECT_EQ(sheet.IsChecked(radio), radio == c.radio);
        for (int id : bitmapOnly) EXPECT_EQ(sheet.IsEnabled(id), c.radio == IDC_WM_BITMAP) << id;
        for (int id : textOnly) EXPECT_EQ(sheet.IsEnabled(id), c.radio == IDC_WM_TEXT) << id;
        for (int id : common) EXPECT_EQ(sheet.IsEnabled(id), c.radio != IDC_WM_NONE) << id;
    }
    EXPECT_EQ(devmode.bWatermarkType, 7);  // showing a foreign value changes nothing
}

TEST_F(WatermarkFixture, OpensOnTheRecordsSettings) {
    StoreRecordText(devmode.szWatermarkFont, "Courier");
    StoreRecordText(devmode.szWatermarkBitmap, "C:\\fotos\\logo.bmp");
    devmode.bWatermarkFontStyle = 3;
    Open();
    EXPECT_TRUE(sheet.Get(IDC_WM_BITMAP_PATH).readOnly);
    EXPECT_EQ(sheet.Text(IDC_WM_BITMAP_PATH), "C:\\fotos\\logo.bmp");
    EXPECT_EQ(sheet.SelectedText(IDC_WM_TEXT_LIST), "CONFIDENCIAL");  // no text yet
    EXPECT_EQ(sheet.Get(IDC_WM_TEXT_LIST).items.size(), kWatermarkStockTexts.size());
    EXPECT_EQ(sheet.Get(IDC_WM_TEXT_LIST).textLimit, 16);
    EXPECT_EQ(sheet.SelectedText(IDC_WM_FONT), "Courier New");
    EXPECT_EQ(sheet.SelectedText(IDC_WM_STYLE), "Negrito Itálico");
    EXPECT_EQ(sheet.Text(IDC_WM_FONT_SIZE), "50");
    EXPECT_EQ(sheet.Get(IDC_WM_FONT_SIZE).textLimit, 2);
    EXPECT_EQ(sheet.Position(IDC_WM_ANGLE), 45);
    EXPECT_EQ(sheet.Get(IDC_WM_ANGLE).high, 360);
    EXPECT_EQ(sheet.Get(IDC_WM_BRIGHTNESS).high, 255);
    EXPECT_EQ(sheet.Text(IDC_WM_ANGLE_LABEL), "45");
    EXPECT_EQ(sheet.Text(IDC_WM_SIZE_LABEL), "100");
    EXPECT_EQ(sheet.Text(IDC_WM_BRIGHTNESS_LABEL), "50");
    EXPECT_EQ(sheet.SelectedText(IDC_WM_POSITION), "Meio Centralizado");
    EXPECT_TRUE(sheet.sheetChanges.empty());

    // A text of the record that is no stock text is shown as typed.
    sheet = sim::SimControls();
    StoreRecordText(devmode.szWatermarkText, "LOJA");
    Open();
    EXPECT_EQ(sheet.Selection(IDC_WM_TEXT_LIST), -1);
    EXPECT_EQ(sheet.Text(IDC_WM_TEXT_LIST), "LOJA");

    // A foreign record's angle past an int's range is past the top, not
    // below the bottom.
    sheet = sim::SimControls();
    devmode.dwWatermarkAngle = 0xFFFFFFFFu;
    Open();
    EXPECT_EQ(sheet.Position(IDC_WM_ANGLE), 360);
}

TEST_F(WatermarkFixture, ChoosingAWatermarkTurnsTextAsGraphicsOnOnce) {
    devmode.bTextAsGraphics = 0;
    Open();
    Click(IDC_WM_TEXT);
    EXPECT_EQ(devmode.bWatermarkType, 2);
    EXPECT_EQ(devmode.bTextAsGraphics, 1);
    ASSERT_EQ(sheet.boxes.size(), 1u);
    EXPECT_EQ(sheet.boxes[0].text, "Todo texto será impresso como gráfico!");
    EXPECT_EQ(sheet.boxes[0].caption, "informação");
    Click(IDC_WM_BITMAP);
    EXPECT_EQ(sheet.boxes.size(), 1u);
    EXPECT_TRUE(sheet.IsEnabled(IDC_WM_BROWSE));
    Click(IDC_WM_NONE);
    EXPECT_EQ(devmode.bWatermarkType, 0);
    EXPECT_EQ(devmode.bTextAsGraphics, 1);  // never reset here
    EXPECT_FALSE(sheet.IsEnabled(IDC_WM_POSITION));
    EXPECT_EQ(sheet.sheetChanges, (std::vector<bool>{true, true, true}));
    EXPECT_EQ(graphics.painted.size(), 3u);  // the preview follows every change
}

TEST_F(WatermarkFixture, BrowseConvertsOrSaysWhy) {
    files.files["C:\\fotos\\quatro.bmp"] = Bmp(8, 8, 4, 118, 0);
    files.files["C:\\fotos\\trinta.bmp"] = Bmp(8, 8, 32, 54, 0);
    files.files["C:\\fotos\\enorme.bmp"] = Bmp(2000, 2000, 24, 54, 0);
    const std::string longPath = "C:\\" + std::string(121, 'p') + ".bmp";  // 128 characters
    files.files[longPath] = Bmp(4, 4, 24, 54, 0);
    struct Case {
        std::string chosen;
        const char* message;  // nothing: taken
    };
    const Case cases[] = {
        {"C:\\fotos\\quatro.bmp", "Certifique-se de que o bitmap especificado é de 1/8/24 bits!"},
        {"C:\\fotos\\trinta.bmp", "Certifique-se de que o bitmap especificado é de 1/8/24 bits!"},
        {"C:\\fotos\\nada.bmp", "Certifique-se de que o bitmap especificado é de 1/8/24 bits!"},
        {"C:\\fotos\\enorme.bmp", "O bitmap selecionado é muito grande!"},
        {longPath, "O caminho do arquivo é longo demais!"},
        {"", "O nome do arquivo não foi definido!"},
        {"C:\\fotos\\logo.bmp", nullptr},
    };
    Open();
    Click(IDC_WM_BITMAP);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chosen);
        sheet.boxes.clear();
        const std::vector<bool> changes = sheet.sheetChanges;
        Browse(c.chosen);
        EXPECT_EQ(sheet.sheetChanges, changes);  // choosing a file is no change of the sheet
        if (c.message) {
            EXPECT_EQ(Messages(), std::vector<std::string>{c.message});
            EXPECT_EQ(sheet.boxes[0].caption, "Erro");
            EXPECT_EQ(ReadRecordText(devmode.szWatermarkBitmap), "");
            EXPECT_EQ(sheet.Text(IDC_WM_BITMAP_PATH), "");
            EXPECT_FALSE(files.files.count(kPicture));  // nothing written for a refused file
        } else {
            EXPECT_TRUE(sheet.boxes.empty());
            EXPECT_EQ(ReadRecordText(devmode.szWatermarkBitmap), c.chosen);
            EXPECT_EQ(sheet.Text(IDC_WM_BITMAP_PATH), c.chosen);
            EXPECT_EQ(files.files[kPicture], files.files[c.chosen]);
            ASSERT_FALSE(graphics.painted.empty());
            EXPECT_EQ(graphics.painted.back().picture.width, 40);
        }
    }
    // The picture file cannot be made: every time, not once.
    files.unwritable.insert(kPicture);
    for (int i = 0; i < 2; ++i) {
        sheet.boxes.clear();
        Browse("C:\\fotos\\logo.bmp");
        EXPECT_EQ(Messages(), std::vector<std::string>{"Favor checar se o usuário tem privilégios de Administrador!"});
    }
}

TEST_F(WatermarkFixture, PreviewLoadsTheBitmapOnceAndLightensFromTheLoadedPixels) {
    StoreRecordText(devmode.szWatermarkBitmap, "C:\\fotos\\logo.bmp");
    devmode.bWatermarkType = 1;
    Open();
    page->PaintPreview(sheet);
    Slide(IDC_WM_BRIGHTNESS, 100);
    Slide(IDC_WM_BRIGHTNESS, 100);
    page->PaintPreview(sheet);
    EXPECT_EQ(std::count(files.reads.begin(), files.reads.end(), "C:\\fotos\\logo.bmp"), 1);
    ASSERT_EQ(graphics.painted.size(), 4u);
    EXPECT_EQ(graphics.painted[0].picture.pixels[0], 0x40 + 50);  // the record's brightness
    for (std::size_t i = 1; i < 4; ++i) EXPECT_EQ(graphics.painted[i].picture.pixels[0], 0x40 + 100);
    EXPECT_EQ(shared.loaded.pixels[0], 0x40);
    EXPECT_FALSE(graphics.painted.back().text);
    Slide(IDC_WM_BRIGHTNESS, 255);
    const auto& white = graphics.painted.back().picture.pixels;
    EXPECT_TRUE(std::all_of(white.begin(), white.end(), [](std::uint8_t b) { return b == 0xFF; }));
    Slide(IDC_WM_BRIGHTNESS, 0);
    EXPECT_EQ(graphics.painted.back().picture.pixels, shared.loaded.pixels);
}

TEST_F(WatermarkFixture, PreviewReportsAFileErrorOncePerProcess) {
    StoreRecordText(devmode.szWatermarkBitmap, "C:\\fotos\\sumiu.bmp");
    devmode.bWatermarkType = 1;
    Open();
    page->PaintPreview(sheet);
    page->PaintPreview(sheet);
    // A second page of the same process stays quiet too.
    sim::SimControls second;
    WatermarkPage other(devmode, files, graphics, shared, "KTR-P410");
    other.OnInit(second);
    other.PaintPreview(second);
    EXPECT_EQ(Messages(), std::vector<std::string>{"O arquivo especificado não existe!"});
    EXPECT_TRUE(second.boxes.empty());
    EXPECT_TRUE(shared.reload);
    EXPECT_TRUE(graphics.painted.back().blits.empty());  // a white frame
}

TEST_F(WatermarkFixture, PreviewRefusesAPictureOverTenMebibytes) {
    // Over the limit by one row: converted by someone else, found in the file.
    files.files["C:\\fotos\\grande.bmp"] = Bmp(1000, 3500, 24, 54, 0);
    StoreRecordText(devmode.szWatermarkBitmap, "C:\\fotos\\grande.bmp");
    devmode.bWatermarkType = 1;
    Open();
    page->PaintPreview(sheet);
    EXPECT_EQ(Messages(), std::vector<std::string>{"O bitmap selecionado é muito grande!"});
    EXPECT_TRUE(graphics.painted.back().blits.empty());
}

TEST_F(WatermarkFixture, TextFillsItsSixteenUnitsWithoutTouchingTheFont) {
    StoreRecordText(devmode.szWatermarkFont, "Arial");
    const PrivateDevmode before = devmode;
    Open();
    Click(IDC_WM_TEXT);
    sheet.Select(IDC_WM_TEXT_LIST, 1);
    page->OnCommand(sheet, IDC_WM_TEXT_LIST, plat::kCbnSelChange);
    EXPECT_EQ(ReadRecordText(devmode.szWatermarkText), "FAVOR NÃO COPIAR");
    EXPECT_NE(devmode.szWatermarkText[15], u'\0');
    EXPECT_EQ(std::memcmp(devmode.szWatermarkFont, before.szWatermarkFont, sizeof devmode.szWatermarkFont), 0);

    sheet.Select(IDC_WM_TEXT_LIST, -1);
    sheet.Type(IDC_WM_TEXT_LIST, "PROMOÇÃO DE NATAL 2026");  // more than the box takes
    page->OnCommand(sheet, IDC_WM_TEXT_LIST, plat::kCbnEditChange);
    EXPECT_EQ(ReadRecordText(devmode.szWatermarkText), "PROMOÇÃO DE NATA");
    EXPECT_EQ(ReadRecordText(devmode.szWatermarkFont), "Arial");
    // The preview draws the typed text centred.
    ASSERT_FALSE(graphics.drawn.empty());
    EXPECT_EQ(graphics.drawn.back().text, "PROMOÇÃO DE NATA");
    EXPECT_EQ(graphics.drawn.back().font.face, "Arial");
    EXPECT_EQ(graphics.drawn.back().font.angle, 45);
    EXPECT_TRUE(graphics.painted.back().text);
}

TEST_F(WatermarkFixture, FontSizeIsKeptWithinItsRange) {
    devmode.bWatermarkType = 2;
    Open();
    struct Case {
        const char* typed;
        int notify;
        const char* shown;
        int stored;
    };
    const Case cases[] = {
        {"99", plat::kEnChange, "72", 72}, {"5", plat::kEnChange, "5", 5},  // still typing
        {"5", plat::kEnKillFocus, "8", 8}, {"30", plat::kEnChange, "30", 30}, {"", plat::kEnKillFocus, "8", 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        sheet.Type(IDC_WM_FONT_SIZE, c.typed);
        page->OnCommand(sheet, IDC_WM_FONT_SIZE, c.notify);
        EXPECT_EQ(sheet.Text(IDC_WM_FONT_SIZE), c.shown);
        EXPECT_EQ(devmode.bWatermarkFontSize, c.stored);
    }
    EXPECT_EQ(sheet.Position(IDC_WM_FONT_SIZE_SPIN), 8);
    sheet.Type(IDC_WM_FONT_SIZE, "12");
    page->OnCommand(sheet, IDC_WM_FONT_SIZE_SPIN, plat::kSliderScroll);
    EXPECT_EQ(devmode.bWatermarkFontSize, 12);
}

TEST_F(WatermarkFixture, TiledPositionTakesAtLeastTwentyPercent) {
    devmode.bWatermarkType = 1;
    Open();
    Slide(IDC_WM_SIZE, 10);
    EXPECT_EQ(devmode.bWatermarkSize, 10);
    Choose(IDC_WM_POSITION, kTiledPosition);
    EXPECT_EQ(devmode.bWatermarkPosition, 9);
    EXPECT_EQ(devmode.bWatermarkSize, 20);
    EXPECT_EQ(sheet.Position(IDC_WM_SIZE), 20);
    EXPECT_EQ(sheet.Text(IDC_WM_SIZE_LABEL), "20");
    Slide(IDC_WM_SIZE, 5);
    EXPECT_EQ(devmode.bWatermarkSize, 20);
    Slide(IDC_WM_SIZE, 100);
    EXPECT_EQ(devmode.bWatermarkSize, 100) << "the record holds the largest size before any apply";
    Slide(IDC_WM_ANGLE, 90);
    EXPECT_EQ(devmode.dwWatermarkAngle, 90u);
    EXPECT_EQ(sheet.Text(IDC_WM_ANGLE_LABEL), "90");
    Choose(IDC_WM_STYLE, 2);
    Choose(IDC_WM_FONT, 2);
    EXPECT_EQ(devmode.bWatermarkFontStyle, 2);
    EXPECT_EQ(ReadRecordText(devmode.szWatermarkFont), "Times New Roman");
}

TEST_F(WatermarkFixture, ApplyingTextWritesItsPictureFile) {
    Open();
    Click(IDC_WM_TEXT);
    Choose(IDC_WM_FONT, 1);
    Slide(IDC_WM_ANGLE, 0);
    Slide(IDC_WM_BRIGHTNESS, 200);
    sheet.sheetChanges.clear();
    EXPECT_TRUE(page->OnApply(sheet));
    EXPECT_EQ(sheet.sheetChanges, std::vector<bool>{false});
    EXPECT_EQ(devmode.bWatermarkType, 2);
    EXPECT_EQ(ReadRecordText(devmode.szWatermarkText), "CONFIDENCIAL");
    EXPECT_EQ(ReadRecordText(devmode.szWatermarkFont), "Courier New");
    EXPECT_EQ(devmode.bWatermarkBrightness, 200);
    const std::vector<std::uint8_t>& file = files.files[kPicture];
    ASSERT_EQ(file.size(), kTextPictureFileSize);
    // "CONFIDENCIAL" is 120 x 20: drawn from (90, 160), black, no brightness.
    EXPECT_EQ(graphics.drawn.back().x, 90);
    EXPECT_EQ(graphics.drawn.back().y, 160);
    const std::size_t blackPixel = 54 + (299 - 150) * 900 + 3 * 100;
    EXPECT_EQ(file[blackPixel], 0);
    EXPECT_EQ(file[54], 0xFF);
}

TEST_F(WatermarkFixture, ApplyThatCannotWriteThePictureKeepsTheSheetOpen) {
    files.unwritable.insert(kPicture);
    Open();
    Click(IDC_WM_TEXT);
    sheet.sheetChanges.clear();
    EXPECT_FALSE(page->OnApply(sheet));
    EXPECT_EQ(Messages().back(), "Favor checar se o usuário tem privilégios de Administrador!");
    EXPECT_TRUE(sheet.sheetChanges.empty());
}

TEST_F(WatermarkFixture, ApplyingABitmapStoresItsPath) {
    Open();
    Click(IDC_WM_BITMAP);
    Browse("C:\\fotos\\logo.bmp");
    StoreRecordText(devmode.szWatermarkBitmap, "");
    const int writes = files.writes;
    EXPECT_TRUE(page->OnApply(sheet));
    EXPECT_EQ(ReadRecordText(devmode.szWatermarkBitmap), "C:\\fotos\\logo.bmp");
    EXPECT_EQ(devmode.bWatermarkType, 1);
    EXPECT_EQ(files.writes, writes);  // the picture was written when chosen
}

TEST_F(WatermarkFixture, ExchangesEveryControlWithItsField) {
    using S = PrivateDevmode;
    namespace xt = exchange_test;
    S sample = DefaultPrivateDevmode();
    sample.bWatermarkType = kTextWatermark;
    sample.bTextAsGraphics = 1;
    StoreRecordText(sample.szWatermarkText, "LOJA");
    StoreRecordText(sample.szWatermarkFont, "Courier New");
    sample.bWatermarkFontStyle = 3;
    sample.bWatermarkFontSize = 72;
    sample.dwWatermarkAngle = 360;
    sample.bWatermarkSize = 100;
    sample.bWatermarkBrightness = 255;
    sample.bWatermarkPosition = kTiledPosition;
    auto text = [](const void* record) { return ReadRecordText(static_cast<const S*>(record)->szWatermarkText); };
    auto face = [](const void* record) { return ReadRecordText(static_cast<const S*>(record)->szWatermarkFont); };
    const xt::Edit edits[] = {
        xt::Choose(IDC_WM_NONE, PLAT_FIELD(S, bWatermarkType), kNoWatermark),
        xt::Choose(IDC_WM_BITMAP, PLAT_FIELD(S, bWatermarkType), kBitmapWatermark),
        xt::Choose(IDC_WM_TEXT, PLAT_FIELD(S, bWatermarkType), kTextWatermark),
        xt::PickText(IDC_WM_TEXT_LIST, 1, text, "FAVOR NÃO COPIAR"),
        xt::TypeText(IDC_WM_TEXT_LIST, "PROMOÇÃO", text),
        xt::PickText(IDC_WM_FONT, 2, face, "Times New Roman"),
        xt::Pick(IDC_WM_STYLE, 1, PLAT_FIELD(S, bWatermarkFontStyle), 1),
        xt::Type(IDC_WM_FONT_SIZE, "30", PLAT_FIELD(S, bWatermarkFontSize), 30),
        xt::Type(IDC_WM_FONT_SIZE, "5", PLAT_FIELD(S, bWatermarkFontSize), 8),
        xt::Type(IDC_WM_FONT_SIZE, "99", PLAT_FIELD(S, bWatermarkFontSize), 72),
        xt::Slide(IDC_WM_ANGLE, 90, PLAT_FIELD(S, dwWatermarkAngle), 90),
        xt::Slide(IDC_WM_SIZE, 50, PLAT_FIELD(S, bWatermarkSize), 50),
        xt::Slide(IDC_WM_SIZE, 10, PLAT_FIELD(S, bWatermarkSize), kTiledMinimumSize),
        xt::Slide(IDC_WM_BRIGHTNESS, 128, PLAT_FIELD(S, bWatermarkBrightness), 128),
        xt::Pick(IDC_WM_POSITION, 4, PLAT_FIELD(S, bWatermarkPosition), 4),
    };
    const xt::DialogSteps<S> steps{
        .show = [&](const S& shown) -> sim::SimControls& {
            devmode = shown;
            sheet = sim::SimControls();
            Open();
            return sheet;
        },
        .command = [&](sim::SimControls& controls, int id, int code) { page->OnCommand(controls, id, code); },
        .apply = [&](sim::SimControls& controls) { EXPECT_TRUE(page->OnApply(controls)); },
        .held = [&] { return devmode; },
    };
    xt::ExpectRoundTrip(steps, sample, edits);
}

}  // namespace
