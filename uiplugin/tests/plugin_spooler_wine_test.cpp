// The plug-in as the print spooler reaches it: a printer of the package's
// driver, with the stand-in configuration module, on a port that Wine maps to
// a Unix file. The spooler sizes and fills the device mode through the
// module, applications get the plug-in's record and its pages through
// DocumentProperties, and a raw job reaches the port byte for byte.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <dlgs.h>
#include <winspool.h>
// The spooler port's methods share these names.
#undef OpenPrinter
#undef StartDocPrinter
#undef EnumForms
#undef AddForm
#undef SetForm

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <functional>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <vector>

#include "automation/automation.h"
#include "automation/fit_tally.h"
#include "unidrv_ui/driver_interface.h"
#include "core/download_page.h"
#include "core/logo_bitmap.h"
#include "core/printer_fonts_page.h"
#include "core/private_devmode.h"
#include "core/raw_job.h"
#include "resource.h"
#include "tests/test_bitmaps.h"
#include "win32/win32_spooler.h"
#include "worker_thread.h"

namespace {

const wchar_t kDriverName[] = L"KTR-P410 (teste do módulo)";
const wchar_t kPrinterName[] = L"KTR-P410 Teste";
const wchar_t kPort[] = L"LPT1:";

std::wstring DriverDirectory() {
    wchar_t folder[MAX_PATH] = {};
    DWORD needed = 0;
    GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(folder), sizeof folder, &needed);
    return folder;
}

bool CopyInto(const std::wstring& from, const std::wstring& folder, const std::wstring& name) {
    return CopyFileW(from.c_str(), (folder + L"\\" + name).c_str(), FALSE) != 0;
}

// Wine reads a port's Unix destination from the user's registry.
bool MapPortToUnixFile(const std::wstring& port, const std::string& unixPath) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\Printing\\Spooler", 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const std::wstring data = automation::Widen(unixPath);
    const LONG set = RegSetValueExW(key, port.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                                    static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return set == ERROR_SUCCESS;
}

std::string UnixPathOf(const std::wstring& windowsPath) {
    using ToUnix = char*(CDECL*)(LPCWSTR);
    auto toUnix = reinterpret_cast<ToUnix>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!toUnix) return {};
    char* path = toUnix(windowsPath.c_str());
    std::string result = path ? path : "";
    HeapFree(GetProcessHeap(), 0, path);
    return result;
}

void RemovePrinterAndDriver() {
    HANDLE printer = nullptr;
    PRINTER_DEFAULTSW access{nullptr, nullptr, PRINTER_ALL_ACCESS};
    if (OpenPrinterW(const_cast<wchar_t*>(kPrinterName), &printer, &access)) {
        DeletePrinter(printer);
        ClosePrinter(printer);
    }
    DeletePrinterDriverW(nullptr, nullptr, const_cast<wchar_t*>(kDriverName));
}

const plugin::PrivateDevmode& PrivatePartOf(const DEVMODEW* devmode) {
    return *reinterpret_cast<const plugin::PrivateDevmode*>(reinterpret_cast<const BYTE*>(devmode) + devmode->dmSize);
}

// A property sheet's tab control, whoever titles the sheet (Wine: "Options").
constexpr int kSheetTabControl = 0x3020;

BOOL CALLBACK CloseIfOwn(HWND window, LPARAM) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == GetCurrentProcessId()) PostMessageW(window, WM_CLOSE, 0, 0);
    return TRUE;
}

void CloseOwnWindows() {
    EnumWindows(CloseIfOwn, 0);
}

class SpoolerPrinter : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const std::string plugin = automation::EnvVar("PP_PLUGIN");
        const std::string module = automation::EnvVar("PP_UNIDRVUI");
        const std::string package = automation::EnvVar("PP_PACKAGE");
        ASSERT_FALSE(plugin.empty() || module.empty() || package.empty())
            << "PP_PLUGIN, PP_UNIDRVUI and PP_PACKAGE name the built libraries and the package";
        RemovePrinterAndDriver();

        // As the installer does: the files go to the driver directory first,
        // then the driver is added with bare file names.
        const std::wstring folder = DriverDirectory();
        const std::wstring win7 = automation::FullPath(automation::Widen(package)) + L"\\win7\\";
        ASSERT_TRUE(CopyInto(automation::FullPath(automation::Widen(module)), folder, L"UNIDRVUI.DLL"));
        ASSERT_TRUE(CopyInto(automation::FullPath(automation::Widen(plugin)), folder, L"7404VXUI.DLL"));
        // Wine's spooler loads only the configuration module: the rendering
        // module and the data files may stay the package's text stand-ins.
        for (const wchar_t* name :
             {L"UNIDRV.DLL", L"KTRP410.GPD", L"KTRREND.INI", L"TTFSUB.GPD", L"STDNAMES.GPD", L"UNIRES.DLL"}) {
            ASSERT_TRUE(CopyInto(win7 + name, folder, name)) << automation::Narrow(name);
        }
        // The spooler copies only files newer than those of an earlier run.
        for (const wchar_t* name : {L"UNIDRV.DLL", L"UNIDRVUI.DLL", L"7404VXUI.DLL", L"KTRP410.GPD", L"KTRREND.INI",
                                    L"TTFSUB.GPD", L"STDNAMES.GPD", L"UNIRES.DLL"}) {
            DeleteFileW((folder + L"\\3\\" + name).c_str());
        }

        wchar_t dependent[] =
            L"KTRP410.GPD\0TTFSUB.GPD\0UNIRES.DLL\0STDNAMES.GPD\0"
            L"7404VXUI.DLL\0KTRREND.INI\0";
        DRIVER_INFO_3W driver{};
        driver.cVersion = 3;
        driver.pName = const_cast<wchar_t*>(kDriverName);
        driver.pDriverPath = const_cast<wchar_t*>(L"UNIDRV.DLL");
        driver.pDataFile = const_cast<wchar_t*>(L"KTRP410.GPD");
        driver.pConfigFile = const_cast<wchar_t*>(L"UNIDRVUI.DLL");
        driver.pDependentFiles = dependent;
        ASSERT_TRUE(AddPrinterDriverW(nullptr, 3, reinterpret_cast<BYTE*>(&driver))) << "error " << GetLastError();

        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        portFile = std::wstring(temp) + L"pp-lpt1.out";
        DeleteFileW(portFile.c_str());
        portUnixPath = UnixPathOf(portFile);
        ASSERT_FALSE(portUnixPath.empty());
        ASSERT_TRUE(MapPortToUnixFile(kPort, portUnixPath));

        PRINTER_INFO_2W info{};
        info.pPrinterName = const_cast<wchar_t*>(kPrinterName);
        info.pPortName = const_cast<wchar_t*>(kPort);
        info.pDriverName = const_cast<wchar_t*>(kDriverName);
        info.pPrintProcessor = const_cast<wchar_t*>(L"winprint");
        info.pDatatype = const_cast<wchar_t*>(L"RAW");
        HANDLE added = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&info));
        ASSERT_NE(added, nullptr) << "error " << GetLastError();
        ClosePrinter(added);
    }
    static void TearDownTestSuite() { RemovePrinterAndDriver(); }

    void SetUp() override { ASSERT_TRUE(OpenPrinterW(const_cast<wchar_t*>(kPrinterName), &printer_, nullptr)); }
    void TearDown() override {
        if (printer_) ClosePrinter(printer_);
    }

    LONG Properties(DEVMODEW* out, DEVMODEW* in, DWORD mode, HWND owner = nullptr) {
        return DocumentPropertiesW(owner, printer_, const_cast<wchar_t*>(kPrinterName), out, in, mode);
    }
    // A buffer for the driver's whole device mode.
    static std::vector<BYTE> DevmodeBuffer() {
        std::vector<BYTE> buffer(sizeof(DEVMODEW) + plugin::kPrivateDevmodeSize);
        reinterpret_cast<DEVMODEW*>(buffer.data())->dmSize = static_cast<WORD>(buffer.size());
        return buffer;
    }
    std::vector<BYTE> Filled() {
        std::vector<BYTE> buffer = DevmodeBuffer();
        EXPECT_EQ(Properties(reinterpret_cast<DEVMODEW*>(buffer.data()), nullptr, DM_OUT_BUFFER), IDOK);
        return buffer;
    }

    struct SheetRun {
        bool shown = false;
        LONG result = -100;
        std::vector<BYTE> output = DevmodeBuffer();  // the record OK hands back
    };
    // The document sheet as an application shows it (DocumentProperties with
    // DM_IN_PROMPT, `input` merged first when given): `drive` acts on it from
    // this thread while the sheet runs in its own, then OK closes it, and
    // whatever the driving left open is closed too.
    SheetRun ShowDocumentSheet(const std::function<void(HWND sheet)>& drive, std::vector<BYTE>* input = nullptr) {
        SheetRun run;
        const DWORD mode = DM_IN_PROMPT | DM_OUT_BUFFER | (input ? DM_IN_BUFFER : 0);
        plat::WorkerThread shown;
        EXPECT_TRUE(shown.Start([&] {
            run.result = Properties(reinterpret_cast<DEVMODEW*>(run.output.data()),
                                    input ? reinterpret_cast<DEVMODEW*>(input->data()) : nullptr, mode);
        }));
        HWND sheet = automation::WaitForDialogWith(GetCurrentProcessId(), kSheetTabControl, 15000);
        run.shown = sheet != nullptr;
        if (sheet) {
            drive(sheet);
            automation::Click(sheet, IDOK);
            if (!automation::WaitUntil([&] { return !IsWindow(sheet); }, 5000)) CloseOwnWindows();
        } else {
            CloseOwnWindows();  // whatever did appear, so the thread ends
        }
        shown.Join();
        return run;
    }

    HANDLE printer_ = nullptr;
    static inline std::wstring portFile;
    static inline std::string portUnixPath;
};

