#pragma once
#include "ports/spooler.h"

namespace win32 {

// The spooler through the W functions; names converted from UTF-8 to UTF-16.
class Win32Spooler : public plat::Spooler {
public:
    long OpenPrinter(std::string_view name, plat::PrinterHandle* printer) override;
    long ClosePrinter(plat::PrinterHandle printer) override;
    long StartDocPrinter(plat::PrinterHandle printer, std::string_view docName, std::string_view dataType,
                         std::uint32_t* jobId) override;
    long StartPagePrinter(plat::PrinterHandle printer) override;
    long WritePrinter(plat::PrinterHandle printer, const std::uint8_t* bytes, std::uint32_t count,
                      std::uint32_t* written) override;
    long EndPagePrinter(plat::PrinterHandle printer) override;
    long EndDocPrinter(plat::PrinterHandle printer) override;
    long EnumForms(plat::PrinterHandle printer, std::vector<plat::FormInfo1>* forms) override;
    long AddForm(plat::PrinterHandle printer, const plat::FormInfo1& form) override;
    long SetForm(plat::PrinterHandle printer, std::string_view name, const plat::FormInfo1& form) override;
};

}  // namespace win32
