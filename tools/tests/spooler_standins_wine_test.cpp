// The stand-ins for the package's monitors and print processor as Wine's
// spooler meets them: which files it loads and what it asks of them. Setup's
// installation relies on these facts (AddMonitor refuses a file that is not a
// monitor; every job goes through the printer's processor), so a change of
// Wine or of a stand-in that breaks them shows here first.
//
// The files are registered under names of this test's own ("PPT..."): the
// spooler runs inside the calling process under Wine, so a DLL it loaded stays
// mapped and could not be replaced by a later Setup run in the same prefix.
#include <gtest/gtest.h>

#include <windows.h>
#include <winspool.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "automation/system_folders.h"

namespace {

std::wstring Widen(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

// A file the build names in an environment variable, as a full Windows path.
std::wstring BuiltFile(const char* variable) {
    const char* value = std::getenv(variable);
    if (!value || !*value) return {};
    wchar_t full[MAX_PATH] = {};
    GetFullPathNameW(Widen(value).c_str(), MAX_PATH, full, nullptr);
    return full;
}

std::string ReadAll(const std::wstring& path) {
    std::string narrow(path.begin(), path.end());
    // Wine's msvcrt opens the Windows path; the stand-ins wrote it with ASCII names.
    std::ifstream in(narrow, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The record a stand-in keeps beside itself.
std::string CallLog(const std::wstring& dll) {
    return ReadAll(dll.substr(0, dll.find_last_of(L'.')) + L".log");
}

std::vector<std::wstring> MonitorNames() {
    DWORD needed = 0, count = 0;
    EnumMonitorsW(nullptr, 2, nullptr, 0, &needed, &count);
    std::vector<BYTE> buffer(needed + sizeof(MONITOR_INFO_2W));
    std::vector<std::wstring> names;
    if (!EnumMonitorsW(nullptr, 2, buffer.data(), static_cast<DWORD>(buffer.size()), &needed, &count)) return names;
    const auto* monitors = reinterpret_cast<const MONITOR_INFO_2W*>(buffer.data());
    for (DWORD i = 0; i < count; ++i) names.push_back(monitors[i].pName);
    return names;
}

bool Contains(const std::vector<std::wstring>& names, const std::wstring& name) {
    for (const auto& each : names)
        if (each == name) return true;
    return false;
}

struct MonitorCase {
    const char* name;
    const char* source;        // environment variable naming the file copied in
    DWORD expectedError;       // 0: AddMonitor succeeds
    const char* expectedCall;  // what the spooler called in the DLL
};

class MonitorFiles : public ::testing::TestWithParam<MonitorCase> {};

// What makes a monitor file acceptable to Wine's AddMonitor: it loads the DLL
// from the system directory and calls its entry point, InitializePrintMonitor2
// (a monitor user interface's InitializePrintMonitorUI is taken as well). A
// text file or a missing file fails the load (126); a DLL without either entry
// point, or one whose entry point answers null, fails with 127.
TEST_P(MonitorFiles, AddMonitorLoadsTheFile) {
    const MonitorCase& test = GetParam();
    std::wstring file = L"PPT" + Widen(test.name) + L".DLL";
    const std::wstring target = automation::SystemDirectory() + L"\\" + file;
    DeleteFileW(target.c_str());
    DeleteFileW((target.substr(0, target.size() - 4) + L".log").c_str());
    if (*test.source) {
        const std::wstring source = BuiltFile(test.source);
        ASSERT_FALSE(source.empty()) << test.source << " names the file";
        ASSERT_TRUE(CopyFileW(source.c_str(), target.c_str(), FALSE)) << "error " << GetLastError();
    }
    std::wstring monitorName = L"PP Teste " + Widen(test.name);
    DeleteMonitorW(nullptr, nullptr, monitorName.data());

    MONITOR_INFO_2W info{};
    info.pName = monitorName.data();
    info.pDLLName = file.data();
    SetLastError(0xDEADBEEF);
    const BOOL added = AddMonitorW(nullptr, 2, reinterpret_cast<BYTE*>(&info));
    const DWORD error = added ? 0 : GetLastError();
    EXPECT_EQ(error, test.expectedError) << "AddMonitor of " << test.name;
    EXPECT_EQ(Contains(MonitorNames(), monitorName), test.expectedError == 0);
    if (test.expectedError == 0) {
        EXPECT_NE(CallLog(target).find(std::string(test.expectedCall) + "\r\n"), std::string::npos)
            << "the spooler called the entry point: " << CallLog(target);
        // A second registration under the same name: 3006, which Setup takes
        // as "already installed".
        SetLastError(0xDEADBEEF);
        EXPECT_FALSE(AddMonitorW(nullptr, 2, reinterpret_cast<BYTE*>(&info)));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PRINT_MONITOR_ALREADY_INSTALLED));
        EXPECT_TRUE(DeleteMonitorW(nullptr, nullptr, monitorName.data())) << "error " << GetLastError();
        EXPECT_FALSE(Contains(MonitorNames(), monitorName));
    }
}

INSTANTIATE_TEST_SUITE_P(Files, MonitorFiles,
                         ::testing::Values(MonitorCase{"SerialMonitor", "PP_KTRCOMMN", 0, "InitializePrintMonitor2"},
                                           MonitorCase{"UsbMonitor", "PP_KTRUSBMN", 0, "InitializePrintMonitor2"},
                                           MonitorCase{"LanguageMonitor", "PP_KTRLMON", 0, "InitializePrintMonitor2"},
                                           MonitorCase{"MonitorUi", "PP_KTRCOMUI", 0, "InitializePrintMonitorUI"},
                                           MonitorCase{"TextStandIn", "PP_TEXT_KTRCOMMN", ERROR_MOD_NOT_FOUND, ""},
                                           MonitorCase{"MissingFile", "", ERROR_MOD_NOT_FOUND, ""},
                                           MonitorCase{"OtherDll", "PP_MDUSBINT", ERROR_PROC_NOT_FOUND, ""}),
                         [](const auto& info) { return std::string(info.param.name); });

// The processor stand-in called directly, as a spooler that asks it would:
// Wine's EnumPrintProcessorDatatypes does not reach the DLL.
class ProcessorDll : public ::testing::Test {
protected:
    void SetUp() override {
        const std::wstring path = BuiltFile("PP_KTRPROC");
        ASSERT_FALSE(path.empty()) << "PP_KTRPROC names the processor";
        module_ = LoadLibraryW(path.c_str());
        ASSERT_NE(module_, nullptr) << "error " << GetLastError();
    }
    void TearDown() override {
        if (module_) FreeLibrary(module_);
    }
    template <typename Fn>
    Fn Entry(const char* name) {
        return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
    }
    HMODULE module_ = nullptr;
};

TEST_F(ProcessorDll, AnnouncesRawOnly) {
    using EnumFn = BOOL(WINAPI*)(LPWSTR, LPWSTR, DWORD, LPBYTE, DWORD, LPDWORD, LPDWORD);
    auto enumTypes = Entry<EnumFn>("EnumPrintProcessorDatatypesW");
    ASSERT_NE(enumTypes, nullptr);
    wchar_t processor[] = L"KTRPrint";
    DWORD needed = 0, count = 99;
    SetLastError(0);
    EXPECT_FALSE(enumTypes(nullptr, processor, 1, nullptr, 0, &needed, &count));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(count, 0u);
    std::vector<BYTE> buffer(needed);
    ASSERT_TRUE(enumTypes(nullptr, processor, 1, buffer.data(), needed, &needed, &count));
    ASSERT_EQ(count, 1u);
    const auto* type = reinterpret_cast<const DATATYPES_INFO_1W*>(buffer.data());
    EXPECT_STREQ(type->pName, L"RAW");
    EXPECT_GE(reinterpret_cast<const BYTE*>(type->pName), buffer.data() + sizeof(DATATYPES_INFO_1W))
        << "the name lives in the caller's buffer";

    using CapsFn = DWORD(WINAPI*)(LPWSTR, DWORD, LPBYTE, DWORD, LPDWORD);
    auto caps = Entry<CapsFn>("GetPrintProcessorCapabilities");
    ASSERT_NE(caps, nullptr);
    const struct {
        const wchar_t* datatype;
        DWORD size;
        DWORD result;
    } cases[] = {{L"RAW", sizeof(PRINTPROCESSOR_CAPS_1), ERROR_SUCCESS},
                 {L"RAW", sizeof(PRINTPROCESSOR_CAPS_1) - 1, ERROR_MORE_DATA},
                 {L"NT EMF 1.008", sizeof(PRINTPROCESSOR_CAPS_1), ERROR_INVALID_DATATYPE}};
    for (const auto& test : cases) {
        std::vector<BYTE> data(sizeof(PRINTPROCESSOR_CAPS_1) + 4, 0xCD);
        std::wstring datatype = test.datatype;
        DWORD size = 0;
        EXPECT_EQ(caps(datatype.data(), 0, data.data(), test.size, &size), test.result)
            << std::string(datatype.begin(), datatype.end()) << " in " << test.size << " bytes";
        EXPECT_EQ(size, sizeof(PRINTPROCESSOR_CAPS_1));
        if (test.result == ERROR_SUCCESS) {
            PRINTPROCESSOR_CAPS_1 seen{};
            std::memcpy(&seen, data.data(), sizeof seen);
            EXPECT_EQ(seen.dwLevel, 1u);
            EXPECT_EQ(seen.dwNupOptions, 1u);
            EXPECT_EQ(seen.dwNumberOfCopies, 1u);
        } else {
            EXPECT_EQ(data[0], 0xCD) << "nothing written on failure";
        }
    }
}

// A printer whose processor is the stand-in, on a port Wine maps to a Unix
// file: Wine hands the job to the processor (OpenPrintProcessor with the
// port, PrintDocumentOnPrintProcessor with the job), which must pass it
// through byte for byte.
TEST(ProcessorInSpooler, RawJobPassesThroughTheProcessor) {
    const std::wstring built = BuiltFile("PP_KTRPROC");
    const std::wstring configModule = BuiltFile("PP_TEXT_KTRCOMMN");
    ASSERT_FALSE(built.empty() || configModule.empty());
    const std::wstring file = automation::ProcessorDirectory() + L"\\PPTPROC.DLL";
    DeleteFileW((automation::ProcessorDirectory() + L"\\PPTPROC.log").c_str());
    ASSERT_TRUE(CopyFileW(built.c_str(), file.c_str(), FALSE)) << "error " << GetLastError();
    wchar_t processorName[] = L"PP Teste Processador";
    wchar_t fileName[] = L"PPTPROC.DLL";
    // Wine's AddPrintProcessor records the name and file and opens neither.
    ASSERT_TRUE(AddPrintProcessorW(nullptr, nullptr, fileName, processorName)) << "error " << GetLastError();

    // A driver whose configuration module is a text file: Wine's AddPrinter
    // then asks no module for a device mode.
    wchar_t driverFolder[MAX_PATH] = {};
    DWORD needed = 0;
    GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(driverFolder), sizeof driverFolder,
                               &needed);
    ASSERT_TRUE(CopyFileW(configModule.c_str(), (std::wstring(driverFolder) + L"\\PPTCFG.DLL").c_str(), FALSE));
    wchar_t driverName[] = L"PP Teste Driver do Processador";
    DRIVER_INFO_3W driver{};
    driver.cVersion = 3;
    driver.pName = driverName;
    driver.pDriverPath = const_cast<wchar_t*>(L"PPTCFG.DLL");
    driver.pDataFile = const_cast<wchar_t*>(L"PPTCFG.DLL");
    driver.pConfigFile = const_cast<wchar_t*>(L"PPTCFG.DLL");
    ASSERT_TRUE(AddPrinterDriverW(nullptr, 3, reinterpret_cast<BYTE*>(&driver))) << "error " << GetLastError();

    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring portFile = std::wstring(temp) + L"pp-lpt3.out";
    DeleteFileW(portFile.c_str());
    using ToUnix = char*(CDECL*)(LPCWSTR);
    auto toUnix = reinterpret_cast<ToUnix>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    ASSERT_NE(toUnix, nullptr) << "runs under Wine";
    char* unixPath = toUnix(portFile.c_str());
    ASSERT_NE(unixPath, nullptr);
    const std::wstring unixPort = Widen(unixPath);
    HeapFree(GetProcessHeap(), 0, unixPath);
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\Printing\\Spooler", 0, nullptr, 0, KEY_SET_VALUE,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, L"LPT3:", 0, REG_SZ, reinterpret_cast<const BYTE*>(unixPort.c_str()),
                   static_cast<DWORD>((unixPort.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);

    wchar_t printerName[] = L"PP Teste Impressora do Processador";
    PRINTER_INFO_2W info{};
    info.pPrinterName = printerName;
    info.pPortName = const_cast<wchar_t*>(L"LPT3:");
    info.pDriverName = driverName;
    info.pPrintProcessor = processorName;
    info.pDatatype = const_cast<wchar_t*>(L"RAW");
    HANDLE added = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&info));
    ASSERT_NE(added, nullptr) << "error " << GetLastError();
    ClosePrinter(added);

