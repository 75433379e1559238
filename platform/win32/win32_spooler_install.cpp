#include "win32/win32_spooler_install.h"

#include "win32/spooler_calls.h"
#include "win32/system_library.h"

namespace win32 {

using namespace spooler_calls;

namespace {

// The entry points only the installation calls, bound as the removal's are
// (win32_spooler_admin.cpp): once, from the system directory's winspool.drv.
struct InstallApi {
    ScopedLibrary library = LoadSystemLibrary("winspool.drv");
    Entry<decltype(&::AddMonitorA)> AddMonitorA;
    Entry<decltype(&::AddPrinterA)> AddPrinterA;
    Entry<decltype(&::AddPrinterDriverA)> AddPrinterDriverA;
    Entry<decltype(&::AddPrintProcessorA)> AddPrintProcessorA;
    Entry<decltype(&::EnumPortsA)> EnumPortsA;
    Entry<decltype(&::EnumPrintProcessorDatatypesA)> EnumPrintProcessorDatatypesA;
    Entry<decltype(&::GetPrinterA)> GetPrinterA;
    Entry<decltype(&::GetPrinterDriverDirectoryA)> GetPrinterDriverDirectoryA;
    Entry<decltype(&::SetPrinterA)> SetPrinterA;

    InstallApi() {
        HMODULE module = library.get();
        AddMonitorA.Bind(module, "AddMonitorA");
        AddPrinterA.Bind(module, "AddPrinterA");
        AddPrinterDriverA.Bind(module, "AddPrinterDriverA");
        AddPrintProcessorA.Bind(module, "AddPrintProcessorA");
        EnumPortsA.Bind(module, "EnumPortsA");
        EnumPrintProcessorDatatypesA.Bind(module, "EnumPrintProcessorDatatypesA");
        GetPrinterA.Bind(module, "GetPrinterA");
        GetPrinterDriverDirectoryA.Bind(module, "GetPrinterDriverDirectoryA");
        SetPrinterA.Bind(module, "SetPrinterA");
    }
};

const InstallApi& Spool() {
    static const InstallApi api;
    return api;
}

// The datatype a new printer is given. Windows gives a printer created
// without one the default datatype of its print processor, which is the
// first of the datatypes the processor lists, so the installer's printers
// are created with exactly that datatype, named. Wine's spooler differs in
// two ways: AddPrinter without a datatype fails with 87 and leaves a printer
// entry behind that can be neither opened nor deleted, and its processors
// list no datatypes (the enumeration fails without an error code). There, and
// only there, the printer gets "RAW", bytes passed on unchanged, the first
// datatype WinPrint lists. When the processor cannot be asked for a reason
// Windows names (an unknown processor, say), or lists nothing, no datatype is
// given and AddPrinter decides, or reports the reason in Windows' own words.
std::string DefaultDatatype(char* processor, bool* none) {
    *none = false;
    DWORD count = 0;
    ScopedGlobal block;
    const long result = QueryIntoGlobal(
        [&](BYTE* buffer, DWORD size, DWORD* sizeNeeded) {
            SetLastError(ERROR_SUCCESS);
            if (Spool().EnumPrintProcessorDatatypesA(nullptr, processor, 1, buffer, size, sizeNeeded, &count))
                return true;
            // A failure without an error code is an enumeration the spooler
            // does not implement; read it as "no list" rather than retrying.
            if (GetLastError() == ERROR_SUCCESS) SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
            return false;
        },
        &block);
    if (result == ERROR_SUCCESS && count > 0) {
        const auto* types = static_cast<const DATATYPES_INFO_1A*>(block.get());
        if (types[0].pName && types[0].pName[0] != '\0') return types[0].pName;
    }
    if (result == ERROR_CALL_NOT_IMPLEMENTED) return "RAW";
    *none = true;
    return {};
}
}  // namespace

plat::Error Win32SpoolerInstall::GetPrinterDriverDirectory(std::string* directory) {
    return Directory(
        [](BYTE* path, DWORD size, DWORD* needed) {
            return Spool().GetPrinterDriverDirectoryA(nullptr, nullptr, 1, path, size, needed) != FALSE;
        },
        directory);
}

plat::Error Win32SpoolerInstall::AddPrinterDriver(const plat::DriverInfo3& driver) {
    AnsiArg name(driver.name), environment(driver.environment), driverPath(driver.driverPath),
        dataFile(driver.dataFile), configFile(driver.configFile), helpFile(driver.helpFile);
    // The multi-string: every name NUL-terminated, one more NUL at the end; an
    // empty list is the lone NUL pair.
    std::string dependent;
    for (const std::string& file : driver.dependentFiles) {
        dependent += Utf8ToAnsi(file);
        dependent += '\0';
    }
    if (driver.dependentFiles.empty()) dependent += '\0';
    dependent += '\0';
    std::string monitor = driver.monitorName ? Utf8ToAnsi(*driver.monitorName) : std::string();

    DRIVER_INFO_3A info{};
    info.cVersion = driver.cVersion;
    info.pName = name.text();
    info.pEnvironment = environment.get();
    info.pDriverPath = driverPath.text();
    info.pDataFile = dataFile.text();
    info.pConfigFile = configFile.text();
    info.pHelpFile = helpFile.text();
    info.pDependentFiles = dependent.data();
    info.pMonitorName = driver.monitorName ? monitor.data() : nullptr;
    info.pDefaultDataType = nullptr;
    return Spool().AddPrinterDriverA(nullptr, 3, reinterpret_cast<BYTE*>(&info)) ? ERROR_SUCCESS : LastErrorOfFailure();
}

plat::Error Win32SpoolerInstall::AddPrinter(const plat::PrinterInfo2& printer, plat::PrinterHandle* handle) {
    AnsiArg name(printer.printerName), port(printer.portName), driver(printer.driverName),
        processor(printer.printProcessor);
    bool noDatatype = false;
    std::string datatype = DefaultDatatype(processor.text(), &noDatatype);

    PRINTER_INFO_2A info{};
    info.pPrinterName = name.text();
    info.pPortName = port.text();
    info.pDriverName = driver.text();
    info.pPrintProcessor = processor.text();
    info.pDatatype = noDatatype ? nullptr : datatype.data();
    info.Attributes = printer.attributes;
    SetLastError(ERROR_SUCCESS);
    HANDLE added = Spool().AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&info));
    if (!added) return LastErrorOfFailure();
    *handle = reinterpret_cast<plat::PrinterHandle>(added);
    return ERROR_SUCCESS;
}

