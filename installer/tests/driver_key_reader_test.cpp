#include <gtest/gtest.h>

#include "core/driver_key_reader.h"
#include "sim/sim_machine.h"
#include "tests/sample_package.h"

namespace {

using namespace setup;

TEST(SplitDeviceEntry, FirstSuffixInSearchOrderDecides) {
    struct Case {
        const char* entry;
        int module;
        const char* model;
    } cases[] = {
        {"KTR-P410-ReceiptPrinter", kModuleReceipt, "KTR-P410"},
        {"KTR-Q350-TicketPrinter-ReceiptPrinter", kModuleReceipt, "KTR-Q350-TicketPrinter"},
        {"KTR-L60-LabelPrinter-EmbeddedPrinter", kModuleLabel, "KTR-L60"},
        {"KTR-E58-EmbeddedPrinter", kModuleEmbedded, "KTR-E58"},
        {"KTR-X-ReceiptPrinter-Old-ReceiptPrinter", kModuleReceipt, "KTR-X"},
        {"KTR-ReceiptPrinterII", kModuleReceipt, "KTR"},
        {"-TicketPrinter", kModuleTicket, ""},
        {"KTR-P410", -1, "KTR-P410"},
        {"KTR-P410-receiptprinter", -1, "KTR-P410-receiptprinter"},
        {"", -1, ""},
    };
    for (const auto& c : cases) {
        std::string model = "stale";
        EXPECT_EQ(SplitDeviceEntry(c.entry, &model), c.module) << c.entry;
        EXPECT_EQ(model, c.model) << c.entry;
    }
}

TEST(MakeReaderPaths, UsesTheLowerCaseModuleNames) {
    const ConfigPaths paths = MakeReaderPaths("C:\\P\\");
    EXPECT_EQ(paths.setupIni, "C:\\P\\DRVCONFIG\\setup.ini");
    EXPECT_EQ(paths.moduleIni[kModuleReceipt], "C:\\P\\DRVCONFIG\\setup_receipt.ini");
    EXPECT_EQ(paths.moduleIni[kModuleTicket], "C:\\P\\DRVCONFIG\\setup_ticket.ini");
    EXPECT_EQ(paths.moduleIni[kModuleLabel], "C:\\P\\DRVCONFIG\\setup_lable.ini");
    EXPECT_EQ(paths.moduleIni[kModuleEmbedded], "C:\\P\\DRVCONFIG\\setup_embedded.ini");
}

class SamplePackageList : public ::testing::Test {
protected:
    void SetUp() override { setup_test::LoadSamplePackage(machine.files); }
    sim::SimMachine machine;
    DriverKeyReader reader{machine.profile, MakeReaderPaths(setup_test::kPackageFolder)};
};

TEST_F(SamplePackageList, ReadsEveryEntry) {
    ASSERT_EQ(reader.ReadDeviceCount(), 10);
    struct Expected {
        int module;
        const char* model;
    } expected[] = {
        {kModuleReceipt, "KTR-P410"},   {-1, "KTR-P410"},  // the bare entry belongs to no module
        {kModuleReceipt, "KTR-P410II"}, {kModuleReceipt, "KTR-Q350-TicketPrinter"},
        {kModuleTicket, "KTR-Q350"},    {kModuleTicket, "KTR-T200"},
        {kModuleLabel, "KTR-L60"},      {kModuleLabel, "KTR-L80"},
        {kModuleEmbedded, "KTR-E58"},   {kModuleEmbedded, "KTR-D9"},
    };
    for (int n = 1; n <= 10; ++n) {
        std::string name;
        EXPECT_EQ(reader.ReadDeviceEntry(n, &name), expected[n - 1].module) << n;
        EXPECT_EQ(name, expected[n - 1].model) << n;
    }
    std::string name;
    EXPECT_EQ(reader.ReadDeviceEntry(11, &name), -1);
    EXPECT_EQ(name, "0") << "past the list the default text comes back uncut";
}

TEST_F(SamplePackageList, DefaultDevice) {
    std::string name;
    EXPECT_EQ(reader.ReadDefaultDevice(&name), kModuleReceipt);
    EXPECT_EQ(name, "KTR-P410");
}

TEST(DriverKeyReader, EntriesAreCutToTheirBufferAndMissingFilesReadAsEmpty) {
    sim::SimMachine machine;
    DriverKeyReader reader{machine.profile, MakeReaderPaths("C:\\Nada\\")};
    std::string name;
    EXPECT_EQ(reader.ReadDeviceCount(), 0);
    EXPECT_EQ(reader.ReadDefaultDevice(&name), -1);

    for (const auto& [text, count] : {std::pair{"2147483647", 1000}, std::pair{"-3", 0}, std::pair{"12", 12}}) {
        machine.files.Write("C:\\Nada\\DRVCONFIG\\setup.ini", std::string("[DEVICENAME]\r\nDEVICENUMBER=") + text);
        EXPECT_EQ(reader.ReadDeviceCount(), count) << text;
    }

    const std::string longModel(250, 'K');
    machine.files.Write("C:\\Nada\\DRVCONFIG\\setup.ini",
                        "[DEVICENAME]\r\nDEVICENUMBER=1\r\nDEVICENAME1=" + longModel + "-ReceiptPrinter\r\n");
    EXPECT_EQ(reader.ReadDeviceEntry(1, &name), -1) << "the suffix fell beyond the 199 characters kept";
    EXPECT_EQ(name, std::string(199, 'K'));
}

}  // namespace