TEST_F(SpoolerPrinter, AddPrinterStoresTheModulesDeviceMode) {
    DWORD needed = 0;
    GetPrinterW(printer_, 2, nullptr, 0, &needed);
    std::vector<BYTE> buffer(needed);
    ASSERT_TRUE(GetPrinterW(printer_, 2, buffer.data(), needed, &needed)) << "error " << GetLastError();
    const DEVMODEW* stored = reinterpret_cast<PRINTER_INFO_2W*>(buffer.data())->pDevMode;
    ASSERT_NE(stored, nullptr) << "Wine asked the configuration module for the printer's defaults";
    EXPECT_EQ(stored->dmDriverExtra, plugin::kPrivateDevmodeSize);
    EXPECT_STREQ(stored->dmDeviceName, kPrinterName);
    const plugin::PrivateDevmode defaults = plugin::DefaultPrivateDevmode();
    EXPECT_EQ(std::memcmp(&PrivatePartOf(stored), &defaults, sizeof defaults), 0)
        << "the plug-in's defaults, byte for byte";
}

TEST_F(SpoolerPrinter, DocumentPropertiesSizeAndDefaults) {
    EXPECT_EQ(Properties(nullptr, nullptr, 0), static_cast<LONG>(sizeof(DEVMODEW) + plugin::kPrivateDevmodeSize));
    const std::vector<BYTE> filled = Filled();
    const auto* devmode = reinterpret_cast<const DEVMODEW*>(filled.data());
    EXPECT_EQ(devmode->dmSize, sizeof(DEVMODEW));
    EXPECT_EQ(devmode->dmDriverExtra, plugin::kPrivateDevmodeSize);
    EXPECT_EQ(PrivatePartOf(devmode).dmExtraHeader.dwSignature, plugin::kPrivateDevmodeSignature);

    // An output buffer smaller than the whole record is refused, not overrun.
    std::vector<BYTE> small(sizeof(DEVMODEW) + plugin::kPrivateDevmodeSize, 0xCD);
    reinterpret_cast<DEVMODEW*>(small.data())->dmSize = sizeof(DEVMODEW);
    EXPECT_LT(Properties(reinterpret_cast<DEVMODEW*>(small.data()), nullptr, DM_OUT_BUFFER), 0);
    EXPECT_EQ(small[sizeof(DEVMODEW)], 0xCD);
}

// What an application's input record turns into.
struct InputCase {
    const char* name;
    void (*edit)(std::vector<BYTE>& input);
    short copies;
    std::int32_t boundedValue;
    std::uint8_t cutMode;
};

plugin::PrivateDevmode& EditablePrivate(std::vector<BYTE>& record) {
    return *reinterpret_cast<plugin::PrivateDevmode*>(record.data() + sizeof(DEVMODEW));
}

class SpoolerInput : public SpoolerPrinter, public ::testing::WithParamInterface<InputCase> {};

TEST_P(SpoolerInput, MergesIntoTheOutput) {
    const InputCase& test = GetParam();
    std::vector<BYTE> input = Filled();
    test.edit(input);
    std::vector<BYTE> output = DevmodeBuffer();
    ASSERT_EQ(Properties(reinterpret_cast<DEVMODEW*>(output.data()), reinterpret_cast<DEVMODEW*>(input.data()),
                         DM_IN_BUFFER | DM_OUT_BUFFER),
              IDOK);
    const auto* devmode = reinterpret_cast<const DEVMODEW*>(output.data());
    EXPECT_EQ(devmode->dmCopies, test.copies);
    EXPECT_EQ(PrivatePartOf(devmode).dwBoundedValue, test.boundedValue);
    EXPECT_EQ(PrivatePartOf(devmode).opDocumentEnd.bCutMode, test.cutMode);
}

const std::uint8_t kDefaultCut = plugin::DefaultPrivateDevmode().opDocumentEnd.bCutMode;
const std::uint8_t kOtherCut = kDefaultCut == 2 ? 1 : 2;

