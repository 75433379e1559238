#include "core/logo_bitmap.h"

#include <algorithm>
#include <cstring>

#include "core/bmp_format.h"

namespace plugin {

namespace {

// The printer's command that defines its non-volatile bit images; the image
// count follows.
constexpr std::uint8_t kDefineImages[] = {0x1C, 0x71};
constexpr std::uint8_t kLineFeed = 0x0A;

constexpr std::string_view kErrorCaption = "Erro";

LogoAcceptance Refused(LogoVerdict verdict) {
    return {verdict, {}};
}

}  // namespace

LogoMessage MessageFor(LogoVerdict verdict) {
    switch (verdict) {
        case LogoVerdict::kAccepted:
            return {};
        case LogoVerdict::kListFull:
            return {"O número total de logos é 9\nFavor apagar algum logo antes de selecionar outro logo!", "ok"};
        case LogoVerdict::kOpenFailed:
            return {"Falha na Abertura do arquivo especificado!", kErrorCaption};
        case LogoVerdict::kReadCallFailed:
            return {"Failed to get data from the file!", "Error"};
        case LogoVerdict::kShortRead:
            return {"Falha na leitura dos dados do arquivo!", kErrorCaption};
        case LogoVerdict::kNotMonochrome:
            return {"O logo selecionado não é um bitmap monocromático!", kErrorCaption};
        case LogoVerdict::kTooBig:
            return {
                "A imagem é muito grande para ser selecionada\nA largura deve ser menor que 1024 Bytes a altura "
                "deve ser menor que 289 bytes!",
                kErrorCaption};
        case LogoVerdict::kNoLogos:
            return {"Favor selecionar primeiramente os logos!", kErrorCaption};
        case LogoVerdict::kSizeUnknown:
            return {"Falha ao ler o tamanho do logo!", kErrorCaption};
        case LogoVerdict::kOverBudget:
            return {"A soma dos tamanhos de todos os logos excede 64k!", kErrorCaption};
    }
    return {};
}

LogoAcceptance AcceptLogo(std::span<const std::uint8_t> file, std::size_t rowsHeld) {
    if (rowsHeld >= kMaxLogos) return Refused(LogoVerdict::kListFull);
    if (file.size() < kLogoHeaderBytes) return Refused(LogoVerdict::kShortRead);
    if (U16At(file, kBmpTypeAt) != kBmpType || U16At(file, kBmpBitCountAt) != 1) {
        return Refused(LogoVerdict::kNotMonochrome);
    }
    const auto width = static_cast<std::int32_t>(U32At(file, kBmpWidthAt));
    const auto height = static_cast<std::int32_t>(U32At(file, kBmpHeightAt));
    if (width > kMaxLogoWidth || height > kMaxLogoHeight) return Refused(LogoVerdict::kTooBig);
    // Nothing to print, or rows stored top-down: the column format has no
    // meaning for either.
    if (width <= 0 || height <= 0) return Refused(LogoVerdict::kNotMonochrome);

    LogoGeometry geometry;
    geometry.width = width;
    geometry.height = height;
    geometry.stride = 4 * ((static_cast<std::uint32_t>(width) + 31) / 32);
    geometry.heightBytes = (static_cast<std::uint32_t>(height) + 7) / 8;
    geometry.dataLength = geometry.stride * 8 * geometry.heightBytes;
    geometry.pixelOffset = U32At(file, kBmpPixelOffsetAt);

    // The file must hold what its header claims: its size, the stored rows
    // where the header puts them (after the headers and palette), and every
    // row of the picture within the claimed size.
    const std::uint64_t claimedSize = U32At(file, kBmpFileSizeAt);
    if (claimedSize < kLogoHeaderBytes || claimedSize > file.size()) return Refused(LogoVerdict::kShortRead);
    if (geometry.pixelOffset < kLogoHeaderBytes || geometry.pixelOffset > claimedSize) {
        return Refused(LogoVerdict::kShortRead);
    }
    const std::uint64_t pixelBytes = std::uint64_t{geometry.stride} * static_cast<std::uint32_t>(height);
    if (pixelBytes > claimedSize - geometry.pixelOffset) return Refused(LogoVerdict::kShortRead);
    return {LogoVerdict::kAccepted, geometry};
}

std::vector<std::uint8_t> ConvertLogo(std::span<const std::uint8_t> file, const LogoGeometry& g) {
    const std::size_t stride = g.stride;
    const std::size_t bands = g.heightBytes;
    const std::size_t paddedRows = 8 * bands;
    const std::size_t height = static_cast<std::size_t>(std::max(g.height, 0));
    const std::size_t usedBytes = (static_cast<std::size_t>(std::max(g.width, 0)) + 7) / 8;
    const unsigned keptBits = static_cast<unsigned>(std::max(g.width, 0)) % 8;

    // The stored rows, bottom-up, with blank rows above the picture up to a
    // whole band: the picture sits at the bottom of its bands.
    std::vector<std::uint8_t> rows(paddedRows * stride, 0);
    for (std::size_t r = 0; r < height && r < paddedRows; ++r) {
        std::uint8_t* row = rows.data() + r * stride;
        const std::size_t from = std::size_t{g.pixelOffset} + r * stride;
        if (from < file.size()) std::memcpy(row, file.data() + from, std::min(stride, file.size() - from));
        // Palette entry 0 (a 0 bit) prints; the palette itself plays no part.
        for (std::size_t b = 0; b < usedBytes && b < stride; ++b) row[b] = static_cast<std::uint8_t>(~row[b]);
        for (std::size_t b = usedBytes; b < stride; ++b) row[b] = 0;
        if (keptBits != 0 && usedBytes <= stride)
            row[usedBytes - 1] &= static_cast<std::uint8_t>(0xFF << (8 - keptBits));
    }

    std::vector<std::uint8_t> logo;
    logo.reserve(4 + std::size_t{g.dataLength});
    logo.push_back(static_cast<std::uint8_t>(g.stride % 256));
    logo.push_back(static_cast<std::uint8_t>(g.stride / 256));
    logo.push_back(static_cast<std::uint8_t>(g.heightBytes % 256));
    logo.push_back(static_cast<std::uint8_t>(g.heightBytes / 256));

    // Columns left to right, each band by band from the top; the high bit of
    // a byte is its upper dot. The top of the padded picture is the last
    // stored row.
    for (std::size_t x = 0; x < 8 * stride; ++x) {
        const std::uint8_t mask = static_cast<std::uint8_t>(0x80 >> (x % 8));
        for (std::size_t k = 0; k < bands; ++k) {
            std::uint8_t column = 0;
            for (std::size_t i = 0; i < 8; ++i) {
                const std::size_t storedRow = paddedRows - 1 - (8 * k + i);
                if (rows[storedRow * stride + x / 8] & mask) column |= static_cast<std::uint8_t>(0x80 >> i);
            }
            logo.push_back(column);
        }
    }
    return logo;
}

LogoVerdict CheckLogoBudget(std::span<const std::uint64_t> fileSizes) {
    if (fileSizes.empty()) return LogoVerdict::kNoLogos;
    if (std::ranges::find(fileSizes, std::uint64_t{0}) != fileSizes.end()) return LogoVerdict::kSizeUnknown;
    // Summed with a stop at the budget, so that huge sizes cannot wrap round.
    std::uint64_t total = 0;
    for (const std::uint64_t size : fileSizes) {
        if (size >= kLogoBudget - total) return LogoVerdict::kOverBudget;
        total += size;
    }
    return LogoVerdict::kAccepted;
}

std::optional<std::vector<std::uint8_t>> BuildLogoJob(std::span<const std::span<const std::uint8_t>> files) {
    if (files.empty() || files.size() > kMaxLogos) return std::nullopt;
    std::vector<std::uint8_t> job(std::begin(kDefineImages), std::end(kDefineImages));
    job.push_back(static_cast<std::uint8_t>(files.size()));
    for (const auto file : files) {
        const LogoAcceptance accepted = AcceptLogo(file, 0);
        if (accepted.verdict != LogoVerdict::kAccepted) return std::nullopt;
        const std::vector<std::uint8_t> logo = ConvertLogo(file, accepted.geometry);
        job.insert(job.end(), logo.begin(), logo.end());
    }
    job.push_back(kLineFeed);
    return job;
}

std::string LogoIdText(std::uint32_t id) {
    return std::to_string(id);
}

void DeleteLogoRow(std::vector<LogoRow>& rows, std::optional<std::size_t> selected) {
    if (!selected || *selected >= rows.size()) return;
    rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(*selected));
    for (std::size_t i = 0; i < rows.size(); ++i) rows[i].id = static_cast<std::uint32_t>(i + 1);
}

}  // namespace plugin
