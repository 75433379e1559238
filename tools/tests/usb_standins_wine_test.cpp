// The stand-ins for the package's USB parts, as Setup meets them under Wine:
// MdUsbInt.dll loaded by full path from a folder with its own MdUsbInt.ini,
// USBDrv\Install.exe started from its folder, and the version resources of
// bulkusb.sys and the older bulkusb_old.sys. The Wine tests of Setup rely on
// each of these behaving as configured.
#include <gtest/gtest.h>

#include <windows.h>

#include <cwchar>
#include <string>
#include <vector>

#include "automation/automation.h"
#include "win32/md_usb_int_abi.h"

namespace {

// A folder of its own in the temporary folder, removed with what it holds.
class TempFolder {
public:
    TempFolder() {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        path_ = std::wstring(temp) + L"pp_usb_standins_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                std::to_wstring(counter_++);
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~TempFolder() {
        WIN32_FIND_DATAW found{};
        HANDLE search = FindFirstFileW((path_ + L"\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                DeleteFileW((path_ + L"\\" + found.cFileName).c_str());
            } while (FindNextFileW(search, &found));
            FindClose(search);
        }
        RemoveDirectoryW(path_.c_str());
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }
    const std::wstring& path() const { return path_; }

private:
    static inline int counter_ = 0;
    std::wstring path_;
};

std::wstring BuiltFile(const char* variable) {
    const std::string path = automation::EnvVar(variable);
    return path.empty() ? std::wstring() : automation::FullPath(automation::Widen(path));
}

bool WriteText(const std::wstring& path, const std::string& text) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok =
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) && written == text.size();
    CloseHandle(file);
    return ok;
}