INSTANTIATE_TEST_SUITE_P(Records, SpoolerInput,
                         ::testing::Values(InputCase{"Edited",
                                                     [](std::vector<BYTE>& in) {
                                                         reinterpret_cast<DEVMODEW*>(in.data())->dmCopies = 3;
                                                         EditablePrivate(in).dwBoundedValue = 100;
                                                         EditablePrivate(in).opDocumentEnd.bCutMode = kOtherCut;
                                                     },
                                                     3, 100, kOtherCut},
                                           InputCase{
                                               "OutOfBoundsValueIsReset",
                                               [](std::vector<BYTE>& in) { EditablePrivate(in).dwBoundedValue = 101; },
                                               1, 0, kDefaultCut},
                                           InputCase{"ForeignRecordKeepsTheDefaults",
                                                     [](std::vector<BYTE>& in) {
                                                         EditablePrivate(in).dmExtraHeader.dwSignature = 0x12345678;
                                                         EditablePrivate(in).opDocumentEnd.bCutMode = kOtherCut;
                                                     },
                                                     1, 0, kDefaultCut},
                                           InputCase{"PublicPartOnly",
                                                     [](std::vector<BYTE>& in) {
                                                         auto* devmode = reinterpret_cast<DEVMODEW*>(in.data());
                                                         devmode->dmDriverExtra = 0;
                                                         devmode->dmCopies = 2;
                                                     },
                                                     2, 0, kDefaultCut}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SpoolerPrinter, RawJobReachesThePortFile) {
    std::vector<std::uint8_t> bytes;
    for (int value = 0; value < 256; ++value) bytes.push_back(static_cast<std::uint8_t>(value));
    const std::uint8_t cut[] = {0x1B, 0x40, 0x1D, 0x56, 0x01};
    bytes.insert(bytes.end(), std::begin(cut), std::end(cut));

    win32::Win32Spooler spooler;
    plat::PrinterHandle handle = 0;
    ASSERT_EQ(spooler.OpenPrinter(automation::Narrow(kPrinterName), &handle), 0);
    long error = -1;
    const bool sent = plugin::SendRawJob(spooler, handle, "Autoteste", bytes, &error);
    EXPECT_EQ(spooler.ClosePrinter(handle), 0);
    ASSERT_TRUE(sent) << "error " << error;
    std::vector<std::uint8_t> seen;
    ASSERT_TRUE(automation::WaitUntil(
        [&] {
            std::ifstream in(automation::Narrow(portFile), std::ios::binary);
            seen.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
            return seen.size() >= bytes.size();
        },
        10000))
        << "the port file holds " << seen.size() << " bytes";
    EXPECT_EQ(seen, bytes);
}

// Byte for byte, the private record the sheet handed back.
void ExpectRecord(const std::vector<BYTE>& output, const plugin::PrivateDevmode& expected) {
    const plugin::PrivateDevmode& stored = PrivatePartOf(reinterpret_cast<const DEVMODEW*>(output.data()));
    const auto* want = reinterpret_cast<const BYTE*>(&expected);
    const auto* got = reinterpret_cast<const BYTE*>(&stored);
    for (std::size_t at = 0; at < sizeof expected; ++at) {
        EXPECT_EQ(got[at], want[at]) << "byte " << at << " of the private record";
    }
}

TEST_F(SpoolerPrinter, DocumentSheetShowsThePluginPages) {
    const SheetRun run = ShowDocumentSheet([](HWND sheet) {
        EXPECT_EQ(automation::TabCaptions(sheet), (std::vector<std::string>{"Principal", "Marca d'água", "Operação",
                                                                            "Código 1D", "Código 2D", "Versão"}));
        automation::SaveArtifactScreenshot(sheet, "plugin-spooler-document-sheet");
        SendMessageW(sheet, PSM_SETCURSEL, 5, 0);
        automation::ExpectScreenFits("plug-in", automation::FindChildDialogWith(sheet, IDC_VERSION_TEXT),
                                     "document Versão");
    });
    ASSERT_TRUE(run.shown) << "DocumentProperties with DM_IN_PROMPT shows the sheet";
    EXPECT_GT(run.result, 0);
    EXPECT_EQ(PrivatePartOf(reinterpret_cast<const DEVMODEW*>(run.output.data())).dmExtraHeader.dwSignature,
              plugin::kPrivateDevmodeSignature)
        << "OK hands the edited record back";
}

// What the rendering side reads: the document pages store into the private
// record exactly the choices made on them, and nothing else changes. The
// main page's paper size also reaches the driver's own item.
TEST_F(SpoolerPrinter, PagesStoreTheirChoicesInThePrivateRecord) {
    const std::wstring updateLog = DriverDirectory() + L"\\3\\DrvUpdateUISetting.log";
    DeleteFileW(updateLog.c_str());
    bool driven = false;
    const SheetRun run = ShowDocumentSheet([&](HWND sheet) {
        // "Principal": the paper size.
        HWND main = automation::FindChildDialogWith(sheet, IDC_PAPER_SIZE);
        ASSERT_NE(main, nullptr) << "the main page";
        ASSERT_TRUE(automation::SelectItem(main, IDC_PAPER_SIZE, L"A4"));
        automation::SaveArtifactScreenshot(sheet, "plugin-main-page");
        automation::ExpectScreenFits("plug-in", main, "Principal");
        // "Operação": the end of the document cuts totally and pulses the first drawer.
        SendMessageW(sheet, PSM_SETCURSEL, 2, 0);
        HWND operations = nullptr;
        ASSERT_TRUE(automation::WaitUntil(
            [&] { return (operations = automation::FindChildDialogWith(sheet, IDC_OP_DOCUMENT_END)) != nullptr; },
            5000));
        automation::SaveArtifactScreenshot(sheet, "plugin-operation-page");
        automation::ExpectScreenFits("plug-in", operations, "Operação");
        PostMessageW(GetDlgItem(operations, IDC_OP_DOCUMENT_END), BM_CLICK, 0, 0);
        HWND dialog = automation::WaitForDialog(GetCurrentProcessId(), L"Operação de fim do documento", 10000);
        ASSERT_NE(dialog, nullptr) << "the operation dialog of the document end";
        ASSERT_TRUE(automation::SelectItem(dialog, IDC_OP_CUT_MODE, L"Corte Total"));
        ASSERT_TRUE(automation::SelectItem(dialog, IDC_OP_DRAWER_PULSE, L"Tempo da Gaveta #1  10ms"));
        automation::SaveArtifactScreenshot(dialog, "plugin-operation-dialog");
        automation::ExpectScreenFits("plug-in", dialog, "operation dialog");
        // Enter is OK: the choices above are kept.
        EXPECT_TRUE(automation::PressKey(dialog, VK_RETURN));
        ASSERT_TRUE(automation::WaitUntil([&] { return !IsWindow(dialog); }, 5000));
        driven = true;
    });
    ASSERT_TRUE(run.shown) << "DocumentProperties with DM_IN_PROMPT shows the sheet";
    ASSERT_TRUE(driven);
    EXPECT_GT(run.result, 0);

    plugin::PrivateDevmode expected = plugin::DefaultPrivateDevmode();
    expected.opDocumentEnd.bCutMode = 2;
    expected.opDocumentEnd.bDrawerPulse = 1;
    const std::u16string a4 = u"A4";
    std::memset(expected.szFormName, 0, sizeof expected.szFormName);
    std::memcpy(expected.szFormName, a4.data(), a4.size() * sizeof(char16_t));
    ExpectRecord(run.output, expected);

    std::ifstream log(automation::Narrow(updateLog), std::ios::binary);
    const std::string calls((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
    EXPECT_NE(calls.find("dmpub=9"), std::string::npos) << "the driver's paper-size item was updated: " << calls;
    EXPECT_NE(calls.find("changed=1"), std::string::npos) << calls;
    EXPECT_NE(calls.find("mode=1"), std::string::npos) << calls;
}

// The barcode pages through the spooler: a symbology and a bar height chosen
// for the first 1D font reach the private record, with the total height the
// page recomputed, and nothing else moves; the 2D page is only looked at.
TEST_F(SpoolerPrinter, BarcodePagesStoreTheirChoicesInThePrivateRecord) {
    bool driven = false;
    std::wstring points;
    const SheetRun run = ShowDocumentSheet([&](HWND sheet) {
        // Tabs: "Principal", "Marca d'água", "Operação", "Código 1D", "Código 2D".
        SendMessageW(sheet, PSM_SETCURSEL, 3, 0);
        HWND page1D = nullptr;
        ASSERT_TRUE(automation::WaitUntil(
            [&] { return (page1D = automation::FindChildDialogWith(sheet, IDC_BC1_FONT_A)) != nullptr; }, 5000));
        ASSERT_TRUE(automation::SelectItem(page1D, IDC_BC1_TYPE, L"Code128"));
        SetDlgItemTextW(page1D, IDC_BC1_HEIGHT, L"100");
        automation::SaveArtifactScreenshot(sheet, "plugin-barcode1d-page");
        automation::ExpectScreenFits("plug-in", page1D, "Código 1D");
        points = automation::Text(GetDlgItem(page1D, IDC_BC1_HEIGHT_POINTS));
        SendMessageW(sheet, PSM_SETCURSEL, 4, 0);
        HWND page2D = nullptr;
        ASSERT_TRUE(automation::WaitUntil(
            [&] { return (page2D = automation::FindChildDialogWith(sheet, IDC_BC2_ROWS)) != nullptr; }, 5000));
        automation::SaveArtifactScreenshot(sheet, "plugin-barcode2d-page");
        automation::ExpectScreenFits("plug-in", page2D, "Código 2D");
        driven = true;
    });
    ASSERT_TRUE(run.shown) << "DocumentProperties with DM_IN_PROMPT shows the sheet";
    ASSERT_TRUE(driven);
    EXPECT_GT(run.result, 0);
    EXPECT_EQ(points, L" 65.0") << "the height fields wait for apply";

    plugin::PrivateDevmode expected = plugin::DefaultPrivateDevmode();
    expected.barcode1D[0].bType = 8;
    expected.barcode1D[0].dwBarHeight = 100;
    // 100 dots are 40 points exactly and come back as 100 dots, also in the
    // 32-bit build's extended-precision arithmetic.
    expected.barcode1D[0].dwTotalHeight = 100;
    // The main page, shown first, stores the driver's current form on apply.
    const std::u16string letter = u"Letter";
    std::memset(expected.szFormName, 0, sizeof expected.szFormName);
    std::memcpy(expected.szFormName, letter.data(), letter.size() * sizeof(char16_t));
    ExpectRecord(run.output, expected);
}

// A 24-bit picture of one colour, bottom-up rows, written where the test wants it.
bool WriteSolidBitmap(const std::wstring& path, int width, int height, COLORREF colour) {
    const std::size_t stride = plugin_test::BmpStride(width, 24);
    std::vector<BYTE> file = plugin_test::BlankBmp(width, height, 24, 54);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            BYTE* pixel = &file[54 + static_cast<std::size_t>(y) * stride + 3 * x];
            pixel[0] = GetBValue(colour);
            pixel[1] = GetGValue(colour);
            pixel[2] = GetRValue(colour);
        }
    }
    std::ofstream out(path.c_str(), std::ios::binary);
    out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
    return static_cast<bool>(out);
}

std::vector<BYTE> ReadWholeFile(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::wstring TemporaryFolder() {
    wchar_t folder[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, folder);
    return folder;
}

// The watermark page through the spooler: a bitmap watermark of the record is
// shown in the preview at once and converted into the printer's picture
// file; switching to a text and applying writes the text's picture file.
TEST_F(SpoolerPrinter, WatermarkPageShowsABitmapAndWritesTheTextPicture) {
    const std::wstring bitmap = TemporaryFolder() + L"vermelho.bmp";
    ASSERT_TRUE(WriteSolidBitmap(bitmap, 40, 40, RGB(255, 0, 0)));
    const std::wstring picture = TemporaryFolder() + L"\\" + kPrinterName + L"1.bmp";
    DeleteFileW(picture.c_str());

    std::vector<BYTE> input = Filled();
    auto& record = const_cast<plugin::PrivateDevmode&>(PrivatePartOf(reinterpret_cast<DEVMODEW*>(input.data())));
    record.bWatermarkType = 1;
    record.bTextAsGraphics = 1;
    record.bWatermarkPosition = 4;
    record.bWatermarkSize = 100;
    record.bWatermarkBrightness = 0;
    std::memset(record.szWatermarkBitmap, 0, sizeof record.szWatermarkBitmap);
    std::memcpy(record.szWatermarkBitmap, bitmap.c_str(), bitmap.size() * sizeof(wchar_t));

    bool driven = false;
    COLORREF centre = CLR_INVALID;
    std::vector<BYTE> converted;
    const SheetRun run = ShowDocumentSheet(
        [&](HWND sheet) {
            SendMessageW(sheet, PSM_SETCURSEL, 1, 0);
            HWND page = nullptr;
            ASSERT_TRUE(automation::WaitUntil(
                [&] { return (page = automation::FindChildDialogWith(sheet, IDC_WM_PREVIEW)) != nullptr; }, 5000));
            HWND frame = GetDlgItem(page, IDC_WM_PREVIEW);
            RECT client{};
            GetClientRect(frame, &client);
            const POINT middle{client.right / 2, client.bottom / 2};
            automation::WaitUntil([&] { return (centre = automation::ScreenColor(frame, middle)) == RGB(255, 0, 0); },
                                  5000);
            converted = ReadWholeFile(picture);
            EXPECT_TRUE(automation::IsChecked(page, IDC_WM_BITMAP));
            EXPECT_TRUE(automation::IsEnabled(page, IDC_WM_BROWSE));
            EXPECT_FALSE(automation::IsEnabled(page, IDC_WM_FONT));
            automation::SaveArtifactScreenshot(sheet, "plugin-watermark-page-bitmap");

            automation::Click(page, IDC_WM_TEXT);
            ASSERT_TRUE(automation::WaitUntil([&] { return automation::IsEnabled(page, IDC_WM_FONT); }, 5000));
            EXPECT_GT(SendDlgItemMessageW(page, IDC_WM_FONT, CB_GETCOUNT, 0, 0), 0) << "TrueType faces listed";
            EXPECT_EQ(automation::SelectedItem(page, IDC_WM_TEXT_LIST), L"CONFIDENCIAL");
            SendDlgItemMessageW(page, IDC_WM_ANGLE, TBM_SETPOS, TRUE, 30);
            SendMessageW(page, WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0),
                         reinterpret_cast<LPARAM>(GetDlgItem(page, IDC_WM_ANGLE)));
            EXPECT_EQ(automation::Text(GetDlgItem(page, IDC_WM_ANGLE_LABEL)), L"30");
            automation::SaveArtifactScreenshot(sheet, "plugin-watermark-page");
            automation::ExpectScreenFits("plug-in", page, "Marca d'água");
            driven = true;
        },
        &input);
    ASSERT_TRUE(run.shown) << "DocumentProperties with DM_IN_PROMPT shows the sheet";
    ASSERT_TRUE(driven);
    EXPECT_EQ(centre, RGB(255, 0, 0)) << "the preview shows the bitmap in the middle of the frame";
    EXPECT_EQ(converted, ReadWholeFile(bitmap)) << "a 24-bit bitmap is copied unchanged into the picture file";
    EXPECT_GT(run.result, 0);

    const plugin::PrivateDevmode& stored = PrivatePartOf(reinterpret_cast<const DEVMODEW*>(run.output.data()));
    EXPECT_EQ(stored.bWatermarkType, 2);
    EXPECT_EQ(stored.dwWatermarkAngle, 30u);
    EXPECT_EQ(std::u16string(stored.szWatermarkText), u"CONFIDENCIAL");
    EXPECT_NE(stored.szWatermarkFont[0], 0) << "a TrueType face is stored";
    const std::vector<BYTE> text = ReadWholeFile(picture);
    ASSERT_EQ(text.size(), 270054u) << "the text picture file is written on apply";
    EXPECT_EQ(text[0], 'B');
    EXPECT_EQ(text[10], 54);
    EXPECT_EQ(text[18] + 256 * text[19], 300);
    EXPECT_EQ(text[28], 24);
    EXPECT_GT(std::count(text.begin() + 54, text.end(), BYTE{0}), 100) << "black text on the white picture";
}

// The printer sheet as the printers folder opens it: the common
// property-sheet UI calls the configuration module's DrvDevicePropertySheets.
// The toolchain's PFNPROPSHEETUI lacks the calling convention; the platform's is WINAPI.
using SheetFunction = LONG(WINAPI*)(PROPSHEETUI_INFO*, LPARAM);

struct DeviceSheetRequest {
    SheetFunction moduleSheets;
    DEVICEPROPERTYHEADER header;
};

LONG CALLBACK PrintersFolder(PROPSHEETUI_INFO* info, LPARAM) {
    if (info->Reason != PROPSHEETUI_REASON_INIT) return 1;
    auto* request = reinterpret_cast<DeviceSheetRequest*>(info->lParamInit);
    return info->pfnComPropSheet(info->hComPropSheet, CPSFUNC_ADD_PFNPROPSHEETUIW,
                                 reinterpret_cast<LPARAM>(request->moduleSheets),
                                 reinterpret_cast<LPARAM>(&request->header))
               ? 1
               : -1;
}

// Shows the printer sheet as the printers folder does, lets `drive` act on it
// (in this thread, while the sheet runs in its own) and closes it again.
// False when no sheet appeared.
bool ShowPrinterSheet(HANDLE printer, const std::function<void(HWND sheet)>& drive, LONG* result) {
    HMODULE module = LoadLibraryW((DriverDirectory() + L"\\3\\UNIDRVUI.DLL").c_str());
    HMODULE compstui = LoadLibraryW(L"compstui.dll");
    EXPECT_TRUE(module && compstui);
    if (!module || !compstui) return false;
    DeviceSheetRequest request{};
    request.moduleSheets =
        reinterpret_cast<SheetFunction>(reinterpret_cast<void*>(GetProcAddress(module, "DrvDevicePropertySheets")));
    request.header.cbSize = sizeof request.header;
    request.header.hPrinter = printer;
    request.header.pszPrinterName = const_cast<wchar_t*>(kPrinterName);
    using CommonSheetFn = LONG(WINAPI*)(HWND, SheetFunction, LPARAM, LPDWORD);
    auto commonSheet =
        reinterpret_cast<CommonSheetFn>(reinterpret_cast<void*>(GetProcAddress(compstui, "CommonPropertySheetUIW")));
    EXPECT_NE(request.moduleSheets, nullptr);
    EXPECT_NE(commonSheet, nullptr);
    if (!request.moduleSheets || !commonSheet) return false;

    *result = -100;
    plat::WorkerThread shown;
    EXPECT_TRUE(shown.Start(
        [&] { *result = commonSheet(nullptr, PrintersFolder, reinterpret_cast<LPARAM>(&request), nullptr); }));
    HWND sheet = automation::WaitForDialogWith(GetCurrentProcessId(), kSheetTabControl, 15000);
    if (sheet) {
        drive(sheet);
        automation::Click(sheet, IDCANCEL);
        // Whatever the driving left open (a message box after a failed check).
        if (!automation::WaitUntil([&] { return !IsWindow(sheet); }, 5000)) CloseOwnWindows();
    } else {
        CloseOwnWindows();
    }
    shown.Join();
    FreeLibrary(module);
    FreeLibrary(compstui);
    return sheet != nullptr;
}

bool UnderWine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

TEST_F(SpoolerPrinter, PrinterSheetShowsThePluginPages) {
    LONG result = 0;
    const bool shown = ShowPrinterSheet(
        printer_,
        [](HWND sheet) {
            EXPECT_EQ(automation::TabCaptions(sheet),
                      (std::vector<std::string>{"Utilitário", "Baixar", "Fonte", "Versão"}));
            automation::SaveArtifactScreenshot(sheet, "plugin-spooler-printer-sheet");
            SendMessageW(sheet, PSM_SETCURSEL, 3, 0);
            automation::ExpectScreenFits("plug-in", automation::FindChildDialogWith(sheet, IDC_VERSION_TEXT),
                                         "printer Versão");
        },
        &result);
    ASSERT_TRUE(shown) << "the module adds the plug-in's printer pages";
    // Wine's common UI answers CPSUI_OK for any sheet that ran, cancelled or not.
    EXPECT_GE(result, CPSUI_CANCEL);
}

// The forms the spooler lists hold the page's user form.
bool UserFormListed(HANDLE printer) {
    win32::Win32Spooler spooler;
    std::vector<plat::FormInfo1> forms;
    if (spooler.EnumForms(reinterpret_cast<plat::PrinterHandle>(printer), &forms) != 0) return false;
    return std::any_of(forms.begin(), forms.end(),
                       [](const plat::FormInfo1& form) { return form.name == "Tamanho do papel - OLVEN"; });
}

// A document started on the handle the pages print through: while it is
// open, the spooler refuses the pages' jobs on that handle. False when the
// spooler refused this document itself.
bool HoldDocumentOpen(HANDLE printer) {
    DOC_INFO_1W doc{};
    doc.pDocName = const_cast<wchar_t*>(L"aberto");
    doc.pDatatype = const_cast<wchar_t*>(L"RAW");
    return StartDocPrinterW(printer, 1, reinterpret_cast<BYTE*>(&doc)) != 0;
}

// The one "Erro" box a refused job shows, its text starting with `start`
// (the system's code follows), closed again.
void ExpectErrorBox(const std::wstring& start) {
    HWND box = automation::WaitForMessageBox(GetCurrentProcessId(), 10000);
    ASSERT_NE(box, nullptr) << "a job that failed is reported: " << automation::Narrow(start);
    EXPECT_EQ(automation::Text(box), L"Erro");
    const std::wstring text = automation::Text(GetDlgItem(box, 0xFFFF));
    EXPECT_EQ(text.substr(0, start.size()), start) << automation::Narrow(text);
    automation::Click(box, IDOK);
    ASSERT_TRUE(automation::WaitUntil([&] { return !IsWindow(box); }, 5000));
}

// self-test reaching the printer's port byte for byte, and "Ajustar".
//
// Wine 8's AddFormW reports success but adds nothing, and its SetFormW fails
// without an error code: there the page finds no user form to show (the
// size edits stay empty, the limits and the name are shown), and "Ajustar"
// answers with the administrator message. On Windows the form is made at
// 80 x 297 mm and shown as 800 and 2970.
TEST_F(SpoolerPrinter, UtilityPageSelfTestAndUserForm) {
    const std::uint8_t selfTest[] = {0x1D, 0xF9, 0x20, 0x31, 0x1D, 0x28, 0x41, 0x02,
                                     0x00, 0x00, 0x02, 0x1D, 0xF9, 0x1F, 0x31};
    bool driven = false;
    LONG result = 0;
    const bool shown = ShowPrinterSheet(
        printer_,
        [&](HWND sheet) {
            HWND page = automation::FindChildDialogWith(sheet, IDC_UTIL_SET_FORM);
            ASSERT_NE(page, nullptr) << "the utility page is the first one";
            const bool formMade = UserFormListed(printer_);
            EXPECT_EQ(formMade, !UnderWine()) << "Wine's AddFormW adds nothing";
            EXPECT_EQ(automation::Text(GetDlgItem(page, IDC_UTIL_WIDTH)), formMade ? L"800" : L"");
            EXPECT_EQ(automation::Text(GetDlgItem(page, IDC_UTIL_HEIGHT)), formMade ? L"2970" : L"");
            EXPECT_EQ(automation::Text(GetDlgItem(page, IDC_UTIL_WIDTH_RANGE)), L"[ 410 - 800 (0.1mm) ]");
            EXPECT_EQ(automation::Text(GetDlgItem(page, IDC_UTIL_HEIGHT_RANGE)), L"[ 254 - 32760 (0.1mm) ]");
            EXPECT_EQ(automation::Text(GetDlgItem(page, IDC_UTIL_FORM_NAME)), L"Tamanho do papel - OLVEN");
            EXPECT_NE(GetWindowLongW(GetDlgItem(page, IDC_UTIL_FORM_NAME), GWL_STYLE) & ES_READONLY, 0);
            EXPECT_FALSE(IsWindowVisible(GetDlgItem(page, IDC_UTIL_CONTROL_FONT)));

            DeleteFileW(portFile.c_str());
            automation::Click(page, IDC_UTIL_SELF_TEST);
            std::vector<std::uint8_t> seen;
            EXPECT_TRUE(automation::WaitUntil(
                [&] {
                    std::ifstream in(automation::Narrow(portFile), std::ios::binary);
                    seen.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
                    return seen.size() >= sizeof selfTest;
                },
                10000))
                << "the port file holds " << seen.size() << " bytes";
            EXPECT_EQ(seen, std::vector<std::uint8_t>(std::begin(selfTest), std::end(selfTest)));
            EXPECT_EQ(automation::WaitForMessageBox(GetCurrentProcessId(), 300), nullptr) << "success says nothing";

            ASSERT_TRUE(HoldDocumentOpen(printer_)) << "error " << GetLastError();
            automation::Click(page, IDC_UTIL_SELF_TEST);
            ExpectErrorBox(L"Falha ao enviar o autoteste para a impressora!\nCódigo de erro = ");
            EndDocPrinter(printer_);

            SetDlgItemTextW(page, IDC_UTIL_WIDTH, L"300");
            if (!formMade) SetDlgItemTextW(page, IDC_UTIL_HEIGHT, L"2970");
            automation::Click(page, IDC_UTIL_SET_FORM);
            HWND box = automation::WaitForMessageBox(GetCurrentProcessId(), 10000);
            ASSERT_NE(box, nullptr) << "\"Ajustar\" reports its outcome";
            EXPECT_EQ(automation::Text(box), L"Tamanho do papel");
            EXPECT_EQ(automation::Text(GetDlgItem(box, 0xFFFF)),
                      UnderWine() ? L"Favor checar se o usuário tem privilégios de Administrador!"
                                  : L"Set Tamanho do papel ok!");
            automation::Click(box, IDOK);
            ASSERT_TRUE(automation::WaitUntil([&] { return !IsWindow(box); }, 5000));
            EXPECT_EQ(automation::Text(GetDlgItem(page, IDC_UTIL_WIDTH)), L"410") << "the width is corrected";
            EXPECT_EQ(automation::Text(GetDlgItem(page, IDC_UTIL_HEIGHT)), L"2970");
            automation::SaveArtifactScreenshot(sheet, "plugin-utility-page");
            automation::ExpectScreenFits("plug-in", page, "Utilitário");
            driven = true;
        },
        &result);
    ASSERT_TRUE(shown);
    EXPECT_TRUE(driven);
}

// The text of one column of a list view's row, read in this process.
std::wstring ListViewCell(HWND list, int row, int column) {
    wchar_t text[512] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 512;
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return text;
}

// Where the rendering side of the driver reads the control-font table.
std::wstring ControlFontFile() {
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    return std::wstring(windows) + L"\\system32\\spool\\drivers\\w32x86\\3\\7404VXCONTROL.ini";
}

TEST_F(SpoolerPrinter, ControlFontTableFromUtilityPage) {
    const std::wstring path = ControlFontFile();
    DeleteFileW(path.c_str());
    // A command typed into the file by hand: shown and kept as it is.
    ASSERT_TRUE(WritePrivateProfileStringW(L"Character Translation Table", L"42", L"1b2100", path.c_str()));
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, path.c_str());
    constexpr int kRowA = 0x41 - 0x20;
    bool driven = false;
    LONG result = 0;
    const bool shown = ShowPrinterSheet(
        printer_,
        [&](HWND sheet) {
            HWND page = automation::FindChildDialogWith(sheet, IDC_UTIL_SET_FORM);
            ASSERT_NE(page, nullptr) << "the utility page is the first one";
            // The button is hidden: its click reaches the page as the
            // button would send it.
            PostMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_UTIL_CONTROL_FONT, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(page, IDC_UTIL_CONTROL_FONT)));
            HWND table =
                automation::WaitForDialog(GetCurrentProcessId(), L"Control Font Character Translation Table", 10000);
            ASSERT_NE(table, nullptr) << "\"Control Font\" opens the table";
            EXPECT_EQ(automation::Text(GetDlgItem(table, IDC_CFONT_DRIVER)), L"OLVEN Printer Driver");
            HWND list = GetDlgItem(table, IDC_CFONT_LIST);
            ASSERT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 96);
            EXPECT_EQ(ListViewCell(list, 0, 1), L"20");
            EXPECT_EQ(ListViewCell(list, 95, 1), L"7F");
            EXPECT_EQ(ListViewCell(list, kRowA, 0), L"A");
            EXPECT_EQ(ListViewCell(list, kRowA + 1, 2), L"1b2100");

            LVITEMW selected{};
            selected.state = selected.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
            SendMessageW(list, LVM_SETITEMSTATE, kRowA, reinterpret_cast<LPARAM>(&selected));
            // Esc is Cancel: the row keeps its command; Enter is OK and
            // stores it. Inside the command box both keys are the box's: it
            // takes every key, so that Tab can move on from it.
            for (WORD key : {VK_ESCAPE, VK_RETURN}) {
                PostMessageW(GetDlgItem(table, IDC_CFONT_EDIT), BM_CLICK, 0, 0);
                HWND translator =
                    automation::WaitForDialog(GetCurrentProcessId(), L"Control Font Character Translator", 10000);
                ASSERT_NE(translator, nullptr) << "\"Edit\" opens the translator";
                EXPECT_EQ(automation::Text(GetDlgItem(translator, IDC_CFT_CHAR)), L"A");
                EXPECT_EQ(automation::Text(GetDlgItem(translator, IDC_CFT_HEX)), L"41");
                SetDlgItemTextW(translator, IDC_CFT_COMMAND, L"1b 21 0");
                automation::FocusControl(translator, IDC_CFT_COMMAND);
                EXPECT_TRUE(automation::PressKey(translator, key));
                EXPECT_TRUE(IsWindow(translator)) << "key " << key << " in the command box";
                EXPECT_EQ(automation::Text(GetDlgItem(translator, IDC_CFT_COMMAND)), L"1b 21 0");
                automation::FocusControl(translator, IDC_CFT_HEX);
                if (key == VK_RETURN) {
                    automation::SaveArtifactScreenshot(translator, "plugin-control-font-translator");
                    automation::ExpectScreenFits("plug-in", translator, "control-font translator");
                }
                EXPECT_TRUE(automation::PressKey(translator, key));
                ASSERT_TRUE(automation::WaitUntil([&] { return !IsWindow(translator); }, 5000)) << "key " << key;
                EXPECT_EQ(ListViewCell(list, kRowA, 2), key == VK_RETURN ? L"1B 21 00 " : L"")
                    << "key " << key;
            }
            automation::SaveArtifactScreenshot(table, "plugin-control-font-table");
            automation::ExpectScreenFits("plug-in", table, "control-font table");
            automation::FocusControl(table, IDC_CFONT_LIST);
            EXPECT_TRUE(automation::PressKey(table, VK_RETURN)) << "Enter is OK: the table is written";
            ASSERT_TRUE(automation::WaitUntil([&] { return !IsWindow(table); }, 5000));
            driven = true;
        },
        &result);
    ASSERT_TRUE(shown);
    EXPECT_TRUE(driven);
    std::ifstream in(automation::Narrow(path), std::ios::binary);
    const std::string written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(written, "[Character Translation Table]\r\n41=1B 21 00 \r\n42=1b2100\r\n");
    EXPECT_EQ(GetFileAttributesW((path + L".new").c_str()), INVALID_FILE_ATTRIBUTES) << "nothing left beside it";
}

