// The desktop adapter's answer to "may this program administer the machine",
// for the token the process runs with and for one that lists Administrators
// only to deny.
#include <gtest/gtest.h>

#include <windows.h>

#include "win32/scoped_win32.h"
#include "win32/win32_desktop.h"

namespace {

TEST(Win32Desktop, AdministratorsCountOnlyWhereTheyGrantRights) {
    win32::Win32Desktop desktop;
    ASSERT_TRUE(desktop.IsAdministrator()) << "Wine runs programs as an administrator";

    win32::ScopedKernelHandle process;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_DUPLICATE | TOKEN_QUERY, process.receive()));
    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    win32::ScopedSid administrators;
    ASSERT_TRUE(AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0,
                                         0, 0, 0, 0, administrators.receive()));
    SID_AND_ATTRIBUTES disabled{administrators.get(), 0};
    win32::ScopedKernelHandle restricted;
    ASSERT_TRUE(CreateRestrictedToken(process.get(), 0, 1, &disabled, 0, nullptr, 0, nullptr, restricted.receive()))
        << "error " << GetLastError();
    win32::ScopedKernelHandle impersonation;
    ASSERT_TRUE(DuplicateToken(restricted.get(), SecurityImpersonation, impersonation.receive()));
    ASSERT_TRUE(SetThreadToken(nullptr, impersonation.get()));
    const bool restrictedAdministrator = desktop.IsAdministrator();
    RevertToSelf();
    EXPECT_FALSE(restrictedAdministrator) << "Administrators for deny only";
    EXPECT_TRUE(desktop.IsAdministrator()) << "the process's own token again";
}

}  // namespace
