#include "core/private_devmode.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace plugin {

namespace {

constexpr std::size_t kHeaderSize = sizeof(OEM_DMEXTRAHEADER);
constexpr std::size_t kSizeOffset = offsetof(OEM_DMEXTRAHEADER, dwSize);
constexpr std::size_t kSignatureOffset = offsetof(OEM_DMEXTRAHEADER, dwSignature);
constexpr std::size_t kVersionOffset = offsetof(OEM_DMEXTRAHEADER, dwVersion);
constexpr std::size_t kBoundedValueOffset = offsetof(PrivateDevmode, dwBoundedValue);

// Drawers #1 and #2, 60 ms.
constexpr std::uint8_t kDrawerPulseBothDrawers60ms = 12;
constexpr std::uint8_t kPartialCut = 1;
// The symbology of each of the eight 1D barcode fonts.
constexpr std::uint8_t kBarcode1DTypes[8] = {0, 1, 3, 4, 5, 6, 7, 8};
constexpr std::uint8_t kModuleWidth = 3;
constexpr std::uint32_t kBarHeight = 163;

constexpr PrivateDevmode MakeDefaults() {
    PrivateDevmode record{};  // every field, command buffer, string and padding byte zero
    record.dmExtraHeader = {kPrivateDevmodeSize, kPrivateDevmodeSignature, kPrivateDevmodeVersion};
    record.dwBoundedValue = 0;

    record.opDocumentStart.bDrawerPulse = kDrawerPulseBothDrawers60ms;
    record.opDocumentEnd.bFeedToCutPosition = 1;
    record.opDocumentEnd.bCutMode = kPartialCut;

    for (std::size_t i = 0; i < std::size(record.barcode1D); ++i) {
        Barcode1DSettings& barcode = record.barcode1D[i];
        barcode.bType = kBarcode1DTypes[i];
        barcode.bModuleWidth = kModuleWidth;
        barcode.dwBarHeight = kBarHeight;
        barcode.bHriPosition = 0;  // no HRI text, so no room for it in the total height
        barcode.bHriFont = 0;
        barcode.dwModuleWidthX8 = kModuleWidth * 8;
        barcode.dwTotalHeight = kBarHeight;
    }
    for (Barcode2DSettings& barcode : record.barcode2D) {
        barcode = {.bType = 0, .bCellWidth = 3, .bCellHeight = 3, .bColumns = 3, .bRows = 3, .bErrorLevel = 5};
    }

    record.bWatermarkFontSize = 50;
    record.dwWatermarkAngle = 45;
    record.bWatermarkPosition = 4;
    record.bWatermarkSize = 100;
    record.bWatermarkBrightness = 50;
    record.bZoomPercent = 100;
    return record;
}

constexpr PrivateDevmode kDefaults = MakeDefaults();

const std::uint8_t* BytesOf(const PrivateDevmode& record) {
    return reinterpret_cast<const std::uint8_t*>(&record);
}

std::uint32_t LoadU32(const std::uint8_t* at) {
    std::uint32_t value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

void StoreU32(std::uint8_t* at, std::uint32_t value) {
    std::memcpy(at, &value, sizeof value);
}

void WriteHeader(std::span<std::uint8_t, kPrivateDevmodeSize> record) {
    StoreU32(record.data() + kSizeOffset, kPrivateDevmodeSize);
    StoreU32(record.data() + kSignatureOffset, kPrivateDevmodeSignature);
    StoreU32(record.data() + kVersionOffset, kPrivateDevmodeVersion);
}

}  // namespace

PrivateDevmode DefaultPrivateDevmode() {
    return kDefaults;
}

void WriteDefaults(std::span<std::uint8_t, kPrivateDevmodeSize> record) {
    std::memcpy(record.data(), BytesOf(kDefaults), kPrivateDevmodeSize);
}

void ConvertPrivateDevmode(std::span<const std::uint8_t> in, std::span<std::uint8_t, kPrivateDevmodeSize> out) {
    if (in.empty()) return;

    // Both sizes are outside data: a record may claim any size at all, and the
    // output's on-entry size is only what some earlier writer left there. The
    // copy never goes past what we were handed nor past our own record, so a
    // claim of 0xFFFFFFFF copies one record and no more. A claim shorter than
    // the header copies that little; the header is rewritten afterwards.
    const std::uint32_t outSize = LoadU32(out.data() + kSizeOffset);
    const std::uint32_t outSignature = LoadU32(out.data() + kSignatureOffset);
    const bool carriesSignature = in.size() >= kSignatureOffset + sizeof(std::uint32_t);
    const bool sameSignature = carriesSignature && LoadU32(in.data() + kSignatureOffset) == outSignature;
    const std::size_t length =
        sameSignature
            ? std::min<std::size_t>({outSize, LoadU32(in.data() + kSizeOffset), in.size(), kPrivateDevmodeSize})
            : 0;

    // The input is taken aside before the output changes: the driver may hand
    // the same buffer, or overlapping ones, for both.
    std::array<std::uint8_t, kPrivateDevmodeSize> kept;
    std::memcpy(kept.data(), in.data(), length);

    std::memcpy(out.data() + kHeaderSize, BytesOf(kDefaults) + kHeaderSize, kPrivateDevmodeSize - kHeaderSize);
    if (sameSignature) {
        std::memcpy(out.data(), kept.data(), length);
        StoreU32(out.data() + kSizeOffset, kPrivateDevmodeSize);
        StoreU32(out.data() + kVersionOffset, kPrivateDevmodeVersion);
    } else {
        WriteHeader(out);
    }
}

void ValidatePrivateDevmode(std::span<std::uint8_t, kPrivateDevmodeSize> record) {
    WriteHeader(record);
    const auto bounded = static_cast<std::int32_t>(LoadU32(record.data() + kBoundedValueOffset));
    if (bounded > kBoundedValueLimit) StoreU32(record.data() + kBoundedValueOffset, 0);
}

DevModeStatus HandleDevMode(DevModeParam* param, std::uint32_t mode) {
    if (!param) return DevModeStatus::kInvalidParameter;

    // The driver allocates both records with the size that mode 1 reports.
    const auto* inBytes = static_cast<const std::uint8_t*>(param->oemIn);
    auto* outBytes = static_cast<std::uint8_t*>(param->oemOut);
    const std::span<const std::uint8_t> in =
        inBytes ? std::span<const std::uint8_t>(inBytes, kPrivateDevmodeSize) : std::span<const std::uint8_t>();

    switch (mode) {
        case kDevModeSize:
            param->cbBufSize = kPrivateDevmodeSize;
            return DevModeStatus::kOk;
        case kDevModeDefault:
            if (outBytes) WriteDefaults(std::span<std::uint8_t, kPrivateDevmodeSize>(outBytes, kPrivateDevmodeSize));
            return DevModeStatus::kOk;
        case kDevModeConvert:
            if (outBytes)
                ConvertPrivateDevmode(in, std::span<std::uint8_t, kPrivateDevmodeSize>(outBytes, kPrivateDevmodeSize));
            return DevModeStatus::kOk;
        case kDevModeMerge:
            if (outBytes) {
                const std::span<std::uint8_t, kPrivateDevmodeSize> out(outBytes, kPrivateDevmodeSize);
                ConvertPrivateDevmode(in, out);
                ValidatePrivateDevmode(out);
            }
            return DevModeStatus::kOk;
    }
    return DevModeStatus::kInvalidParameter;
}

}  // namespace plugin