// A 1-bit bitmap of `width` x `height` dots: headers, black and white
// palette, rows of a diagonal pattern so that the conversion has something
// to get wrong.
std::vector<std::uint8_t> MonochromeBitmap(std::uint32_t width, std::uint32_t height) {
    const auto stride = static_cast<std::uint32_t>(plugin_test::BmpStride(static_cast<int>(width), 1));
    std::vector<std::uint8_t> file = plugin_test::BlankBmp(static_cast<int>(width), static_cast<int>(height), 1, 62);
    plugin::PutU32(file, 58, 0x00FFFFFF);  // palette entry 1: white
    for (std::uint32_t r = 0; r < height; ++r) {
        for (std::uint32_t b = 0; b < stride; ++b)
            file[62 + r * stride + b] = static_cast<std::uint8_t>(0x81 << (r % 8));
    }
    return file;
}

bool WriteWholeFile(const std::wstring& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(automation::Narrow(path), std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

// Answers the page's open-file dialog titled `title` with `path`, typed into
// its file-name box as a user would, and confirms it.
bool PickFile(HWND page, int button, const std::wstring& title, const std::wstring& path) {
    automation::Click(page, button);
    HWND dialog = automation::WaitForDialog(GetCurrentProcessId(), title, 10000);
    if (!dialog) return false;
    // The file-name box: a combo box in the newer dialog, an edit in the older.
    HWND name = GetDlgItem(dialog, cmb13);
    if (!name) name = GetDlgItem(dialog, edt1);
    if (!name) return false;
    SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    automation::Click(dialog, IDOK);
    return automation::WaitUntil([&] { return !IsWindow(dialog); }, 10000);
}

// The port file once it holds at least `size` bytes (or what it holds after
// ten seconds).
std::vector<std::uint8_t> PortBytes(const std::wstring& portFile, std::size_t size) {
    std::vector<std::uint8_t> seen;
    automation::WaitUntil(
        [&] {
            std::ifstream in(automation::Narrow(portFile), std::ios::binary);
            seen.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
            return seen.size() >= size;
        },
        10000);
    return seen;
}

// "Baixar" on the printer the driver opened: two logos added through the
// page's open-file dialog, downloaded in one job, the clearing command, and
// a firmware file sent unchanged, each captured at the printer's port.
TEST_F(SpoolerPrinter, DownloadPageLogosAndFirmware) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"pp-logos";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring first = folder + L"\\loja.bmp";
    const std::wstring second = folder + L"\\marca.bmp";
    const std::wstring firmware = folder + L"\\KTR410.DAT";
    const std::vector<std::uint8_t> firstBytes = MonochromeBitmap(40, 10);
    const std::vector<std::uint8_t> secondBytes = MonochromeBitmap(8, 8);
    std::vector<std::uint8_t> firmwareBytes;
    for (int i = 0; i < 5000; ++i) firmwareBytes.push_back(static_cast<std::uint8_t>(i * 31 + 7));
    ASSERT_TRUE(WriteWholeFile(first, firstBytes) && WriteWholeFile(second, secondBytes) &&
                WriteWholeFile(firmware, firmwareBytes));
    const std::span<const std::uint8_t> listed[] = {firstBytes, secondBytes};
    const std::vector<std::uint8_t> logoJob = plugin::BuildLogoJob(listed).value();

    bool driven = false;
    LONG result = 0;
    const bool shown = ShowPrinterSheet(
        printer_,
        [&](HWND sheet) {
            SendMessageW(sheet, PSM_SETCURSEL, 1, 0);
            HWND page = automation::FindChildDialogWith(sheet, IDC_DL_LOGOS);
            ASSERT_NE(page, nullptr) << "\"Baixar\" is the second page";
            EXPECT_FALSE(automation::IsEnabled(page, IDC_DL_SEND));
            EXPECT_NE(GetWindowLongW(GetDlgItem(page, IDC_DL_PATH), GWL_STYLE) & ES_READONLY, 0);

            ASSERT_TRUE(PickFile(page, IDC_DL_ADD, L"Please Select a Logo file", first));
            ASSERT_TRUE(PickFile(page, IDC_DL_ADD, L"Please Select a Logo file", second));
            HWND list = GetDlgItem(page, IDC_DL_LOGOS);
            EXPECT_EQ(automation::ListViewItems(list), (std::vector<std::wstring>{L"1", L"2"}));

            DeleteFileW(portFile.c_str());
            automation::Click(page, IDC_DL_DOWNLOAD);
            EXPECT_EQ(PortBytes(portFile, logoJob.size()), logoJob);

            DeleteFileW(portFile.c_str());
            automation::Click(page, IDC_DL_CLEAR);
            EXPECT_EQ(PortBytes(portFile, plugin::kClearLogosCommand.size()),
                      std::vector<std::uint8_t>(plugin::kClearLogosCommand.begin(), plugin::kClearLogosCommand.end()));

            ASSERT_TRUE(PickFile(page, IDC_DL_BROWSE, L"Please select a file", firmware));
            EXPECT_TRUE(automation::IsEnabled(page, IDC_DL_SEND));
            DeleteFileW(portFile.c_str());
            automation::Click(page, IDC_DL_SEND);
            EXPECT_EQ(PortBytes(portFile, firmwareBytes.size()), firmwareBytes);

            // Jobs the spooler refuses, and a listed logo that is no longer
            // one: each named in one "Erro" box.
            ASSERT_TRUE(HoldDocumentOpen(printer_)) << "error " << GetLastError();
            automation::Click(page, IDC_DL_CLEAR);
            ExpectErrorBox(L"Falha ao enviar o comando de limpar os logos para a impressora!\nCódigo de erro = ");
            automation::Click(page, IDC_DL_SEND);
            ExpectErrorBox(L"Falha ao enviar o arquivo para a impressora!\nCódigo de erro = ");
            EndDocPrinter(printer_);
            ASSERT_TRUE(WriteWholeFile(second, std::vector<std::uint8_t>(secondBytes.size(), 0x55)));
            automation::Click(page, IDC_DL_DOWNLOAD);
            ExpectErrorBox(L"O logo " + second + L" não pode ser enviado:\n");
            ASSERT_TRUE(WriteWholeFile(second, secondBytes));

            // The first logo selected: its preview in the frame.
            LVITEMW state{};
            state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
            state.state = LVIS_SELECTED | LVIS_FOCUSED;
            SendMessageW(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&state));
            UpdateWindow(sheet);
            Sleep(300);
            automation::SaveArtifactScreenshot(sheet, "plugin-download-page");
            automation::ExpectScreenFits("plug-in", page, "Baixar");
            driven = true;
        },
        &result);
    ASSERT_TRUE(shown);
    EXPECT_TRUE(driven);
    for (const std::wstring& file : {first, second, firmware}) DeleteFileW(file.c_str());
    RemoveDirectoryW(folder.c_str());
}

