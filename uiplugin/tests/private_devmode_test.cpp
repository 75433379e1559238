#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <map>
#include <vector>

#include "core/private_devmode.h"
#include "core/bmp_format.h"

namespace {

using namespace plugin;

// Every record lives in its own heap block of exactly one record, so that
// AddressSanitizer sees any byte read or written beyond it.
using Bytes = std::vector<std::uint8_t>;

// A record full of bytes that are no default, with the given header.
Bytes Pattern(std::uint8_t seed, std::uint32_t size, std::uint32_t signature) {
    Bytes record(kPrivateDevmodeSize);
    for (std::size_t i = 0; i < record.size(); ++i) record[i] = static_cast<std::uint8_t>(seed + i * 7);
    PutU32(record, 0, size);
    PutU32(record, 4, signature);
    PutU32(record, 8, 0x01020304);
    PutU32(record, 12, 7);  // a bounded value that merging keeps
    return record;
}

Bytes Defaults() {
    Bytes record(kPrivateDevmodeSize, 0xCC);
    DevModeParam param{0, nullptr, record.data()};
    EXPECT_EQ(HandleDevMode(&param, kDevModeDefault), DevModeStatus::kOk);
    return record;
}

TEST(PrivateDevmodeDefaults, EveryByteOfTheDefaultRecord) {
    // The bytes that are not zero; every other byte, padding included, is.
    std::map<std::size_t, std::uint8_t> nonZero = {
        {0, 0x10},      {1, 0x05},                            // dwSize 1296
        {4, 'X'},       {5, 'R'},       {6, 'T'},  {7, 'Q'},  // the signature as it lies in memory
        {8, 1},                                               // dwVersion
        {16 + 131, 12},                                       // opDocumentStart.bDrawerPulse
        {304 + 1, 1},   {304 + 132, 1},                       // opDocumentEnd: feed to cut, partial cut
        {1216, 50},     {1220, 45},     {1224, 4}, {1225, 100}, {1226, 50}, {1227, 100},  // watermark, zoom
    };
    const std::uint8_t types1D[] = {0, 1, 3, 4, 5, 6, 7, 8};
    for (std::size_t i = 0; i < 8; ++i) {
        const std::size_t at = 592 + 20 * i;
        if (types1D[i]) nonZero[at] = types1D[i];
        nonZero[at + 1] = 3;     // module width
        nonZero[at + 4] = 163;   // bar height
        nonZero[at + 12] = 24;   // module width x 8
        nonZero[at + 16] = 163;  // total height
    }
    for (std::size_t at : {752u, 758u}) {
        for (std::size_t field = 1; field <= 4; ++field) nonZero[at + field] = 3;
        nonZero[at + 5] = 5;  // error level
    }

    const Bytes record = Defaults();
    for (std::size_t offset = 0; offset < record.size(); ++offset) {
        const auto found = nonZero.find(offset);
        EXPECT_EQ(record[offset], found == nonZero.end() ? 0 : found->second) << "offset " << offset;
    }
    const PrivateDevmode defaults = DefaultPrivateDevmode();
    EXPECT_EQ(std::memcmp(&defaults, record.data(), record.size()), 0);
}

TEST(DevModeCall, SizeIsAlways1296WhateverTheRecords) {
    for (const std::uint32_t before : {0u, 600u, 0xFFFFFFFFu}) {
        Bytes in = Pattern(1, before, 0), out = Pattern(2, before, kPrivateDevmodeSignature);
        const Bytes inBefore = in, outBefore = out;
        DevModeParam param{before, in.data(), out.data()};
        EXPECT_EQ(HandleDevMode(&param, kDevModeSize), DevModeStatus::kOk);
        EXPECT_EQ(param.cbBufSize, 1296u);
        EXPECT_EQ(in, inBefore);
        EXPECT_EQ(out, outBefore);
    }
    DevModeParam bare{0, nullptr, nullptr};
    EXPECT_EQ(HandleDevMode(&bare, kDevModeSize), DevModeStatus::kOk);
    EXPECT_EQ(bare.cbBufSize, 1296u);
}

TEST(DevModeCall, RefusedCallsWriteNothing) {
    EXPECT_EQ(HandleDevMode(nullptr, kDevModeDefault), DevModeStatus::kInvalidParameter);
    for (const std::uint32_t mode : {0u, 5u, 6u, 0x80000001u, 0xFFFFFFFFu}) {
        Bytes in = Pattern(1, 1296, kPrivateDevmodeSignature), out = Pattern(2, 1296, kPrivateDevmodeSignature);
        const Bytes inBefore = in, outBefore = out;
        DevModeParam param{99, in.data(), out.data()};
        EXPECT_EQ(HandleDevMode(&param, mode), DevModeStatus::kInvalidParameter) << mode;
        EXPECT_EQ(param.cbBufSize, 99u) << mode;
        EXPECT_EQ(in, inBefore) << mode;
        EXPECT_EQ(out, outBefore) << mode;
    }
}

TEST(DevModeCall, AMissingRecordIsNotAnErrorAndNothingIsWritten) {
    Bytes record = Pattern(3, 1296, kPrivateDevmodeSignature);
    const Bytes before = record;
    const struct {
        std::uint32_t mode;
        bool recordIsInput;
    } cases[] = {{kDevModeDefault, true}, {kDevModeConvert, true}, {kDevModeConvert, false}, {kDevModeMerge, true}};
    for (const auto& c : cases) {
        DevModeParam param{0, c.recordIsInput ? record.data() : nullptr, c.recordIsInput ? nullptr : record.data()};
        EXPECT_EQ(HandleDevMode(&param, c.mode), DevModeStatus::kOk) << c.mode;
        EXPECT_EQ(record, before) << c.mode;
    }
}

TEST(ConvertPrivateDevmode, KeepsTheSharedPrefixAndDefaultsTheRest) {
    constexpr std::uint32_t ours = kPrivateDevmodeSignature, foreign = 0x12345678;
    const struct {
        const char* name;
        std::uint32_t inSize, inSignature, outSize, outSignature;
        std::size_t copied;
        std::uint32_t convertedSignature;  // what mode 3 leaves; mode 4 always writes ours
    } cases[] = {
        {"same record", 1296, ours, 1296, ours, 1296, ours},
        {"older, shorter input", 600, ours, 1296, ours, 600, ours},
        {"output was sized for an older record", 1296, ours, 600, ours, 600, ours},
        {"foreign input", 1296, foreign, 1296, ours, 0, ours},
        {"foreign output on entry", 1296, ours, 1296, foreign, 0, ours},
        {"both records foreign alike", 1296, foreign, 1296, foreign, 1296, foreign},
        {"sizes claim far more than a record", 0xFFFFFFFF, ours, 0xFFFFFFFF, ours, 1296, ours},
        {"input claims more than a record", 5000, ours, 1296, ours, 1296, ours},
        {"size shorter than the header", 5, ours, 1296, ours, 5, ours},
        {"size zero", 0, ours, 1296, ours, 0, ours},
    };
    const Bytes defaults = Defaults();
    for (const auto& c : cases) {
        for (const std::uint32_t mode : {kDevModeConvert, kDevModeMerge}) {
            Bytes in = Pattern(1, c.inSize, c.inSignature), out = Pattern(2, c.outSize, c.outSignature);
            Bytes expected = defaults;
            std::memcpy(expected.data(), in.data(), c.copied);
            PutU32(expected, 0, 1296);
            PutU32(expected, 4, mode == kDevModeMerge ? ours : c.convertedSignature);
            PutU32(expected, 8, 1);

            DevModeParam param{0, in.data(), out.data()};
            ASSERT_EQ(HandleDevMode(&param, mode), DevModeStatus::kOk);
            for (std::size_t offset = 0; offset < out.size(); ++offset) {
                ASSERT_EQ(out[offset], expected[offset]) << c.name << ", mode " << mode << ", offset " << offset;
            }
        }
    }
}

TEST(MergePrivateDevmode, BoundedValueAbove100IsReset) {
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    const std::pair<std::int32_t, std::int32_t> cases[] = {
        {0, 0}, {100, 100}, {101, 0}, {-5, -5}, {std::numeric_limits<std::int32_t>::max(), 0}, {kMin, kMin},
    };
    for (const auto& [value, merged] : cases) {
        Bytes in = Pattern(1, 1296, kPrivateDevmodeSignature);
        PutU32(in, 12, static_cast<std::uint32_t>(value));
        Bytes out = Pattern(2, 1296, kPrivateDevmodeSignature);
        DevModeParam param{0, in.data(), out.data()};
        ASSERT_EQ(HandleDevMode(&param, kDevModeMerge), DevModeStatus::kOk);
        EXPECT_EQ(static_cast<std::int32_t>(U32At(out, 12)), merged) << value;

        // Without an input record only the header and the bounded value change.
        out = Pattern(2, 0xFFFFFFFF, 0xDEADBEEF);
        PutU32(out, 12, static_cast<std::uint32_t>(value));
        Bytes expected = out;
        PutU32(expected, 0, 1296);
        PutU32(expected, 4, kPrivateDevmodeSignature);
        PutU32(expected, 8, 1);
        PutU32(expected, 12, static_cast<std::uint32_t>(merged));
        param = {0, nullptr, out.data()};
        ASSERT_EQ(HandleDevMode(&param, kDevModeMerge), DevModeStatus::kOk);
        EXPECT_EQ(out, expected) << value << ", no input";
    }
}

TEST(ConvertPrivateDevmode, ReadsNoFurtherThanTheInputItIsGiven) {
    // A 600-byte block that claims to be a whole record: only its 600 bytes count.
    const Bytes whole = Pattern(1, 1296, kPrivateDevmodeSignature);
    const Bytes shortInput(whole.begin(), whole.begin() + 600);
    Bytes out = Defaults();
    ConvertPrivateDevmode(shortInput, std::span<std::uint8_t, kPrivateDevmodeSize>(out.data(), out.size()));
    const Bytes defaults = Defaults();
    EXPECT_TRUE(std::equal(out.begin() + 12, out.begin() + 600, whole.begin() + 12));
    EXPECT_TRUE(std::equal(out.begin() + 600, out.end(), defaults.begin() + 600));

    // Too short to carry a signature: taken as foreign.
    const Bytes stub(whole.begin(), whole.begin() + 6);
    out = Pattern(2, 1296, kPrivateDevmodeSignature);
    ConvertPrivateDevmode(stub, std::span<std::uint8_t, kPrivateDevmodeSize>(out.data(), out.size()));
    EXPECT_EQ(out, defaults);

    // More bytes than a record, and sizes that claim even more: one record is copied.
    Bytes large = Pattern(5, 5000, kPrivateDevmodeSignature);
    large.resize(2000, 0xEE);
    out = Pattern(2, 0xFFFFFFFF, kPrivateDevmodeSignature);
    ConvertPrivateDevmode(large, std::span<std::uint8_t, kPrivateDevmodeSize>(out.data(), out.size()));
    EXPECT_TRUE(std::equal(out.begin() + 12, out.end(), large.begin() + 12));
}

TEST(ConvertPrivateDevmode, OneBufferForInputAndOutputKeepsTheRecord) {
    Bytes record = Pattern(4, 1296, kPrivateDevmodeSignature);
    Bytes expected = record;
    PutU32(expected, 8, 1);
    DevModeParam param{0, record.data(), record.data()};
    ASSERT_EQ(HandleDevMode(&param, kDevModeConvert), DevModeStatus::kOk);
    EXPECT_EQ(record, expected);
}

}  // namespace
