// The service control manager as the installer drives the print spooler's
// service. Under Wine the cases stop and start the prefix's real "Spooler"
// service and leave it running.
#include <gtest/gtest.h>

#include "tests/contract_env.h"

namespace {

using contract::Env;

TEST(ServicesContract, UnknownServiceIsNamedSo) {
    plat::Services& services = Env().services();
    std::uint32_t state = 0x77;
    EXPECT_EQ(services.QueryServiceState("ServicoInexistente", &state), plat::kErrorServiceDoesNotExist);
    EXPECT_EQ(state, 0x77u) << "output untouched on failure";
    EXPECT_EQ(services.StopService("ServicoInexistente"), plat::kErrorServiceDoesNotExist);
    EXPECT_EQ(services.StartService("ServicoInexistente"), plat::kErrorServiceDoesNotExist);
}

// How the installer waits for the spooler: up to 10 queries, 300 ms apart.
bool RunsWithinTenPolls(plat::Services& services) {
    for (int poll = 0; poll < 10; ++poll) {
        std::uint32_t state = 0;
        if (services.QueryServiceState(plat::kSpoolerService, &state) == plat::kErrorSuccess &&
            state == plat::kServiceRunning) {
            return true;
        }
        Env().Pause(300);
    }
    return false;
}

TEST(ServicesContract, SpoolerStopsAndRunsAgain) {
    plat::Services& services = Env().services();
    const long firstStart = services.StartService(plat::kSpoolerService);
    if (Env().IsWine()) {
        // Wine starts its "Spooler" service only when asked: a fresh prefix
        // session has it stopped, and its printing works without it.
        ASSERT_TRUE(firstStart == plat::kErrorSuccess || firstStart == plat::kErrorServiceAlreadyRunning) << firstStart;
    } else {
        EXPECT_EQ(firstStart, plat::kErrorServiceAlreadyRunning) << "a Windows machine runs its spooler";
    }
    ASSERT_TRUE(RunsWithinTenPolls(services));
    EXPECT_EQ(services.StartService(plat::kSpoolerService), plat::kErrorServiceAlreadyRunning);

    ASSERT_EQ(services.StopService(plat::kSpoolerService), plat::kErrorSuccess);
    std::uint32_t state = 0;
    for (int poll = 0; poll < 10 && state != plat::kServiceStopped; ++poll) {
        ASSERT_EQ(services.QueryServiceState(plat::kSpoolerService, &state), plat::kErrorSuccess);
        if (state != plat::kServiceStopped) Env().Pause(300);
    }
    EXPECT_EQ(state, plat::kServiceStopped);
    EXPECT_EQ(services.StopService(plat::kSpoolerService), plat::kErrorServiceNotActive);

    ASSERT_EQ(services.StartService(plat::kSpoolerService), plat::kErrorSuccess);
    EXPECT_TRUE(RunsWithinTenPolls(services)) << "the spooler did not come back";
}

}  // namespace
