#pragma once
// The print spooler as the plug-in uses it: a printer opened by name, one
// document at a time on a handle, pages and bytes written to it; and the
// spooler's forms (paper sizes) seen through a printer handle. Results are
// Win32 error codes (0 success); outputs are written only on success.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

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
constexpr long kErrorInvalidFormName = 1903;      // ERROR_INVALID_FORM_NAME

// FORM_INFO_1's Flags: a form the user defined, one the system has always
// had, one a printer driver brought.
constexpr std::uint32_t kFormUser = 0;     // FORM_USER
constexpr std::uint32_t kFormBuiltin = 1;  // FORM_BUILTIN
constexpr std::uint32_t kFormPrinter = 2;  // FORM_PRINTER

// FORM_INFO_1: sizes in thousandths of a millimetre.
struct FormInfo1 {
    std::uint32_t flags = kFormUser;
    std::string name;
    std::int32_t width = 0;
    std::int32_t height = 0;
    // The imageable area: left, top, right, bottom.
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    bool operator==(const FormInfo1&) const = default;
};

// OpenPrinter, StartDocPrinter, EnumForms, AddForm and SetForm are also
// macros of <winspool.h> (which <windows.h> leaves out in our lean builds): a
// file that includes it and uses these names of the port #undefs them first.
class Spooler {
public:
    virtual ~Spooler() = default;

    // OpenPrinter with the default access (printing).
    virtual Error OpenPrinter(std::string_view name, PrinterHandle* printer) = 0;
    virtual Error ClosePrinter(PrinterHandle printer) = 0;

    // StartDocPrinter, level 1, no output file: starts a job whose bytes are in
    // `dataType` ("RAW" for bytes that go to the printer unchanged).
    virtual Error StartDocPrinter(PrinterHandle printer, std::string_view docName, std::string_view dataType,
                                 std::uint32_t* jobId) = 0;
    virtual Error StartPagePrinter(PrinterHandle printer) = 0;
    // WritePrinter: `written` is how many of the `count` bytes the spooler took.
    virtual Error WritePrinter(PrinterHandle printer, const std::uint8_t* bytes, std::uint32_t count,
                              std::uint32_t* written) = 0;
    virtual Error EndPagePrinter(PrinterHandle printer) = 0;
    virtual Error EndDocPrinter(PrinterHandle printer) = 0;

    // EnumForms, level 1: every form the spooler knows, through `printer`.
    virtual Error EnumForms(PrinterHandle printer, std::vector<FormInfo1>* forms) = 0;
    // AddForm, level 1: 80 when a form of the name exists.
    virtual Error AddForm(PrinterHandle printer, const FormInfo1& form) = 0;
    // SetForm, level 1: changes the form named `name`; 1903 when there is none.
    virtual Error SetForm(PrinterHandle printer, std::string_view name, const FormInfo1& form) = 0;
};

}  // namespace plat
