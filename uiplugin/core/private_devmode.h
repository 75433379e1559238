#pragma once
// The plug-in's private device mode: the fixed 1296-byte record that the
// Unidrv driver keeps after the public DEVMODEW of every document, and the
// driver's DevMode call that sizes, defaults, converts and merges it.
//
// The layout is shared with the rendering side of the driver, byte for byte:
// every field sits at a fixed offset (checked below), DWORDs on 4-byte
// boundaries, strings UTF-16 and zero-filled after their terminator.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>
#include <type_traits>

namespace plugin {

// Both of our targets (i686 and x86_64) are little-endian; the record is
// little-endian on disk and in the driver's memory, and we read it in place.
static_assert(std::endian::native == std::endian::little, "the device-mode record is little-endian");

// The letters QTRX as a multi-character constant, first letter in the most
// significant byte: in memory the record's signature bytes read 'X','R','T','Q'.
inline constexpr std::uint32_t kPrivateDevmodeSignature =
    (std::uint32_t{'Q'} << 24) | (std::uint32_t{'T'} << 16) | (std::uint32_t{'R'} << 8) | std::uint32_t{'X'};
inline constexpr std::uint32_t kPrivateDevmodeVersion = 1;
// dwBoundedValue above this (read as a signed number) is reset to 0 on merge.
inline constexpr std::int32_t kBoundedValueLimit = 100;

// The header the driver expects at the start of every plug-in's private part.
struct OEM_DMEXTRAHEADER {
    std::uint32_t dwSize;
    std::uint32_t dwSignature;
    std::uint32_t dwVersion;
};

// What happens at one boundary: document start or end, page start or end.
struct OperationSettings {
    std::uint8_t bSendCommand;        // 1 = send abCommand
    std::uint8_t bFeedToCutPosition;  // 1 = feed to the cut position before cutting
    std::uint8_t abCommand[128];      // the user command, raw bytes
    std::uint8_t cbCommand;           // valid bytes in abCommand, 0..128
    std::uint8_t bDrawerPulse;        // index into the drawer list, 0..12
    std::uint8_t bCutMode;            // 0 none, 1 partial, 2 total
    std::uint8_t bFeedMm;             // paper feed in millimetres, 0..100
    std::uint8_t bHeraldState;        // 0 enable, 1 disable
    std::uint8_t padding1;
    std::uint32_t dwDrawerPortMode;  // 0 open the cash drawer, 1 herald
    std::uint8_t bBuzzer;            // index into the buzzer list, 0..5
    std::uint8_t bLogo;              // 0 no logo, n = stored logo n, 0..9
    std::uint8_t bLogoAlign;         // 0 left, 1 centred, 2 right
    std::uint8_t bLogoPosition;      // 0 before the cut, 1 after it
};

struct Barcode1DSettings {
    std::uint8_t bType;         // index into the 1D symbology list
    std::uint8_t bModuleWidth;  // 2..6
    std::uint8_t padding1[2];
    std::uint32_t dwBarHeight;  // dots, 1..255
    std::uint8_t bHriPosition;  // 0 none, 1 above, 2 below, 3 both
    std::uint8_t bHriFont;      // 0 font A, 1 font B
    std::uint8_t padding2[2];
    std::uint32_t dwModuleWidthX8;  // bModuleWidth * 8
    std::uint32_t dwTotalHeight;    // dwBarHeight plus the room of the HRI text
};

struct Barcode2DSettings {
    std::uint8_t bType;  // index into the 2D symbology list (PDF417)
    std::uint8_t bCellWidth;
    std::uint8_t bCellHeight;
    std::uint8_t bColumns;
    std::uint8_t bRows;
    std::uint8_t bErrorLevel;
};

struct PrivateDevmode {
    OEM_DMEXTRAHEADER dmExtraHeader;
    std::int32_t dwBoundedValue;  // signed; no page edits it
    OperationSettings opDocumentStart;
    OperationSettings opPageStart;
    OperationSettings opDocumentEnd;
    OperationSettings opPageEnd;
    Barcode1DSettings barcode1D[8];
    Barcode2DSettings barcode2D[2];
    std::uint8_t bSpare;  // spare bytes: no page edits them
    std::uint8_t padding1;
    std::uint8_t abSpareA[32];
    std::uint8_t abSpareB[32];
    std::uint8_t bTextAsGraphics;  // 1 = print all text as graphics
    std::uint8_t padding2;
    char16_t szWatermarkBitmap[125];
    std::uint8_t bWatermarkType;  // 0 none, 1 bitmap, 2 text
    std::uint8_t padding3;
    char16_t szWatermarkText[16];
    char16_t szWatermarkFont[50];
    std::uint8_t bWatermarkFontSize;   // points, 8..72
    std::uint8_t bWatermarkFontStyle;  // 0..3
    std::uint8_t padding4[2];
    std::uint32_t dwWatermarkAngle;     // degrees, 0..360
    std::uint8_t bWatermarkPosition;    // 0..9, 9 = tiled
    std::uint8_t bWatermarkSize;        // percent of the page width
    std::uint8_t bWatermarkBrightness;  // 0..255
    std::uint8_t bZoomPercent;          // 10..100
    std::uint8_t bRotate180;            // 1 = rotate the page by 180 degrees
    std::uint8_t padding5;
    char16_t szFormName[32];
    std::uint8_t bZoomPrinting;  // 1 = zoom printing on
    std::uint8_t padding6;
};

inline constexpr std::size_t kPrivateDevmodeSize = 1296;

static_assert(std::is_trivially_copyable_v<PrivateDevmode> && std::is_standard_layout_v<PrivateDevmode>);
static_assert(sizeof(OEM_DMEXTRAHEADER) == 12);
static_assert(sizeof(OperationSettings) == 144);
static_assert(sizeof(Barcode1DSettings) == 20);
static_assert(sizeof(Barcode2DSettings) == 6);
static_assert(sizeof(PrivateDevmode) == kPrivateDevmodeSize);

static_assert(offsetof(OperationSettings, bSendCommand) == 0);
static_assert(offsetof(OperationSettings, bFeedToCutPosition) == 1);
static_assert(offsetof(OperationSettings, abCommand) == 2);
static_assert(offsetof(OperationSettings, cbCommand) == 130);
static_assert(offsetof(OperationSettings, bDrawerPulse) == 131);
static_assert(offsetof(OperationSettings, bCutMode) == 132);
static_assert(offsetof(OperationSettings, bFeedMm) == 133);
static_assert(offsetof(OperationSettings, bHeraldState) == 134);
static_assert(offsetof(OperationSettings, padding1) == 135);
static_assert(offsetof(OperationSettings, dwDrawerPortMode) == 136);
static_assert(offsetof(OperationSettings, bBuzzer) == 140);
static_assert(offsetof(OperationSettings, bLogo) == 141);
static_assert(offsetof(OperationSettings, bLogoAlign) == 142);
static_assert(offsetof(OperationSettings, bLogoPosition) == 143);

static_assert(offsetof(Barcode1DSettings, bType) == 0);
static_assert(offsetof(Barcode1DSettings, bModuleWidth) == 1);
static_assert(offsetof(Barcode1DSettings, padding1) == 2);
static_assert(offsetof(Barcode1DSettings, dwBarHeight) == 4);
static_assert(offsetof(Barcode1DSettings, bHriPosition) == 8);
static_assert(offsetof(Barcode1DSettings, bHriFont) == 9);
static_assert(offsetof(Barcode1DSettings, padding2) == 10);
static_assert(offsetof(Barcode1DSettings, dwModuleWidthX8) == 12);
static_assert(offsetof(Barcode1DSettings, dwTotalHeight) == 16);

static_assert(offsetof(Barcode2DSettings, bType) == 0);
static_assert(offsetof(Barcode2DSettings, bCellWidth) == 1);
static_assert(offsetof(Barcode2DSettings, bCellHeight) == 2);
static_assert(offsetof(Barcode2DSettings, bColumns) == 3);
static_assert(offsetof(Barcode2DSettings, bRows) == 4);
static_assert(offsetof(Barcode2DSettings, bErrorLevel) == 5);

static_assert(offsetof(OEM_DMEXTRAHEADER, dwSize) == 0);
static_assert(offsetof(OEM_DMEXTRAHEADER, dwSignature) == 4);
static_assert(offsetof(OEM_DMEXTRAHEADER, dwVersion) == 8);

static_assert(offsetof(PrivateDevmode, dmExtraHeader) == 0);
static_assert(offsetof(PrivateDevmode, dwBoundedValue) == 12);
static_assert(offsetof(PrivateDevmode, opDocumentStart) == 16);
static_assert(offsetof(PrivateDevmode, opPageStart) == 160);
static_assert(offsetof(PrivateDevmode, opDocumentEnd) == 304);
static_assert(offsetof(PrivateDevmode, opPageEnd) == 448);
static_assert(offsetof(PrivateDevmode, barcode1D) == 592);
static_assert(offsetof(PrivateDevmode, barcode2D) == 752);
static_assert(offsetof(PrivateDevmode, bSpare) == 764);
static_assert(offsetof(PrivateDevmode, padding1) == 765);
static_assert(offsetof(PrivateDevmode, abSpareA) == 766);
static_assert(offsetof(PrivateDevmode, abSpareB) == 798);
static_assert(offsetof(PrivateDevmode, bTextAsGraphics) == 830);
static_assert(offsetof(PrivateDevmode, padding2) == 831);
static_assert(offsetof(PrivateDevmode, szWatermarkBitmap) == 832);
static_assert(offsetof(PrivateDevmode, bWatermarkType) == 1082);
static_assert(offsetof(PrivateDevmode, padding3) == 1083);
static_assert(offsetof(PrivateDevmode, szWatermarkText) == 1084);
static_assert(offsetof(PrivateDevmode, szWatermarkFont) == 1116);
static_assert(offsetof(PrivateDevmode, bWatermarkFontSize) == 1216);
static_assert(offsetof(PrivateDevmode, bWatermarkFontStyle) == 1217);
static_assert(offsetof(PrivateDevmode, padding4) == 1218);
static_assert(offsetof(PrivateDevmode, dwWatermarkAngle) == 1220);
static_assert(offsetof(PrivateDevmode, bWatermarkPosition) == 1224);
static_assert(offsetof(PrivateDevmode, bWatermarkSize) == 1225);
static_assert(offsetof(PrivateDevmode, bWatermarkBrightness) == 1226);
static_assert(offsetof(PrivateDevmode, bZoomPercent) == 1227);
static_assert(offsetof(PrivateDevmode, bRotate180) == 1228);
static_assert(offsetof(PrivateDevmode, padding5) == 1229);
static_assert(offsetof(PrivateDevmode, szFormName) == 1230);
static_assert(offsetof(PrivateDevmode, bZoomPrinting) == 1294);
static_assert(offsetof(PrivateDevmode, padding6) == 1295);

// A record filled with its defaults, header included; padding bytes are zero.
// The one place where the defaults are written down.
PrivateDevmode DefaultPrivateDevmode();

// The record views below work on the driver's bytes with memcpy only, so they
// need no particular alignment and may even overlap.

// Fills a whole record with the defaults, header included.
void WriteDefaults(std::span<std::uint8_t, kPrivateDevmodeSize> record);

// Converts the record `in` into `out`. `in` holds the bytes the caller can
// vouch for (the driver's buffers are kPrivateDevmodeSize long); an empty `in`
// means there is no input record and nothing is written.
//   - Input and output signatures compared, the output's as it holds it on
//     entry (an input too short to carry a signature never matches).
//   - Every field after the header set to its default.
//   - Signatures equal: the first min(output dwSize on entry, input dwSize)
//     bytes of the input copied over the output, so an older, shorter record
//     keeps the defaults beyond its own end; then dwSize and dwVersion are
//     rewritten. Signatures different: the whole header is rewritten and the
//     record keeps the defaults.
// Both sizes are outside data, so the copy never exceeds `in` nor one record.
void ConvertPrivateDevmode(std::span<const std::uint8_t> in, std::span<std::uint8_t, kPrivateDevmodeSize> out);

// The merge's last step: header rewritten (size, signature, version) and
// dwBoundedValue reset to 0 when it exceeds kBoundedValueLimit. Nothing else is
// checked; the pages clamp what they write.
void ValidatePrivateDevmode(std::span<std::uint8_t, kPrivateDevmodeSize> record);

// The modes of the driver's DevMode call (its OEMDM_* values; our own names,
// because the platform headers define theirs as macros).
inline constexpr std::uint32_t kDevModeSize = 1;
inline constexpr std::uint32_t kDevModeDefault = 2;
inline constexpr std::uint32_t kDevModeConvert = 3;
inline constexpr std::uint32_t kDevModeMerge = 4;

// The part of the driver's OEMDMPARAM that the call uses. The records are the
// driver's buffers of the size mode 1 reported; either may be missing.
struct DevModeParam {
    std::uint32_t cbBufSize;
    const void* oemIn;
    void* oemOut;
};

enum class DevModeStatus {
    kOk,                // the COM frame answers S_OK
    kInvalidParameter,  // E_FAIL with ERROR_INVALID_PARAMETER
};

// The DevMode call: mode 1 reports the record's size in cbBufSize, mode 2
// writes the defaults into the output record, mode 3 converts the input record
// into it, mode 4 converts and then validates. A missing record in modes 2..4
// is not an error: the step that needs it writes nothing. A missing parameter
// block or any other mode is refused and nothing is written.
[[nodiscard]] DevModeStatus HandleDevMode(DevModeParam* param, std::uint32_t mode);

}  // namespace plugin
