#pragma once
// A printer handle of the spooler port, closed when its owner goes.
#include "ports/spooler_admin.h"
#include "scoped_handle.h"

namespace plat {

struct PrinterCloser {
    SpoolerAdmin* spooler = nullptr;
    void operator()(PrinterHandle handle) const { (void)spooler->ClosePrinter(handle); }
};
using ScopedPrinter = ScopedHandle<PrinterHandle, PrinterCloser>;

inline ScopedPrinter OwnedPrinter(SpoolerAdmin& spooler) {
    return ScopedPrinter(PrinterCloser{&spooler});
}

}  // namespace plat
