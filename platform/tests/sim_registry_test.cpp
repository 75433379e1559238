// What the simulated registry adds to the contract: fault injection and the
// life of handles, which tests of the programs rely on.
#include <gtest/gtest.h>

#include "registry_key.h"
#include "sim/sim_registry.h"

namespace {

using plat::RootKey;

TEST(SimRegistry, InjectedFailuresHitOnlyMatchingKeys) {
    sim::SimRegistry registry;
    registry.Fail(sim::RegistryOp::CreateKey, plat::kErrorAccessDenied, "MERIDAN\\PORTNAME");
    long error = 0;
    EXPECT_FALSE(plat::RegistryKey::CreateKey(registry, RootKey::LocalMachine, "SOFTWARE\\MERIDAN\\PORTNAME", &error));
    EXPECT_EQ(error, plat::kErrorAccessDenied);
    EXPECT_FALSE(registry.KeyExists(RootKey::LocalMachine, "SOFTWARE\\MERIDAN\\PORTNAME"));
    EXPECT_TRUE(plat::RegistryKey::CreateKey(registry, RootKey::LocalMachine, "SOFTWARE\\MERIDAN\\PRINTERPORT"));
    registry.ClearFailures();
    EXPECT_TRUE(plat::RegistryKey::CreateKey(registry, RootKey::LocalMachine, "SOFTWARE\\MERIDAN\\PORTNAME"));
}

TEST(SimRegistry, HandlesAreReleasedAndGoStaleWithTheirKey) {
    sim::SimRegistry registry;
    registry.PutDword(RootKey::CurrentUser, "A\\B", "v", 1);
    {
        plat::RegistryKey key(registry);
        ASSERT_TRUE(key.Open(RootKey::CurrentUser, "a\\b"));
        EXPECT_EQ(registry.OpenHandleCount(), 1u);
        ASSERT_EQ(registry.DeleteKey(RootKey::CurrentUser, "A\\B"), plat::kErrorSuccess);
        EXPECT_FALSE(key.WriteDword("v", 2));
        EXPECT_EQ(key.lastError(), sim::SimRegistry::kErrorKeyDeleted);
    }
    EXPECT_EQ(registry.OpenHandleCount(), 0u) << "RegistryKey closes what it opened";
    EXPECT_EQ(registry.DeleteKey(RootKey::CurrentUser, ""), plat::kErrorAccessDenied) << "a root cannot go";
}

}  // namespace