// The file's text, empty when there is none.
std::string ReadText(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string text(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    if (!ReadFile(file, text.data(), static_cast<DWORD>(text.size()), &read, nullptr)) read = 0;
    CloseHandle(file);
    text.resize(read);
    return text;
}

HANDLE AsHandle(INT_PTR value) {
    return reinterpret_cast<HANDLE>(value);
}

// ---------------------------------------------------------------- MdUsbInt.dll

// Two printers: slot 0 with device value 13 (identity 6) and slot 5 with 4.
constexpr const char* kTwoPrinters = "[Devices]\r\n0=13        ; a comment\r\n5=4\r\n";

class MdUsbIntWine : public ::testing::Test {
protected:
    void SetUp() override {
        const std::wstring built = BuiltFile("PP_MDUSBINT");
        ASSERT_FALSE(built.empty()) << "PP_MDUSBINT names the built MdUsbInt.dll";
        ASSERT_TRUE(CopyFileW(built.c_str(), (folder / L"MdUsbInt.dll").c_str(), FALSE)) << GetLastError();
        library = LoadLibraryW((folder / L"MdUsbInt.dll").c_str());
        ASSERT_NE(library, nullptr) << "error " << GetLastError();
        open = Bind<mdusbint::OpenDeviceXFn>("OpenDeviceX");
        describe = Bind<mdusbint::GetDescriptorFn>("GetDescriptor");
        write = Bind<mdusbint::UWriteFn>("uWrite");
        close = Bind<mdusbint::CloseDeviceFn>("CloseDevice");
        ASSERT_TRUE(open && describe && write && close) << "the four entry points are exported by their plain names";
    }
    void TearDown() override {
        if (library) FreeLibrary(library);
    }

    template <typename Function>
    Function Bind(const char* name) {
        return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
    }
    void Configure(const std::string& text) { ASSERT_TRUE(WriteText(folder / L"MdUsbInt.ini", text)); }
    // The device value the library reports for `slot`, or -1 when it fails.
    long long ValueIn(int slot) {
        HANDLE device = open(slot);
        DWORD value = 0xDEADBEEF;
        const int ok = describe(device, &value);
        close(device);
        return ok ? static_cast<long long>(value) : -1;
    }
    std::string Log() { return ReadText(folder / L"MdUsbInt.log"); }

    TempFolder folder;
    HMODULE library = nullptr;
    mdusbint::OpenDeviceXFn open = nullptr;
    mdusbint::GetDescriptorFn describe = nullptr;
    mdusbint::UWriteFn write = nullptr;
    mdusbint::CloseDeviceFn close = nullptr;
};

TEST_F(MdUsbIntWine, WithoutConfigurationNoSlotHoldsAPrinter) {
    for (int slot = 0; slot < mdusbint::kSlotCount; ++slot) {
        EXPECT_EQ(open(slot), nullptr) << "slot " << slot;
    }
}

TEST_F(MdUsbIntWine, ConfiguredPrintersOpenInTheirSlotsOnly) {
    struct Case {
        const char* noDeviceValue;
        HANDLE noDevice;
    };
    for (const Case& c : {Case{"0", nullptr}, Case{"-1", INVALID_HANDLE_VALUE}}) {
        SCOPED_TRACE(std::string("NoDeviceValue=") + c.noDeviceValue);
        Configure(std::string(kTwoPrinters) + "[Fail]\r\nNoDeviceValue=" + c.noDeviceValue + "\r\n");
        std::vector<HANDLE> opened;
        for (int slot = -1; slot <= mdusbint::kSlotCount; ++slot) {
            HANDLE device = open(slot);
            if (slot == 0 || slot == 5) {
                EXPECT_NE(device, nullptr) << "slot " << slot;
                EXPECT_NE(device, INVALID_HANDLE_VALUE) << "slot " << slot;
                opened.push_back(device);
            } else {
                EXPECT_EQ(device, c.noDevice) << "slot " << slot;
            }
        }
        ASSERT_EQ(opened.size(), 2u);
        EXPECT_NE(opened[0], opened[1]);
        DWORD value = 0;
        EXPECT_NE(describe(opened[0], &value), 0);
        EXPECT_EQ(value, 13u);
        EXPECT_NE(describe(opened[1], &value), 0);
        EXPECT_EQ(value, 4u);
        for (HANDLE device : opened) close(device);
    }
}

TEST_F(MdUsbIntWine, OnlyTheIdentityCommandStoresANewDeviceValue) {
    struct Case {
        const char* what;
        std::vector<BYTE> bytes;
        const char* logged;
        long long valueAfter;
    };
    const Case cases[] = {
        {"identity 3",
         {0x1B, 0x4B, 0x54, 0x52, 0x50, 0x34, 0x1D, 0x49, 0x20, 0x02},
         "uWrite slot=5 count=10 bytes=1B 4B 54 52 50 34 1D 49 20 02",
         2},
        {"identity 8, other vendor bytes",
         {0x1B, 0x01, 0x02, 0x03, 0x04, 0x05, 0x1D, 0x49, 0x20, 0x07},
         "uWrite slot=5 count=10 bytes=1B 01 02 03 04 05 1D 49 20 07",
         7},
        {"identity out of range",
         {0x1B, 0x4B, 0x54, 0x52, 0x50, 0x34, 0x1D, 0x49, 0x20, 0x08},
         "uWrite slot=5 count=10 bytes=1B 4B 54 52 50 34 1D 49 20 08",
         4},
        {"other command",
         {0x1B, 0x4B, 0x54, 0x52, 0x50, 0x34, 0x1D, 0x48, 0x20, 0x02},
         "uWrite slot=5 count=10 bytes=1B 4B 54 52 50 34 1D 48 20 02",
         4},
        {"one byte short",
         {0x1B, 0x4B, 0x54, 0x52, 0x50, 0x34, 0x1D, 0x49, 0x20},
         "uWrite slot=5 count=9 bytes=1B 4B 54 52 50 34 1D 49 20",
         4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Configure(kTwoPrinters);
        DeleteFileW((folder / L"MdUsbInt.log").c_str());
        HANDLE device = open(5);
        const int count = static_cast<int>(c.bytes.size());
        EXPECT_EQ(write(device, 0, c.bytes.data(), count), count);
        close(device);
        EXPECT_EQ(Log(), std::string(c.logged) + "\r\n");
        EXPECT_EQ(ValueIn(5), c.valueAfter);
        EXPECT_EQ(ValueIn(0), 13) << "the other printer keeps its value";
    }
}

TEST_F(MdUsbIntWine, EachLogLineIsAppended) {
    Configure(kTwoPrinters);
    const BYTE first[] = {0x10, 0x04, 0x01};
    const BYTE second[] = {0x0A};
    EXPECT_EQ(write(open(0), 0, first, 3), 3);
    EXPECT_EQ(write(open(5), 0, second, 1), 1);
    EXPECT_EQ(Log(), "uWrite slot=0 count=3 bytes=10 04 01\r\nuWrite slot=5 count=1 bytes=0A\r\n");
}

TEST_F(MdUsbIntWine, FailureSwitchesFailTheirCallOnly) {
    const BYTE identity2[] = {0x1B, 0x4B, 0x54, 0x52, 0x50, 0x34, 0x1D, 0x49, 0x20, 0x01};
    for (const std::string call : {"OpenDeviceX", "GetDescriptor", "uWrite"}) {
        SCOPED_TRACE(call);
        Configure(kTwoPrinters);
        DeleteFileW((folder / L"MdUsbInt.log").c_str());
        HANDLE device = open(0);
        Configure(std::string(kTwoPrinters) + "[Fail]\r\n" + call + "=1\r\n");
        EXPECT_EQ(open(0) == nullptr, call == "OpenDeviceX");
        DWORD value = 0;
        EXPECT_EQ(describe(device, &value) == 0, call == "GetDescriptor");
        EXPECT_EQ(write(device, 0, identity2, 10) == 0, call == "uWrite");
        EXPECT_EQ(Log().empty(), call == "uWrite") << "a failed write sends nothing";
        if (call != "GetDescriptor") {
            EXPECT_NE(describe(device, &value), 0);
            EXPECT_EQ(value, call == "uWrite" ? 13u : 1u) << "only a sent identity command changes the value";
        }
        close(device);
    }
}

TEST_F(MdUsbIntWine, HandlesItNeverGaveAreRefused) {
    Configure(kTwoPrinters);
    const BYTE byte = 0x0A;
    for (INT_PTR handle : {INT_PTR{0}, INT_PTR{-1}, INT_PTR{1}, INT_PTR{0x12345678}}) {
        SCOPED_TRACE(handle);
        DWORD value = 7;
        EXPECT_EQ(describe(AsHandle(handle), &value), 0);
        EXPECT_EQ(value, 7u) << "the value is left alone on failure";
        EXPECT_EQ(write(AsHandle(handle), 0, &byte, 1), 0);
        close(AsHandle(handle));
    }
    // A printer unplugged after its open.
    HANDLE device = open(5);
    Configure("[Devices]\r\n0=13\r\n");
    DWORD value = 0;
    EXPECT_EQ(describe(device, &value), 0);
    EXPECT_EQ(write(device, 0, &byte, 1), 0);
    // Nothing to read from or write into.
    device = open(0);
    EXPECT_EQ(describe(device, nullptr), 0);
    EXPECT_EQ(write(device, 0, nullptr, 1), 0);
    EXPECT_EQ(write(device, 0, &byte, 0), 0);
    EXPECT_TRUE(Log().empty());
}

// ---------------------------------------------------------------- Install.exe

constexpr const wchar_t* kInstallCaption = L"QTRX print system setup";

class UsbDriverToolWine : public ::testing::Test {
protected:
    void SetUp() override {
        const std::wstring built = BuiltFile("PP_USB_INSTALL");
        ASSERT_FALSE(built.empty()) << "PP_USB_INSTALL names the built Install.exe";
        ASSERT_TRUE(CopyFileW(built.c_str(), (folder / L"Install.exe").c_str(), FALSE)) << GetLastError();
    }
    // Runs the tool with `parameters`; its window, or nullptr when none showed.
    HWND Run(automation::Process& tool, const std::wstring& parameters) {
        EXPECT_TRUE(tool.Start(folder / L"Install.exe", folder.path(), parameters)) << "error " << GetLastError();
        return automation::WaitForDialog(tool.id(), kInstallCaption, 10000);
    }
    static void ExpectEndsAndTakesItsWindow(automation::Process& tool, HWND window) {
        DWORD exitCode = 1;
        EXPECT_TRUE(tool.WaitForExit(10000, &exitCode)) << "the tool ends by itself";
        EXPECT_EQ(exitCode, 0u);
        EXPECT_FALSE(IsWindow(window));
    }

    TempFolder folder;
};

TEST_F(UsbDriverToolWine, RecordsItsParametersAndShowsItsWindowForAMoment) {
    for (const wchar_t* parameters : {L"2", L"22"}) {
        automation::Process tool;
        HWND window = Run(tool, parameters);
        EXPECT_NE(window, nullptr) << "a window titled \"QTRX print system setup\"";
        ExpectEndsAndTakesItsWindow(tool, window);
    }
    EXPECT_EQ(ReadText(folder / L"Install.log"), "parameters=2\r\nparameters=22\r\n");
}

TEST_F(UsbDriverToolWine, ItsIniFileSetsHowLongTheWindowStays) {
    ASSERT_TRUE(WriteText(folder / L"Install.ini", "[Window]\r\nMilliseconds=3000\r\n"));
    automation::Process tool;
    HWND window = Run(tool, L"");
    ASSERT_NE(window, nullptr);
    Sleep(2000);
    EXPECT_TRUE(IsWindowVisible(window)) << "still showing 2 s after it appeared";
    ExpectEndsAndTakesItsWindow(tool, window);
    EXPECT_EQ(ReadText(folder / L"Install.log"), "parameters=\r\n");
}

// ---------------------------------------------------------------- bulkusb.sys

// The file version as the version resource's own translation names it, and
// the fixed part's last number.
struct FileVersion {
    std::wstring text;
    DWORD build = 0;
};

FileVersion ReadFileVersion(const std::wstring& path) {
    DWORD ignored = 0;
    std::vector<BYTE> data(GetFileVersionInfoSizeW(path.c_str(), &ignored));
    if (data.empty() || !GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(data.size()), data.data())) return {};
    struct Translation {
        WORD language, codePage;
    }* translation = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length) ||
        length < sizeof(Translation)) {
        return {};
    }
    wchar_t key[64];
    std::swprintf(key, 64, L"\\StringFileInfo\\%04x%04x\\FileVersion", translation->language, translation->codePage);
    wchar_t* text = nullptr;
    if (!VerQueryValueW(data.data(), key, reinterpret_cast<void**>(&text), &length)) return {};
    FileVersion version{text};
    VS_FIXEDFILEINFO* fixed = nullptr;
    if (VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) && fixed) {
        version.build = LOWORD(fixed->dwFileVersionLS);
    }
    return version;
}

TEST(BulkUsbWine, TheDriverIsOneVersionAheadOfTheOldOne) {
    struct Case {
        const char* variable;
        const wchar_t* text;
        DWORD build;
    };
    for (const Case& c : {Case{"PP_BULKUSB", L"1.0.0.3", 3}, Case{"PP_BULKUSB_OLD", L"1.0.0.2", 2}}) {
        SCOPED_TRACE(c.variable);
        const std::wstring path = BuiltFile(c.variable);
        ASSERT_FALSE(path.empty()) << c.variable << " names a built driver file";
        const FileVersion version = ReadFileVersion(path);
        EXPECT_EQ(version.text, c.text);
        EXPECT_EQ(version.build, c.build);
    }
}

}  // namespace
