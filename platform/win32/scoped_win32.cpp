#include "win32/scoped_win32.h"

#include <winspool.h>

namespace win32 {

void PrinterCloser::operator()(HANDLE printer) const {
    ClosePrinter(printer);
}

}  // namespace win32
