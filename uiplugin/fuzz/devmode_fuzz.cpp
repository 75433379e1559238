// Arbitrary private device-mode records through every mode of the DevMode
// call. The records sit in separate heap blocks of exactly one record, as the
// driver allocates them, so AddressSanitizer sees any access beyond them
// whatever sizes the records claim.
//
// Input: one control byte, then the input record's bytes, then the output
// record's bytes (missing bytes are zero).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "core/private_devmode.h"

namespace {

using plugin::kPrivateDevmodeSize;

struct Record {
    std::unique_ptr<std::uint8_t[]> bytes{new std::uint8_t[kPrivateDevmodeSize]};
    std::uint8_t* data() { return bytes.get(); }
};

std::uint32_t U32At(const std::uint8_t* record, std::size_t offset) {
    std::uint32_t value;
    std::memcpy(&value, record + offset, sizeof value);
    return value;
}

void Check(bool holds) {
    if (!holds) __builtin_trap();
}

void Fill(Record& record, const std::uint8_t* data, std::size_t size) {
    std::memset(record.data(), 0, kPrivateDevmodeSize);
    std::memcpy(record.data(), data, std::min(size, kPrivateDevmodeSize));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::uint8_t control = data[0];
    const std::uint8_t* inData = data + 1;
    const std::size_t inSize = std::min(size - 1, kPrivateDevmodeSize);
    const std::uint8_t* outData = inData + inSize;
    const std::size_t outSize = size - 1 - inSize;

    const plugin::PrivateDevmode defaultsRecord = plugin::DefaultPrivateDevmode();
    const auto* defaults = reinterpret_cast<const std::uint8_t*>(&defaultsRecord);
    const bool sameBuffer = control & 1;

    Record originalIn, originalOut;
    Fill(originalIn, inData, inSize);
    Fill(originalOut, outData, outSize);
    // Let the signatures match often; the interesting path needs it.
    if (control & 2) std::memcpy(originalIn.data() + 4, originalOut.data() + 4, 4);
    if (sameBuffer) std::memcpy(originalOut.data(), originalIn.data(), kPrivateDevmodeSize);

    // The bytes a conversion keeps from the input.
    const bool match = U32At(originalIn.data(), 4) == U32At(originalOut.data(), 4);
    const std::size_t kept =
        match ? std::min<std::size_t>({U32At(originalOut.data(), 0), U32At(originalIn.data(), 0), kPrivateDevmodeSize})
              : 0;

    for (std::uint32_t mode = 0; mode <= 5; ++mode) {
        Record in, out;
        std::memcpy(in.data(), originalIn.data(), kPrivateDevmodeSize);
        std::memcpy(out.data(), originalOut.data(), kPrivateDevmodeSize);
        plugin::DevModeParam param{0xABCD, in.data(), sameBuffer ? in.data() : out.data()};
        std::uint8_t* result = static_cast<std::uint8_t*>(param.oemOut);

        const plugin::DevModeStatus status = plugin::HandleDevMode(&param, mode);
        const bool known = mode >= plugin::kDevModeSize && mode <= plugin::kDevModeMerge;
        Check(status == (known ? plugin::DevModeStatus::kOk : plugin::DevModeStatus::kInvalidParameter));
        Check(param.cbBufSize == (mode == plugin::kDevModeSize ? kPrivateDevmodeSize : 0xABCD));

        if (!sameBuffer) Check(std::memcmp(in.data(), originalIn.data(), kPrivateDevmodeSize) == 0);
        if (!known || mode == plugin::kDevModeSize) {
            Check(std::memcmp(result, originalOut.data(), kPrivateDevmodeSize) == 0);
            continue;
        }
        if (mode == plugin::kDevModeDefault) {
            Check(std::memcmp(result, defaults, kPrivateDevmodeSize) == 0);
            continue;
        }

        // Converted or merged: header rewritten, the kept prefix from the
        // input, the defaults beyond it.
        Check(U32At(result, 0) == kPrivateDevmodeSize);
        Check(U32At(result, 8) == plugin::kPrivateDevmodeVersion);
        const std::uint32_t signature = U32At(result, 4);
        if (mode == plugin::kDevModeMerge) {
            Check(signature == plugin::kPrivateDevmodeSignature);
            Check(static_cast<std::int32_t>(U32At(result, 12)) <= plugin::kBoundedValueLimit);
        } else {
            Check(signature == (match ? U32At(originalOut.data(), 4) : plugin::kPrivateDevmodeSignature));
        }
        constexpr std::size_t kBody = 16;  // after the header and dwBoundedValue
        const std::size_t copied = std::max(kBody, kept);
        Check(kept <= kBody || std::memcmp(result + kBody, originalIn.data() + kBody, copied - kBody) == 0);
        Check(std::memcmp(result + copied, defaults + copied, kPrivateDevmodeSize - copied) == 0);
    }
    return 0;
}