// One item of a tree view as this process reads it.
struct SeenTreeItem {
    int depth;  // 0: the top level
    std::wstring text;
    int image;
    int selectedImage;
    bool expanded;
    bool operator==(const SeenTreeItem&) const = default;
};

void PrintTo(const SeenTreeItem& item, std::ostream* out) {
    *out << item.depth << " \"" << automation::Narrow(item.text) << "\" " << item.image << "/" << item.selectedImage
         << (item.expanded ? " expanded" : "");
}

// The items of `tree` from `first` on and all below them, depth first.
void ReadTree(HWND tree, HTREEITEM first, int depth, std::vector<SeenTreeItem>* seen) {
    for (HTREEITEM item = first; item; item = reinterpret_cast<HTREEITEM>(SendMessageW(
                                           tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
        wchar_t text[256] = {};
        TVITEMW data{};
        data.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE;
        data.hItem = item;
        data.stateMask = TVIS_EXPANDED;
        data.pszText = text;
        data.cchTextMax = 256;
        SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&data));
        seen->push_back({depth, text, data.iImage, data.iSelectedImage, (data.state & TVIS_EXPANDED) != 0});
        ReadTree(tree,
                 reinterpret_cast<HTREEITEM>(
                     SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item))),
                 depth + 1, seen);
    }
}

