#include <gtest/gtest.h>

#include "core/raw_job.h"
#include "sim/sim_spooler.h"

namespace {

using plugin::SendRawJob;
using Bytes = std::vector<std::uint8_t>;
using enum sim::SpoolerOp;

constexpr const char* kPrinter = "OLVEN Receipt";
const Bytes kSelfTest{0x1D, 0x28, 0x41, 0x02, 0x00, 0x00, 0x02, 0x1B, 0x40, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A};
constexpr std::uint32_t kAll = UINT32_MAX;

struct Fault {
    sim::SpoolerOp op;
    long error;
};

struct JobRow {
    const char* name;
    std::vector<Fault> faults;
    std::size_t sent;          // leading bytes of the self-test sent
    std::uint32_t writeLimit;  // bytes the spooler takes per write
    bool result;
    long error;  // what SendRawJob reports
    // What the printer holds afterwards (pagesStarted -1: no job at all).
    int pagesStarted, pagesEnded;
    std::size_t bytesKept;
    bool ended;
};

const JobRow kRows[] = {
    {"Succeeds", {}, 15, kAll, true, 0, 1, 1, 15, true},
    {"EmptyBuffer", {}, 0, kAll, true, 0, 1, 1, 0, true},
    {"StartDocFails", {{StartDocPrinter, 5}}, 15, kAll, false, 5, -1, 0, 0, false},
    {"StartPageFailsDocumentStillEnded", {{StartPagePrinter, 8}}, 15, kAll, false, 8, 0, 0, 0, true},
    {"WriteFailsPageAndDocumentEnded", {{WritePrinter, 63}}, 15, kAll, false, 63, 1, 1, 0, true},
    {"EndPageFailsDocumentStillEnded", {{EndPagePrinter, 31}}, 15, kAll, false, 31, 1, 0, 15, true},
    {"EndDocFails", {{EndDocPrinter, 1}}, 15, kAll, false, 1, 1, 1, 15, false},
    {"ShortWrite", {}, 15, 10, false, 0, 1, 1, 10, true},
    {"CleanupFailureKeepsTheCause", {{WritePrinter, 63}, {EndPagePrinter, 31}}, 15, kAll, false, 63, 1, 0, 0, true},
};

class RawJob : public ::testing::Test {
protected:
    void SetUp() override {
        spooler.PutPrinter(kPrinter);
        ASSERT_EQ(spooler.OpenPrinter(kPrinter, &printer), plat::kErrorSuccess);
    }
    sim::SimSpooler spooler;
    plat::PrinterHandle printer = 0;
};

class RawJobRows : public RawJob, public ::testing::WithParamInterface<JobRow> {};

TEST_P(RawJobRows, EndsWhatItStarted) {
    const JobRow& row = GetParam();
    for (const Fault& fault : row.faults) spooler.Fail(fault.op, fault.error);
    spooler.LimitWrites(row.writeLimit);
    long error = -1;

    EXPECT_EQ(SendRawJob(spooler, printer, "SELFTEST", std::span(kSelfTest).first(row.sent), &error), row.result);
    EXPECT_EQ(error, row.error);

    const auto& jobs = spooler.Jobs(kPrinter);
    ASSERT_EQ(jobs.size(), row.pagesStarted < 0 ? 0u : 1u);
    if (jobs.empty()) return;
    EXPECT_EQ(jobs[0].docName, "SELFTEST");
    EXPECT_EQ(jobs[0].dataType, "RAW");
    EXPECT_EQ(jobs[0].pagesStarted, row.pagesStarted);
    EXPECT_EQ(jobs[0].pagesEnded, row.pagesEnded);
    EXPECT_EQ(jobs[0].bytes, Bytes(kSelfTest.begin(), kSelfTest.begin() + row.bytesKept));
    EXPECT_EQ(jobs[0].ended, row.ended);
}

INSTANTIATE_TEST_SUITE_P(Faults, RawJobRows, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RawJob, ClosedPrinterReportsInvalidHandle) {
    ASSERT_EQ(spooler.ClosePrinter(printer), plat::kErrorSuccess);
    long error = 0;
    EXPECT_FALSE(SendRawJob(spooler, printer, "SELFTEST", kSelfTest, &error));
    EXPECT_EQ(error, plat::kErrorInvalidHandle);
    EXPECT_TRUE(spooler.Jobs(kPrinter).empty());
}

// The simulation refuses calls out of order with the codes Windows gives, so
// that a job sequence that skips a step fails here as it would there.
TEST_F(RawJob, SimulationRefusesCallsOutOfOrder) {
    plat::PrinterHandle other = 0;
    EXPECT_EQ(spooler.OpenPrinter("Unknown", &other), plat::kErrorInvalidPrinterName);
    ASSERT_EQ(spooler.OpenPrinter("olven RECEIPT", &other), plat::kErrorSuccess) << "names ignore case";

    std::uint32_t job = 0, written = 0;
    const std::uint8_t byte = 0x0A;
    EXPECT_EQ(spooler.StartPagePrinter(other), plat::kErrorSplNoStartDoc);
    EXPECT_EQ(spooler.WritePrinter(other, &byte, 1, &written), plat::kErrorSplNoStartDoc);
    EXPECT_EQ(spooler.EndPagePrinter(other), plat::kErrorSplNoStartDoc);
    EXPECT_EQ(spooler.EndDocPrinter(other), plat::kErrorSplNoStartDoc);
    EXPECT_EQ(spooler.StartDocPrinter(other, "X", "BYTES", &job), plat::kErrorInvalidDatatype);
    ASSERT_EQ(spooler.StartDocPrinter(other, "X", "raw", &job), plat::kErrorSuccess);
    EXPECT_EQ(spooler.StartDocPrinter(other, "Y", "RAW", &job), plat::kErrorInvalidPrinterState);
    // A second handle on the same printer runs its own document.
    EXPECT_TRUE(SendRawJob(spooler, printer, "SELFTEST", kSelfTest));
    EXPECT_EQ(spooler.Jobs(kPrinter).size(), 2u);
    EXPECT_EQ(spooler.ClosePrinter(other), plat::kErrorSuccess);
    EXPECT_EQ(spooler.ClosePrinter(other), plat::kErrorInvalidHandle);
    EXPECT_EQ(spooler.OpenHandleCount(), 1u);
}

}  // namespace
