#pragma once
// The print spooler as raw jobs use it: a printer opened by name, one document
// at a time on a handle, pages and bytes written to it. Results are Win32 error
// codes (0 success); outputs are written only on success.
#include <cstdint>
#include <string_view>

// The Win32 error codes every port shares (success, invalid handle, ...).
#include "ports/errors.h"

namespace plat {

// Opaque handle of an open printer; 0 is never a valid printer.
using PrinterHandle = std::uintptr_t;

// Win32 error codes of the spooler's own.
constexpr long kErrorInvalidPrinterName = 1801;   // ERROR_INVALID_PRINTER_NAME
constexpr long kErrorInvalidDatatype = 1804;      // ERROR_INVALID_DATATYPE
constexpr long kErrorInvalidPrinterState = 1906;  // ERROR_INVALID_PRINTER_STATE
constexpr long kErrorSplNoStartDoc = 3003;        // ERROR_SPL_NO_STARTDOC

// OpenPrinter and StartDocPrinter are also macros of <winspool.h> (which
// <windows.h> leaves out in our lean builds): a file that includes it and uses
// these names of the port #undefs them first.
class Spooler {
public:
    virtual ~Spooler() = default;

    // OpenPrinter with the default access (printing).
    virtual long OpenPrinter(std::string_view name, PrinterHandle* printer) = 0;
    virtual long ClosePrinter(PrinterHandle printer) = 0;

    // StartDocPrinter, level 1, no output file: starts a job whose bytes are in
    // `dataType` ("RAW" for bytes that go to the printer unchanged).
    virtual long StartDocPrinter(PrinterHandle printer, std::string_view docName, std::string_view dataType,
                                 std::uint32_t* jobId) = 0;
    virtual long StartPagePrinter(PrinterHandle printer) = 0;
    // WritePrinter: `written` is how many of the `count` bytes the spooler took.
    virtual long WritePrinter(PrinterHandle printer, const std::uint8_t* bytes, std::uint32_t count,
                              std::uint32_t* written) = 0;
    virtual long EndPagePrinter(PrinterHandle printer) = 0;
    virtual long EndDocPrinter(PrinterHandle printer) = 0;
};

}  // namespace plat
