#pragma once
#include "ports/spooler.h"

namespace win32 {

// The spooler through the W functions; names converted from UTF-8 to UTF-16.
class Win32Spooler : public plat::Spooler {
public:
    plat::Error OpenPrinter(std::string_view name, plat::PrinterHandle* printer) override;
    plat::Error ClosePrinter(plat::PrinterHandle printer) override;
    plat::Error StartDocPrinter(plat::PrinterHandle printer, std::string_view docName, std::string_view dataType,
                         std::uint32_t* jobId) override;
    plat::Error StartPagePrinter(plat::PrinterHandle printer) override;
    plat::Error WritePrinter(plat::PrinterHandle printer, const std::uint8_t* bytes, std::uint32_t count,
                      std::uint32_t* written) override;
    plat::Error EndPagePrinter(plat::PrinterHandle printer) override;
    plat::Error EndDocPrinter(plat::PrinterHandle printer) override;
    plat::Error EnumForms(plat::PrinterHandle printer, std::vector<plat::FormInfo1>* forms) override;
    plat::Error AddForm(plat::PrinterHandle printer, const plat::FormInfo1& form) override;
    plat::Error SetForm(plat::PrinterHandle printer, std::string_view name, const plat::FormInfo1& form) override;
};

}  // namespace win32
