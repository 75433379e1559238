#include <windows.h>

#include <cstdio>

#include "tests/contract_env.h"
#include "win32/encoding.h"
#include "win32/win32_profile.h"
#include "win32/win32_registry.h"
#include "win32/win32_spooler.h"

namespace contract {

namespace {
class Win32ContractEnv : public ContractEnv {
public:
    Win32ContractEnv() {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        folder_ = std::string(temp) + "pp-contract-" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(folder_.c_str(), nullptr);
    }
    plat::Profile& profile() override { return profile_; }
    plat::Registry& registry() override { return registry_; }
    plat::Spooler& spooler() override { return spooler_; }
    std::string WriteFile(std::string_view name, std::string_view content) override {
        const std::string path = folder_ + std::string(name);
        // Profile files are 8-bit text in the ANSI code page.
        const std::string bytes = win32::Utf8ToAnsi(content);
        if (FILE* file = std::fopen(path.c_str(), "wb")) {
            std::fwrite(bytes.data(), 1, bytes.size(), file);
            std::fclose(file);
        }
        return win32::AnsiToUtf8(path);
    }
    std::string MissingFile() override { return win32::AnsiToUtf8(folder_ + "nao-existe.ini"); }
    bool IsWine() override { return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr; }

private:
    std::string folder_;
    win32::Win32Profile profile_;
    win32::Win32Registry registry_;
    win32::Win32Spooler spooler_;
};
}  // namespace

ContractEnv& Env() {
    static Win32ContractEnv env;
    return env;
}

}  // namespace contract
