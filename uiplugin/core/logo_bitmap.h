#pragma once
// The printer's non-volatile logos on the download page: which bitmap files
// the list takes, the column format the printer stores them in, the download
// job of the whole list, the clearing command, and the list's IDs.
//
// A logo file is outside data: every size and offset its header claims is
// checked against the bytes that are really there, and nothing is converted
// from bytes the file does not have.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace plugin {

// The list holds at most this many logos; a logo's list position is its
// number in the printer.
constexpr std::size_t kMaxLogos = 9;
// The widest and highest picture the printer stores, in dots (1023 and 288
// units of 8 dots).
constexpr std::int32_t kMaxLogoWidth = 8184;
constexpr std::int32_t kMaxLogoHeight = 2304;
// The listed files together must stay below 64 KiB, counted as whole files.
constexpr std::uint64_t kLogoBudget = 0x10000;
// The bytes of a bitmap's headers as the page reads them: file header,
// information header and the two palette entries of a 1-bit picture.
constexpr std::size_t kLogoHeaderBytes = 62;

// Document names of the page's jobs.
constexpr std::string_view kLogoJobName = "LOGO";
constexpr std::string_view kClearLogosJobName = "SELFTEST";
// Clears every logo the printer holds, whatever the list holds.
constexpr std::array<std::uint8_t, 5> kClearLogosCommand{0x1C, 0x71, 0x00, 0x00, 0x0A};

// Every outcome of the page's logo steps that the user is told about.
enum class LogoVerdict {
    kAccepted,
    kListFull,        // a tenth logo
    kOpenFailed,      // the bitmap to add cannot be opened
    kReadCallFailed,  // the read call for its headers fails
    kShortRead,       // the file does not hold what its headers need
    kNotMonochrome,   // not "BM", not 1 bit per pixel, or no picture at all
    kTooBig,          // wider or higher than the printer stores
    kNoLogos,         // downloading an empty list
    kSizeUnknown,     // a listed file's size cannot be read, or is 0
    kOverBudget,      // listed files total 64 KiB or more
};

// A message box of the page: MB_OK, the page as owner.
struct LogoMessage {
    std::string_view text;
    std::string_view caption;
};

// The text and caption the page shows for `verdict`; empty for kAccepted.
LogoMessage MessageFor(LogoVerdict verdict);

// The shape of an accepted 1-bit bitmap and of its printer data.
struct LogoGeometry {
    std::int32_t width = 0;         // dots, 1..kMaxLogoWidth
    std::int32_t height = 0;        // dots, 1..kMaxLogoHeight; rows stored bottom-up
    std::uint32_t stride = 0;       // bytes of one stored row, a multiple of 4; also
                                    // the width sent, in units of 8 dots
    std::uint32_t heightBytes = 0;  // the height sent, in units of 8 dots
    std::uint32_t dataLength = 0;   // column data bytes: stride * 8 * heightBytes
    std::uint32_t pixelOffset = 0;  // where the stored rows start in the file
};

struct LogoAcceptance {
    LogoVerdict verdict = LogoVerdict::kNotMonochrome;
    LogoGeometry geometry;  // meaningful only when accepted
};

// Decides "Adicionar" for the whole bytes of the chosen file while the list
// holds `rowsHeld` logos: the list limit, the headers (a file shorter than
// them, the empty file included, gives kShortRead), the "BM" signature and
// 1 bit per pixel, the size limits, then whether the file really holds the
// picture its headers describe. Top-down (negative height) and empty
// pictures are refused as not monochrome bitmaps; a file whose claimed size
// or pixel offset does not fit it, or that ends before its last row, is
// refused as unreadable.
LogoAcceptance AcceptLogo(std::span<const std::uint8_t> file, std::size_t rowsHeld);

// One logo as the printer takes it: the 4-byte header (stride and height in
// bytes, each low byte first) and the column data, for a file and the
// geometry that AcceptLogo gave for those same bytes. Stored rows are read
// only where the file holds them.
std::vector<std::uint8_t> ConvertLogo(std::span<const std::uint8_t> file, const LogoGeometry& geometry);

// The size check of "Baixar todos" over the listed files' sizes in list
// order, whole files counted; a size of 0 stands for a file whose size could
// not be read. kAccepted when the download may start.
LogoVerdict CheckLogoBudget(std::span<const std::uint64_t> fileSizes);

// The whole download job of the listed files in list order: the command
// 1C 71 n, each logo with its header, then 0A. Nothing when the list is
// empty or too long, or any file is no longer an acceptable logo: then no
// byte should reach the printer, since a cut-short image definition would
// make it swallow whatever comes next as picture data.
std::optional<std::vector<std::uint8_t>> BuildLogoJob(std::span<const std::span<const std::uint8_t>> files);

// One row of the logo list: ID (1-based position), file name, full path.
struct LogoRow {
    std::uint32_t id = 0;
    std::string name;
    std::string path;
};

// The ID column's text for a row: its position, "%u".
std::string LogoIdText(std::uint32_t id);

// "Apagar": removes the selected row, if any, and numbers the rows 1..n again.
void DeleteLogoRow(std::vector<LogoRow>& rows, std::optional<std::size_t> selected);

}  // namespace plugin
