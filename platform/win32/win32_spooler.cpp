#include "win32/win32_spooler.h"

#include <windows.h>
#include <winspool.h>
// <winspool.h> maps these two names to their A or W function; here they name
// the port's operations, and the W functions are called by their own names.
#undef OpenPrinter
#undef StartDocPrinter

#include <string>

#include "win32/encoding.h"
#include "win32/last_error.h"

namespace win32 {

namespace {
HANDLE Handle(plat::PrinterHandle printer) {
    return reinterpret_cast<HANDLE>(printer);
}

}  // namespace

long Win32Spooler::OpenPrinter(std::string_view name, plat::PrinterHandle* printer) {
    std::wstring wide = Utf8ToWide(name);
    HANDLE opened = nullptr;
    if (!OpenPrinterW(wide.data(), &opened, nullptr)) return LastErrorOfFailure();
    *printer = reinterpret_cast<plat::PrinterHandle>(opened);
    return ERROR_SUCCESS;
}

long Win32Spooler::ClosePrinter(plat::PrinterHandle printer) {
    return ::ClosePrinter(Handle(printer)) ? ERROR_SUCCESS : LastErrorOfFailure();
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
    if (job == 0) return LastErrorOfFailure();
    *jobId = job;
    return ERROR_SUCCESS;
}

long Win32Spooler::StartPagePrinter(plat::PrinterHandle printer) {
    return ::StartPagePrinter(Handle(printer)) ? ERROR_SUCCESS : LastErrorOfFailure();
}

long Win32Spooler::WritePrinter(plat::PrinterHandle printer, const std::uint8_t* bytes, std::uint32_t count,
                                std::uint32_t* written) {
    DWORD taken = 0;
    // The function does not write through its buffer; its declaration just
    // lacks the const.
    if (!::WritePrinter(Handle(printer), const_cast<std::uint8_t*>(bytes), count, &taken)) return LastErrorOfFailure();
    *written = taken;
    return ERROR_SUCCESS;
}

long Win32Spooler::EndPagePrinter(plat::PrinterHandle printer) {
    return ::EndPagePrinter(Handle(printer)) ? ERROR_SUCCESS : LastErrorOfFailure();
}

long Win32Spooler::EndDocPrinter(plat::PrinterHandle printer) {
    return ::EndDocPrinter(Handle(printer)) ? ERROR_SUCCESS : LastErrorOfFailure();
}

}  // namespace win32
