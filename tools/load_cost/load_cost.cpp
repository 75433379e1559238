// What loading a user-interface plug-in costs the process that shows a print
// dialog: the system libraries such a process already holds are loaded
// first, then one library is loaded, asked for its class factory (released at
// once) and freed, as the driver does when it opens the printer's settings.
// Prints the time taken in microseconds. Each run is a fresh process, so the
// library is never found already mapped.
//   load_cost.exe LIBRARY
#include <windows.h>

#include <cstdio>
#include <initializer_list>

#include "win32/oem_interfaces.h"

namespace {

using GetClassObject = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: load_cost LIBRARY\n");
        return 2;
    }
    for (const wchar_t* system : {L"msvcrt.dll", L"user32.dll", L"gdi32.dll", L"comctl32.dll", L"comdlg32.dll",
                                  L"winspool.drv", L"ole32.dll", L"shell32.dll"}) {
        if (!LoadLibraryW(system)) {
            std::fprintf(stderr, "load_cost: %ls does not load: error %lu\n", system, GetLastError());
            return 1;
        }
    }
    LARGE_INTEGER frequency{}, start{}, end{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    HMODULE library = LoadLibraryW(argv[1]);
    if (!library) {
        std::fprintf(stderr, "load_cost: %ls does not load: error %lu\n", argv[1], GetLastError());
        return 1;
    }
    const auto get = reinterpret_cast<GetClassObject>(
        reinterpret_cast<void (*)()>(GetProcAddress(library, "DllGetClassObject")));
    IUnknown* factory = nullptr;
    const HRESULT result = get ? get(kPluginClassId, IID_IClassFactory, reinterpret_cast<void**>(&factory)) : E_NOINTERFACE;
    if (SUCCEEDED(result) && factory) factory->Release();
    FreeLibrary(library);
    QueryPerformanceCounter(&end);
    if (!get) {
        std::fprintf(stderr, "load_cost: %ls has no DllGetClassObject\n", argv[1]);
        return 1;
    }
    std::printf("%.1f\n", static_cast<double>(end.QuadPart - start.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart));
    return 0;
}