    const std::string bytes = std::string("\x1B@ recibo\r\n", 11) + std::string("\x1D\x56\x01\x00\xFF", 5);
    HANDLE printer = nullptr;
    ASSERT_TRUE(OpenPrinterW(printerName, &printer, nullptr));
    DOC_INFO_1W document{const_cast<wchar_t*>(L"teste"), nullptr, const_cast<wchar_t*>(L"RAW")};
    EXPECT_NE(StartDocPrinterW(printer, 1, reinterpret_cast<BYTE*>(&document)), 0u);
    DWORD written = 0;
    EXPECT_TRUE(WritePrinter(printer, const_cast<char*>(bytes.data()), static_cast<DWORD>(bytes.size()), &written));
    EXPECT_TRUE(EndDocPrinter(printer)) << "error " << GetLastError();
    ClosePrinter(printer);

    std::string seen;
    for (int wait = 0; wait < 100 && (seen = ReadAll(portFile)).size() < bytes.size(); ++wait) Sleep(50);
    EXPECT_EQ(seen, bytes);
    const std::string log = CallLog(file);
    EXPECT_NE(log.find("OpenPrintProcessor "), std::string::npos) << log;
    EXPECT_NE(log.find("PrintDocumentOnPrintProcessor PP Teste Impressora do Processador, Job "), std::string::npos)
        << log;
    EXPECT_NE(log.find("  passed through\r\nClosePrintProcessor\r\n"), std::string::npos) << log;

    HANDLE removable = nullptr;
    PRINTER_DEFAULTSW access{nullptr, nullptr, PRINTER_ALL_ACCESS};
    if (OpenPrinterW(printerName, &removable, &access)) {
        DeletePrinter(removable);
        ClosePrinter(removable);
    }
    DeletePrinterDriverW(nullptr, nullptr, driverName);
}

}  // namespace
