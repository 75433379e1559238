// What the spooler answers before any job exists. The same cases run against
// the simulation and against the real platform.
#include <gtest/gtest.h>

#include "tests/contract_env.h"

namespace {

using contract::Env;

TEST(SpoolerContract, UnknownPrinterDoesNotOpen) {
    plat::PrinterHandle handle = 0x77;
    EXPECT_EQ(Env().spooler().OpenPrinter("Impressora que não existe", &handle), plat::kErrorInvalidPrinterName);
    EXPECT_EQ(handle, 0x77u) << "output untouched on failure";
}

TEST(SpoolerContract, CallsOnAHandleThatIsNotOpenFail) {
    // A pointer-sized value no spooler ever handed out.
    const plat::PrinterHandle bogus = 0x1234;
    plat::Spooler& spooler = Env().spooler();
    std::uint32_t job = 0, written = 0;
    const std::uint8_t byte = 0x1B;
    EXPECT_EQ(spooler.StartDocPrinter(bogus, "Autoteste", "RAW", &job), plat::kErrorInvalidHandle);
    EXPECT_EQ(spooler.WritePrinter(bogus, &byte, 1, &written), plat::kErrorInvalidHandle);
    EXPECT_EQ(spooler.EndDocPrinter(bogus), plat::kErrorInvalidHandle);
    EXPECT_EQ(spooler.ClosePrinter(bogus), plat::kErrorInvalidHandle);
}

TEST(SpoolerContract, PageCallsOnAHandleThatIsNotOpenFail) {
    if (Env().IsWine())
        GTEST_SKIP() << "Wine's StartPagePrinter and EndPagePrinter accept any handle; Windows answers 6";
    const plat::PrinterHandle bogus = 0x1234;
    EXPECT_EQ(Env().spooler().StartPagePrinter(bogus), plat::kErrorInvalidHandle);
    EXPECT_EQ(Env().spooler().EndPagePrinter(bogus), plat::kErrorInvalidHandle);
}

}  // namespace