std::vector<SeenTreeItem> TreeItems(HWND tree) {
    std::vector<SeenTreeItem> seen;
    ReadTree(tree, reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0)), 0, &seen);
    return seen;
}

// The printer's stored device mode, public and private part.
std::vector<BYTE> StoredDevmode(HANDLE printer) {
    DWORD needed = 0;
    GetPrinterW(printer, 2, nullptr, 0, &needed);
    std::vector<BYTE> buffer(needed);
    if (!needed || !GetPrinterW(printer, 2, buffer.data(), needed, &needed)) return {};
    const DEVMODEW* stored = reinterpret_cast<PRINTER_INFO_2W*>(buffer.data())->pDevMode;
    if (!stored) return {};
    const auto* bytes = reinterpret_cast<const BYTE*>(stored);
    std::vector<BYTE> record(bytes, bytes + stored->dmSize + stored->dmDriverExtra);
    // Wine hands the names back only up to their terminator: what follows in
    // the field is whatever its buffer held, and differs from call to call.
    auto* names = reinterpret_cast<DEVMODEW*>(record.data());
    const auto clearTail = [](wchar_t* name, std::size_t capacity) {
        std::fill(name + wcsnlen(name, capacity), name + capacity, L'\0');
    };
    clearTail(names->dmDeviceName, CCHDEVICENAME);
    clearTail(names->dmFormName, CCHFORMNAME);
    return record;
}

