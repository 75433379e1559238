// The real 7404VXUI library, loaded as the driver loads it: by path, through
// its two exports only.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/private_devmode.h"
#include "resource.h"
#include "win32/oem_interfaces.h"

namespace {

using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, LPVOID*);
using CanUnloadFn = HRESULT(STDAPICALLTYPE*)();

class PluginLibrary : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const char* path = std::getenv("PP_PLUGIN");
        ASSERT_NE(path, nullptr) << "PP_PLUGIN names the built library";
        wchar_t wide[MAX_PATH] = {}, full[MAX_PATH] = {};
        MultiByteToWideChar(CP_UTF8, 0, path, -1, wide, MAX_PATH);
        GetFullPathNameW(wide, MAX_PATH, full, nullptr);
        library = LoadLibraryW(full);
        ASSERT_NE(library, nullptr) << "error " << GetLastError();
        getClassObject =
            reinterpret_cast<GetClassObjectFn>(reinterpret_cast<void*>(GetProcAddress(library, "DllGetClassObject")));
        canUnload = reinterpret_cast<CanUnloadFn>(reinterpret_cast<void*>(GetProcAddress(library, "DllCanUnloadNow")));
        ASSERT_NE(getClassObject, nullptr);
        ASSERT_NE(canUnload, nullptr);
    }

    IClassFactory* Factory() {
        IClassFactory* factory = nullptr;
        EXPECT_EQ(getClassObject(kPluginClassId, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
        return factory;
    }
    IPrintOemUI* Plugin() {
        IClassFactory* factory = Factory();
        IPrintOemUI* plugin = nullptr;
        EXPECT_EQ(factory->CreateInstance(nullptr, kIID_IPrintOemUI, reinterpret_cast<void**>(&plugin)), S_OK);
        factory->Release();
        return plugin;
    }

    static inline HMODULE library = nullptr;
    static inline GetClassObjectFn getClassObject = nullptr;
    static inline CanUnloadFn canUnload = nullptr;
};

TEST_F(PluginLibrary, ClassFactoryAndUnloading) {
    void* untouched = reinterpret_cast<void*>(0x1234);
    EXPECT_EQ(getClassObject(IID_IUnknown, IID_IClassFactory, &untouched), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(untouched, reinterpret_cast<void*>(0x1234));

    IClassFactory* factory = Factory();
    ASSERT_NE(factory, nullptr);
    void* other = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(factory->QueryInterface(kIID_IPrintOemUI, &other), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
    IUnknown* unknown = nullptr;
    ASSERT_EQ(factory->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
    EXPECT_EQ(unknown->Release(), 1u);

    EXPECT_EQ(canUnload(), S_OK);
    EXPECT_EQ(factory->LockServer(TRUE), S_OK);
    EXPECT_EQ(canUnload(), S_FALSE) << "a server lock keeps the library";
    EXPECT_EQ(factory->LockServer(FALSE), S_OK);
    EXPECT_EQ(canUnload(), S_OK);

    IUnknown* aggregate = nullptr;
    EXPECT_EQ(factory->CreateInstance(unknown, kIID_IPrintOemUI, reinterpret_cast<void**>(&aggregate)),
              CLASS_E_NOAGGREGATION);
    IPrintOemUI* plugin = nullptr;
    ASSERT_EQ(factory->CreateInstance(nullptr, kIID_IPrintOemUI, reinterpret_cast<void**>(&plugin)), S_OK);
    EXPECT_EQ(factory->Release(), 0u);
    EXPECT_EQ(canUnload(), S_FALSE) << "a live plug-in object keeps the library";
    EXPECT_EQ(plugin->AddRef(), 2u);
    EXPECT_EQ(plugin->Release(), 1u);
    EXPECT_EQ(plugin->Release(), 0u);
    EXPECT_EQ(canUnload(), S_OK);
}

TEST_F(PluginLibrary, GetInfo) {
    IPrintOemUI* plugin = Plugin();
    ASSERT_NE(plugin, nullptr);
    struct Case {
        DWORD mode;
        DWORD size;
        bool neededGiven;
        HRESULT result;
        DWORD error;
        DWORD needed;
        DWORD value;
    } cases[] = {
        {1, 4, true, S_OK, 0, 4, plugin::kPrivateDevmodeSignature},
        {1, 3, true, E_FAIL, ERROR_INSUFFICIENT_BUFFER, 4, 0},
        {3, 4, true, S_OK, 0, 4, 1},
        {4, 4, true, E_FAIL, ERROR_NOT_SUPPORTED, 0, 0},
        {2, 4, true, E_FAIL, ERROR_INVALID_PARAMETER, 99, 0},
        {1, 4, false, E_FAIL, ERROR_INVALID_PARAMETER, 99, 0},
    };
    for (const auto& c : cases) {
        DWORD buffer = 0, needed = 99;
        SetLastError(0xDEADBEEF);
        EXPECT_EQ(plugin->GetInfo(c.mode, &buffer, c.size, c.neededGiven ? &needed : nullptr), c.result) << c.mode;
        if (c.error) {
            EXPECT_EQ(GetLastError(), c.error) << c.mode;
        }
        EXPECT_EQ(needed, c.needed) << c.mode;
        if (c.result == S_OK) {
            EXPECT_EQ(buffer, c.value) << c.mode;
        }
    }
    plugin->Release();
}

TEST_F(PluginLibrary, DevModeThroughTheDriverParameter) {
    IPrintOemUI* plugin = Plugin();
    ASSERT_NE(plugin, nullptr);
    OEMDMPARAM param{};
    param.cbSize = sizeof param;
    EXPECT_EQ(plugin->DevMode(1, &param), S_OK);
    EXPECT_EQ(param.cbBufSize, 1296u);

    std::vector<BYTE> in(1296), out(1296, 0xCC);
    param.pOEMDMIn = in.data();
    param.pOEMDMOut = out.data();
    EXPECT_EQ(plugin->DevMode(2, &param), S_OK);
    EXPECT_EQ(std::memcmp(out.data() + 4, "XRTQ", 4), 0) << "the signature as it lies in memory";
    EXPECT_EQ(out[16 + 131], 12) << "drawer pulse of the document start";

    SetLastError(0);
    EXPECT_EQ(plugin->DevMode(5, &param), E_FAIL);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    SetLastError(0);
    EXPECT_EQ(plugin->DevMode(1, nullptr), E_FAIL);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    plugin->Release();
}

TEST_F(PluginLibrary, QueryColorProfileNeeds32Bytes) {
    IPrintOemUI* plugin = Plugin();
    ASSERT_NE(plugin, nullptr);
    wchar_t profile[32] = {};
    ULONG size = 31;
    FLONG flags = 0;
    SetLastError(0);
    EXPECT_EQ(plugin->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, 0, profile, &size, &flags), E_FAIL);
    EXPECT_EQ(size, 32u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(plugin->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, 0, profile, &size, &flags), S_OK);
    EXPECT_STREQ(profile, L"OEMPROFILE.icm");
    EXPECT_EQ(flags, 2u);
    EXPECT_EQ(plugin->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, 1, profile, &size, &flags), E_FAIL);
    plugin->Release();
}

TEST_F(PluginLibrary, CommonUIPropModes) {
    IPrintOemUI* plugin = Plugin();
    ASSERT_NE(plugin, nullptr);
    OEMCUIPPARAM param{};
    param.cbSize = sizeof param;
    param.cOEMOptItems = 7;
    EXPECT_EQ(plugin->CommonUIProp(1, &param), S_OK);
    EXPECT_EQ(param.cOEMOptItems, 7u);
    EXPECT_EQ(plugin->CommonUIProp(2, &param), S_OK);
    EXPECT_EQ(param.cOEMOptItems, 0u) << "no items of its own in the driver's tree";
    OPTITEM items[1] = {};
    param.pOEMOptItems = items;
    param.cOEMOptItems = 7;
    EXPECT_EQ(plugin->CommonUIProp(2, &param), S_OK);
    EXPECT_EQ(param.cOEMOptItems, 7u);
    SetLastError(0);
    EXPECT_EQ(plugin->CommonUIProp(3, &param), E_FAIL);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    plugin->Release();
}

// A driver helper that answers only IUnknown and, when willing, IPrintOemDriverUI.
struct FakeDriver : IUnknown {
    bool offersDriverUi;
    LONG references = 1;
    explicit FakeDriver(bool offers) : offersDriverUi(offers) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (offersDriverUi && IsEqualIID(iid, kIID_IPrintOemDriverUI)) {
            *object = this;  // only AddRef/Release are used through it here
            ++references;
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }
};

TEST_F(PluginLibrary, PublishDriverInterfaceKeepsTheHelperUntilTheEnd) {
    FakeDriver refusing(false), offering(true);
    IPrintOemUI* plugin = Plugin();
    ASSERT_NE(plugin, nullptr);
    EXPECT_EQ(plugin->PublishDriverInterface(&refusing), E_FAIL);
    EXPECT_EQ(plugin->PublishDriverInterface(&offering), S_OK);
    EXPECT_EQ(offering.references, 2);
    EXPECT_EQ(plugin->PublishDriverInterface(&offering), S_OK) << "one already held";
    EXPECT_EQ(offering.references, 2);
    plugin->Release();
    EXPECT_EQ(offering.references, 1) << "released with the object";
}

struct AddedPage {
    int templateId;
    HINSTANCE instance;
    DWORD size;
    LPARAM context;  // the page's lParam
    // The document pages' sheet parameter as the page finds it at the moment
    // it is added: the first member after the two handles of its context.
    LPARAM sheetParamAtAdd;
};
std::vector<AddedPage> gAdded;

LONG_PTR CALLBACK RecordingComPropSheet(HANDLE sheet, UINT function, LPARAM lParam1, LPARAM) {
    EXPECT_EQ(sheet, reinterpret_cast<HANDLE>(0x5150));
    EXPECT_EQ(function, static_cast<UINT>(CPSFUNC_ADD_PROPSHEETPAGEW));
    const auto* page = reinterpret_cast<const PROPSHEETPAGEW*>(lParam1);
    const auto* context = reinterpret_cast<const LPARAM*>(page->lParam);
    gAdded.push_back({static_cast<int>(reinterpret_cast<ULONG_PTR>(page->pszTemplate)), page->hInstance, page->dwSize,
                      page->lParam, context ? context[2] : 0});
    return 0x700 + static_cast<LONG_PTR>(gAdded.size());
}

PROPSHEETUI_INFO SheetInfo(DWORD reason) {
    PROPSHEETUI_INFO info{};
    info.cbSize = sizeof info;
    info.Version = PROPSHEETUI_INFO_VERSION;
    info.Reason = reason;
    info.hComPropSheet = reinterpret_cast<HANDLE>(0x5150);
    info.pfnComPropSheet = RecordingComPropSheet;
    info.Result = -77;
    info.lParamInit = 0x4242;
    return info;
}

TEST_F(PluginLibrary, SheetsAddTheirPagesInOrder) {
    IPrintOemUI* plugin = Plugin();
    ASSERT_NE(plugin, nullptr);

    gAdded.clear();
    PROPSHEETUI_INFO info = SheetInfo(PROPSHEETUI_REASON_INIT);
    ASSERT_EQ(plugin->DocumentPropertySheets(&info, 0x99), S_OK);
    std::vector<int> templates;
    for (const auto& page : gAdded) {
        templates.push_back(page.templateId);
        EXPECT_EQ(page.instance, library);
        // PROPSHEETPAGEW_V3 as the platform lays it out: 52 bytes for a 32-bit
        // driver, 96 for a 64-bit one.
        EXPECT_EQ(page.size, sizeof(void*) == 4 ? 52u : 96u);
        EXPECT_EQ(page.sheetParamAtAdd, 0x4242) << "the sheet parameter is in place before the page is added";
    }
    EXPECT_EQ(templates, (std::vector<int>{128, 131, 103, 117, 118, 105}));
    EXPECT_EQ(info.Result, 0x706) << "the last add call's answer";

    gAdded.clear();
    info = SheetInfo(PROPSHEETUI_REASON_INIT);
    ASSERT_EQ(plugin->DevicePropertySheets(&info, 0x99), S_OK);
    templates.clear();
    for (const auto& page : gAdded) templates.push_back(page.templateId);
    EXPECT_EQ(templates, (std::vector<int>{114, 113, 119, 105}));
    EXPECT_EQ(info.Result, 0x99) << "the printer sheet answers its lParam";
    plugin->Release();
}

TEST_F(PluginLibrary, SheetReasonsAndBadCalls) {
    IPrintOemUI* plugin = Plugin();
    ASSERT_NE(plugin, nullptr);
    PROPSHEETUI_INFO_HEADER header{};
    SETRESULT_INFO setResult{};
    setResult.Result = 42;
    struct Case {
        DWORD reason;
        LPARAM lParam;
        LONG_PTR result;
    } cases[] = {
        {PROPSHEETUI_REASON_GET_INFO_HEADER, reinterpret_cast<LPARAM>(&header), 1},
        {PROPSHEETUI_REASON_DESTROY, 0, 1},
        {PROPSHEETUI_REASON_SET_RESULT, reinterpret_cast<LPARAM>(&setResult), 42},
        {4, 0x55, 0},
        {9, 0x55, 0x55},
    };
    for (const auto& c : cases) {
        for (bool document : {true, false}) {
            PROPSHEETUI_INFO info = SheetInfo(c.reason);
            const HRESULT hr = document ? plugin->DocumentPropertySheets(&info, c.lParam)
                                        : plugin->DevicePropertySheets(&info, c.lParam);
            EXPECT_EQ(hr, S_OK) << c.reason;
            EXPECT_EQ(info.Result, c.result) << c.reason << (document ? " document" : " printer");
        }
    }
    EXPECT_STREQ(reinterpret_cast<LPCWSTR>(header.pTitle), L"OEM UI Page");

    PROPSHEETUI_INFO wrong = SheetInfo(PROPSHEETUI_REASON_INIT);
    wrong.Version = 0x0200;
    SetLastError(0);
    EXPECT_EQ(plugin->DocumentPropertySheets(&wrong, 0), E_FAIL);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(plugin->DevicePropertySheets(nullptr, 0), E_FAIL);
    plugin->Release();
}

}  // namespace
