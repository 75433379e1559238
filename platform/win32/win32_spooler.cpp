#include "win32/win32_spooler.h"

#include <windows.h>
#include <winspool.h>
// <winspool.h> maps these two names to their A or W function; here they name
// the port's operations, and the W functions are called by their own names.
#undef OpenPrinter
#undef StartDocPrinter

#include <string>

#include "win32/encoding.h"

namespace win32 {

namespace {
HANDLE Handle(plat::PrinterHandle printer) {
    return reinterpret_cast<HANDLE>(printer);
}

// The error of a call that reported failure. A failure without a code still
// has to read as one.
long Failed() {
    const DWORD error = GetLastError();
    return error != ERROR_SUCCESS ? static_cast<long>(error) : ERROR_GEN_FAILURE;
}
}  // namespace

long Win32Spooler::OpenPrinter(std::string_view name, plat::PrinterHandle* printer) {
    std::wstring wide = Utf8ToWide(name);
    HANDLE opened = nullptr;
    if (!OpenPrinterW(wide.data(), &opened, nullptr)) return Failed();
    *printer = reinterpret_cast<plat::PrinterHandle>(opened);
    return ERROR_SUCCESS;
}

long Win32Spooler::ClosePrinter(plat::PrinterHandle printer) {
    return ::ClosePrinter(Handle(printer)) ? ERROR_SUCCESS : Failed();
}

long Win32Spooler::StartDocPrinter(plat::PrinterHandle printer, std::string_view docName, std::string_view dataType,
                                   std::uint32_t* jobId) {
    std::wstring wideName = Utf8ToWide(docName);
    std::wstring wideType = Utf8ToWide(dataType);
    DOC_INFO_1W info{};
    info.pDocName = wideName.data();
    info.pOutputFile = nullptr;
    info.pDatatype = wideType.data();
    const DWORD job = StartDocPrinterW(Handle(printer), 1, reinterpret_cast<LPBYTE>(&info));
    if (job == 0) return Failed();
    *jobId = job;
    return ERROR_SUCCESS;
}

long Win32Spooler::StartPagePrinter(plat::PrinterHandle printer) {
    return ::StartPagePrinter(Handle(printer)) ? ERROR_SUCCESS : Failed();
}

long Win32Spooler::WritePrinter(plat::PrinterHandle printer, const std::uint8_t* bytes, std::uint32_t count,
                                std::uint32_t* written) {
    DWORD taken = 0;
    // The function does not write through its buffer; its declaration just
    // lacks the const.
    if (!::WritePrinter(Handle(printer), const_cast<std::uint8_t*>(bytes), count, &taken)) return Failed();
    *written = taken;
    return ERROR_SUCCESS;
}

long Win32Spooler::EndPagePrinter(plat::PrinterHandle printer) {
    return ::EndPagePrinter(Handle(printer)) ? ERROR_SUCCESS : Failed();
}

long Win32Spooler::EndDocPrinter(plat::PrinterHandle printer) {
    return ::EndDocPrinter(Handle(printer)) ? ERROR_SUCCESS : Failed();
}

}  // namespace win32