// Where two records first differ, for a failure message.
std::string FirstDifference(const std::vector<BYTE>& a, const std::vector<BYTE>& b) {
    const auto [at, _] = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    return "first difference at byte " + std::to_string(at - a.begin()) + " of " + std::to_string(a.size()) + " and " +
           std::to_string(b.size());
}

// A sheet's "Apply" button.
constexpr int kSheetApplyButton = 0x3021;

// "Fonte": the resident fonts in a tree, fully expanded with the root
// selected, the same fonts in the hidden list, and a click that changes
// nothing.
TEST_F(SpoolerPrinter, FontPageShowsTheResidentFonts) {
    std::vector<SeenTreeItem> expected{{0, automation::Widen(std::string(plugin::kFontTreeTitle)),
                                        plugin::kFontRootImage, plugin::kFontRootImage, true}};
    for (std::size_t face = 0; face < plugin::kFontFaces.size(); ++face) {
        expected.push_back({1, automation::Widen(std::string(plugin::kFontFaces[face])), plugin::kFontFaceImage,
                            plugin::kFontFaceImage, true});
        for (const plugin::ResidentFont& font : plugin::kResidentFonts) {
            if (font.face != face) continue;
            expected.push_back({2, automation::Widen(std::string(font.treeText)), plugin::kFontSizeImage,
                                plugin::kFontSizeImage, false});
        }
    }
    ASSERT_EQ(expected.size(), 19u);
    EXPECT_EQ(expected[3].text, L"FontA12    19.0") << "the blanks as the page has always shown them";
    const std::vector<BYTE> recordBefore = StoredDevmode(printer_);
    ASSERT_FALSE(recordBefore.empty());

    bool driven = false;
    LONG result = 0;
    const bool shown = ShowPrinterSheet(
        printer_,
        [&](HWND sheet) {
            SendMessageW(sheet, PSM_SETCURSEL, 2, 0);
            HWND page = automation::FindChildDialogWith(sheet, IDC_FONT_TREE);
            ASSERT_NE(page, nullptr) << "\"Fonte\" is the third page";
            HWND tree = GetDlgItem(page, IDC_FONT_TREE);
            HWND list = GetDlgItem(page, IDC_FONT_LIST);

            const std::vector<SeenTreeItem> seen = TreeItems(tree);
            EXPECT_EQ(seen, expected);
            const auto root = SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0);
            EXPECT_EQ(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0), root) << "the root is selected";
            EXPECT_EQ(SendMessageW(tree, TVM_GETCOUNT, 0, 0), 19) << "the root and 18 items under it";
            EXPECT_NE(SendMessageW(tree, TVM_GETIMAGELIST, TVSIL_NORMAL, 0), 0);

            EXPECT_FALSE(IsWindowVisible(list));
            ASSERT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 15);
            for (std::size_t row = 0; row < plugin::kResidentFonts.size(); ++row) {
                const int at = static_cast<int>(row);
                EXPECT_EQ(ListViewCell(list, at, 0), automation::Widen(std::string(plugin::kResidentFonts[row].name)));
                EXPECT_EQ(ListViewCell(list, at, 1),
                          automation::Widen(std::string(plugin::kResidentFonts[row].points)));
            }
            automation::SaveArtifactScreenshot(sheet, "plugin-font-page");
            automation::ExpectScreenFits("plug-in", page, "Fonte");

            // A click on a size: the selection moves, nothing else does.
            const bool applyBefore = IsWindowEnabled(GetDlgItem(sheet, kSheetApplyButton));
            HTREEITEM faceA =
                reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, static_cast<LPARAM>(root)));
            HTREEITEM size = reinterpret_cast<HTREEITEM>(
                SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(faceA)));
            RECT place{};
            std::memcpy(&place, &size, sizeof size);  // TVM_GETITEMRECT takes the item in the rectangle
            ASSERT_TRUE(SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&place)));
            const LPARAM at = MAKELPARAM((place.left + place.right) / 2, (place.top + place.bottom) / 2);
            PostMessageW(tree, WM_LBUTTONDOWN, MK_LBUTTON, at);
            PostMessageW(tree, WM_LBUTTONUP, 0, at);
            EXPECT_TRUE(automation::WaitUntil(
                [&] { return SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0) == reinterpret_cast<LRESULT>(size); },
                5000))
                << "the click reached the tree";
            EXPECT_EQ(TreeItems(tree), seen);
            EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 15);
            EXPECT_EQ(IsWindowEnabled(GetDlgItem(sheet, kSheetApplyButton)), applyBefore);
            driven = true;
        },
        &result);
    ASSERT_TRUE(shown);
    EXPECT_TRUE(driven);
    const std::vector<BYTE> recordAfter = StoredDevmode(printer_);
    EXPECT_EQ(recordAfter, recordBefore) << "the page writes nothing: " << FirstDifference(recordAfter, recordBefore);
}

}  // namespace