plat::Error Win32SpoolerInstall::SetPrinterAttributes(plat::PrinterHandle printer, std::uint32_t attributes) {
    ScopedGlobal block;
    const long result = GetPrinterInfo2(Spool().GetPrinterA, Handle(printer), &block);
    if (result != ERROR_SUCCESS) return result;
    // Everything else goes back as the spooler gave it, but for the security
    // descriptor: none leaves the printer's security as it is, where handing
    // it back would also ask for the right to change that security.
    auto* info = static_cast<PRINTER_INFO_2A*>(block.get());
    info->Attributes = attributes;
    info->pSecurityDescriptor = nullptr;
    return Spool().SetPrinterA(Handle(printer), 2, static_cast<BYTE*>(block.get()), 0) ? ERROR_SUCCESS
                                                                                       : LastErrorOfFailure();
}

plat::Error Win32SpoolerInstall::SetDefaultPrinter(std::string_view name) {
    // Bound at run time: Windows before 2000 has no such function.
    ScopedLibrary library = LoadSystemLibrary("winspool.drv");
    if (!library) return ERROR_MOD_NOT_FOUND;
    using SetDefaultPrinterFn = BOOL(WINAPI*)(LPCSTR);
    const auto setDefault = reinterpret_cast<SetDefaultPrinterFn>(
        reinterpret_cast<void*>(GetProcAddress(library.get(), "SetDefaultPrinterA")));
    if (!setDefault) return ERROR_PROC_NOT_FOUND;
    const std::string ansi = Utf8ToAnsi(name);
    return setDefault(ansi.c_str()) ? ERROR_SUCCESS : LastErrorOfFailure();
}

plat::Error Win32SpoolerInstall::AddMonitor(std::string_view name, std::string_view environment, std::string_view dllName) {
    AnsiArg monitor(name), env(environment), dll(dllName);
    MONITOR_INFO_2A info{};
    info.pName = monitor.text();
    info.pEnvironment = env.get();
    info.pDLLName = dll.text();
    return Spool().AddMonitorA(nullptr, 2, reinterpret_cast<BYTE*>(&info)) ? ERROR_SUCCESS : LastErrorOfFailure();
}

plat::Error Win32SpoolerInstall::AddPrintProcessor(std::string_view environment, std::string_view fileName,
                                          std::string_view processorName) {
    AnsiArg env(environment), file(fileName), processor(processorName);
    return Spool().AddPrintProcessorA(nullptr, env.get(), file.text(), processor.text()) ? ERROR_SUCCESS
                                                                                         : LastErrorOfFailure();
}

plat::Error Win32SpoolerInstall::EnumPorts(std::vector<std::string>* portNames) {
    return EnumNames<PORT_INFO_1A>(
        [](BYTE* buffer, DWORD size, DWORD* needed, DWORD* count) {
            return Spool().EnumPortsA(nullptr, 1, buffer, size, needed, count) != FALSE;
        },
        &PORT_INFO_1A::pName, portNames);
}

}  // namespace win32
