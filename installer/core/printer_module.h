#pragma once

namespace setup {

// The printer families of the package; each has its own module file and radio
// button on the module page.
enum PrinterModule : int {
    kModuleReceipt = 0,   // "Cupom"
    kModuleTicket = 1,    // "Tíquete"
    kModuleLabel = 2,     // "Etiqueta"
    kModuleEmbedded = 3,  // "Embarcado"
};
constexpr int kModuleCount = 4;

}  // namespace setup
