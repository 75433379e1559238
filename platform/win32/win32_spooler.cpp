#include "win32/win32_spooler.h"

#include <windows.h>
#include <winspool.h>
// <winspool.h> maps these names to their A or W function; here they name the
// port's operations, and the W functions are called by their own names.
#undef OpenPrinter
#undef StartDocPrinter
#undef EnumForms
#undef AddForm
#undef SetForm

#include <string>
#include <vector>

#include "win32/encoding.h"
#include "win32/last_error.h"

namespace win32 {

namespace {
HANDLE Handle(plat::PrinterHandle printer) {
    return reinterpret_cast<HANDLE>(printer);
}

// FORM_INFO_1W of `form`; `name` holds the name's UTF-16 text for as long as
// the structure is used.
FORM_INFO_1W WideForm(const plat::FormInfo1& form, std::wstring& name) {
    name = Utf8ToWide(form.name);
    FORM_INFO_1W info{};
    info.Flags = form.flags;
    info.pName = name.data();
    info.Size = {form.width, form.height};
    info.ImageableArea = {form.left, form.top, form.right, form.bottom};
    return info;
}

}  // namespace

plat::Error Win32Spooler::OpenPrinter(std::string_view name, plat::PrinterHandle* printer) {
    std::wstring wide = Utf8ToWide(name);
    HANDLE opened = nullptr;
    if (!OpenPrinterW(wide.data(), &opened, nullptr)) return LastErrorOfFailure();
    *printer = reinterpret_cast<plat::PrinterHandle>(opened);
    return ERROR_SUCCESS;
}

plat::Error Win32Spooler::ClosePrinter(plat::PrinterHandle printer) {
    return ::ClosePrinter(Handle(printer)) ? ERROR_SUCCESS : LastErrorOfFailure();
}

plat::Error Win32Spooler::StartDocPrinter(plat::PrinterHandle printer, std::string_view docName, std::string_view dataType,
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

plat::Error Win32Spooler::StartPagePrinter(plat::PrinterHandle printer) {
    return ::StartPagePrinter(Handle(printer)) ? ERROR_SUCCESS : LastErrorOfFailure();
}

plat::Error Win32Spooler::WritePrinter(plat::PrinterHandle printer, const std::uint8_t* bytes, std::uint32_t count,
                                std::uint32_t* written) {
    DWORD taken = 0;
    // The function does not write through its buffer; its declaration just
    // lacks the const.
    if (!::WritePrinter(Handle(printer), const_cast<std::uint8_t*>(bytes), count, &taken)) return LastErrorOfFailure();
    *written = taken;
    return ERROR_SUCCESS;
}

plat::Error Win32Spooler::EndPagePrinter(plat::PrinterHandle printer) {
    return ::EndPagePrinter(Handle(printer)) ? ERROR_SUCCESS : LastErrorOfFailure();
}

plat::Error Win32Spooler::EndDocPrinter(plat::PrinterHandle printer) {
    return ::EndDocPrinter(Handle(printer)) ? ERROR_SUCCESS : LastErrorOfFailure();
}

plat::Error Win32Spooler::EnumForms(plat::PrinterHandle printer, std::vector<plat::FormInfo1>* forms) {
    // A small first buffer learns the size the forms need; the list may grow
    // between the calls, so a short second buffer asks again.
    std::vector<BYTE> buffer(32);
    DWORD needed = 0, count = 0;
    for (int attempt = 0; attempt < 4; ++attempt) {
        SetLastError(ERROR_SUCCESS);
        if (EnumFormsW(Handle(printer), 1, buffer.data(), static_cast<DWORD>(buffer.size()), &needed, &count)) {
            std::vector<plat::FormInfo1> listed;
            const auto* infos = reinterpret_cast<const FORM_INFO_1W*>(buffer.data());
            for (DWORD i = 0; i < count; ++i) {
                plat::FormInfo1 form;
                form.flags = infos[i].Flags;
                form.name = infos[i].pName ? WideToUtf8(infos[i].pName) : std::string();
                form.width = infos[i].Size.cx;
                form.height = infos[i].Size.cy;
                form.left = infos[i].ImageableArea.left;
                form.top = infos[i].ImageableArea.top;
                form.right = infos[i].ImageableArea.right;
                form.bottom = infos[i].ImageableArea.bottom;
                listed.push_back(std::move(form));
            }
            *forms = std::move(listed);
            return ERROR_SUCCESS;
        }
        const long error = LastErrorOfFailure();
        if (error != ERROR_INSUFFICIENT_BUFFER || needed <= buffer.size()) return error;
        buffer.assign(needed, 0);
    }
    return ERROR_INSUFFICIENT_BUFFER;
}

plat::Error Win32Spooler::AddForm(plat::PrinterHandle printer, const plat::FormInfo1& form) {
    std::wstring name;
    FORM_INFO_1W info = WideForm(form, name);
    SetLastError(ERROR_SUCCESS);
    return AddFormW(Handle(printer), 1, reinterpret_cast<BYTE*>(&info)) ? ERROR_SUCCESS : LastErrorOfFailure();
}

plat::Error Win32Spooler::SetForm(plat::PrinterHandle printer, std::string_view name, const plat::FormInfo1& form) {
    std::wstring formName = Utf8ToWide(name);
    std::wstring infoName;
    FORM_INFO_1W info = WideForm(form, infoName);
    SetLastError(ERROR_SUCCESS);
    return SetFormW(Handle(printer), formName.data(), 1, reinterpret_cast<BYTE*>(&info)) ? ERROR_SUCCESS
                                                                                         : LastErrorOfFailure();
}

}  // namespace win32
