#pragma once
// A printer on the simulated spooler, opened as the driver hands it to the
// printer pages.
#include <gtest/gtest.h>

#include "sim/sim_spooler.h"

namespace plugin_test {

inline plat::PrinterHandle OpenedPrinter(sim::SimSpooler& spooler, const char* name) {
    spooler.PutPrinter(name);
    plat::PrinterHandle handle = 0;
    EXPECT_EQ(spooler.OpenPrinter(name, &handle), 0);
    return handle;
}

}  // namespace plugin_test
