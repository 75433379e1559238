#include "core/port_names.h"

#include <gtest/gtest.h>

namespace {

using namespace setup;

TEST(PortNames, KindPrinterNameAndRegisteredPort) {
    struct Case {
        const char* port;
        const char* model;
        int kind;
        const char* printerName;  // unused when the kind is -1
        const char* registered;
    } cases[] = {
        {"USB_KTR-P410_2", "KTR-P410", kPortUsb, "KTR-P410(U) 2", ""},
        {"USB_KTR-P410_1", "KTR-P410", kPortUsb, "KTR-P410(U) 1", ""},
        {"LPT1:", "KTR-P410", kPortLpt, "KTR-P410(P)", ""},
        {"MDCOM3:", "KTR-P410", kPortCom, "KTR-P410(S)", ""},
        {"COM2:", "KTR-L60", kPortCom, "KTR-L60(S)", ""},
        {"FILE:", "KTR-P410", -1, nullptr, ""},
        {"USB_KTR-D9_3", "KTR-D9", kPortUsb, "KTR-D9(U) 3", "USB_KTR-D9_3"},
        {"USB_KTR-D9II_2", "KTR-D9II", kPortUsb, "KTR-D9II(U) 2", "USB_KTR-D9_2"},
        {"", "KTR-D9", -1, nullptr, ""},
    };
    for (const auto& c : cases) {
        const int kind = PortKindOf(c.port);
        EXPECT_EQ(kind, c.kind) << c.port;
        if (c.printerName) {
            EXPECT_EQ(PrinterNameFor(c.model, c.port, kind), c.printerName) << c.port;
        }
        EXPECT_EQ(RegisteredPortName(c.port), c.registered) << c.port;
    }
}

}  // namespace
