// The package's print processor KTRPROC.DLL, as a stand-in: it knows the one
// data type "RAW" and passes such jobs through unchanged, as the spooler
// expects of a processor: OpenPrintProcessor opens the port it is given,
// PrintDocumentOnPrintProcessor reads the job back from the spooler and
// writes it to that port. Every call is recorded in KTRPROC.log beside the
// DLL, which is how the tests see that the spooler went through it.
#include <windows.h>
#include <winspool.h>
#include <winsplp.h>

#include <cstring>
#include <string>

#include "standin/standin_files.h"

namespace {

HMODULE self = nullptr;
const wchar_t kRaw[] = L"RAW";

void Record(const std::string& line) {
    const std::string log = standin::CallLogPath(self);
    if (!log.empty()) standin::AppendLine(log, line + "\r\n");
}

std::string Narrow(const wchar_t* text) {
    if (!text) return "(null)";
    std::string narrow;
    for (; *text; ++text) narrow += *text < 0x80 ? static_cast<char>(*text) : '?';
    return narrow;
}

// What an open handle stands for; the magic value tells a handle of ours
// from anything else a caller might pass.
struct Processor {
    DWORD magic;
    HANDLE port;
    wchar_t* documentName;
    wchar_t* outputFile;
};
constexpr DWORD kMagic = 0x4B545250;  // "KTRP"

Processor* FromHandle(HANDLE handle) {
    auto* processor = static_cast<Processor*>(handle);
    if (!processor || processor->magic != kMagic) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return processor;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        self = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

// Level 1: one DATATYPES_INFO_1W whose name points behind the array, in the
// caller's buffer.
extern "C" BOOL WINAPI EnumPrintProcessorDatatypesW(LPWSTR, LPWSTR processorName, DWORD level, LPBYTE buffer,
                                                    DWORD bufferSize, LPDWORD needed, LPDWORD returned) {
    Record("EnumPrintProcessorDatatypesW " + Narrow(processorName) + " level " + std::to_string(level));
    if (!needed || !returned) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *returned = 0;
    if (level != 1) {
        SetLastError(ERROR_INVALID_LEVEL);
        return FALSE;
    }
    *needed = sizeof(DATATYPES_INFO_1W) + sizeof kRaw;
    if (!buffer || bufferSize < *needed) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    auto* name = reinterpret_cast<wchar_t*>(buffer + sizeof(DATATYPES_INFO_1W));
    std::memcpy(name, kRaw, sizeof kRaw);
    reinterpret_cast<DATATYPES_INFO_1W*>(buffer)->pName = name;
    *returned = 1;
    return TRUE;
}

wchar_t* Copy(const wchar_t* text) {
    if (!text) return nullptr;
    const size_t bytes = (lstrlenW(text) + 1) * sizeof(wchar_t);
    auto* copy = static_cast<wchar_t*>(HeapAlloc(GetProcessHeap(), 0, bytes));
    if (copy) std::memcpy(copy, text, bytes);
    return copy;
}

void Release(Processor* processor) {
    if (processor->port) ClosePrinter(processor->port);
    HeapFree(GetProcessHeap(), 0, processor->documentName);
    HeapFree(GetProcessHeap(), 0, processor->outputFile);
    processor->magic = 0;
    HeapFree(GetProcessHeap(), 0, processor);
}

// `portName` is the port's spooler name ("LPT1:, Port"); the job's document
// name and output file travel in `data`.
extern "C" HANDLE WINAPI OpenPrintProcessor(LPWSTR portName, PPRINTPROCESSOROPENDATA data) {
    Record("OpenPrintProcessor " + Narrow(portName) +
           (data ? " datatype " + Narrow(data->pDatatype) : std::string(" no data")));
    if (!portName || !data || !data->pDatatype || lstrcmpiW(data->pDatatype, kRaw) != 0) {
        SetLastError(!portName || !data ? ERROR_INVALID_PARAMETER : ERROR_INVALID_DATATYPE);
        return nullptr;
    }
    auto* processor = static_cast<Processor*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(Processor)));
    if (!processor) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    processor->magic = kMagic;
    processor->documentName = Copy(data->pDocumentName);
    processor->outputFile = Copy(data->pOutputFile);
    if (!OpenPrinterW(portName, &processor->port, nullptr)) {
        const DWORD error = GetLastError();
        processor->port = nullptr;
        Release(processor);
        SetLastError(error);
        return nullptr;
    }
    return processor;
}

// `jobName` is the job's spooler name ("KTR-P410(P), Job 3"): its bytes are
// read back and written to the port as one document.
extern "C" BOOL WINAPI PrintDocumentOnPrintProcessor(HANDLE handle, LPWSTR jobName) {
    Record("PrintDocumentOnPrintProcessor " + Narrow(jobName));
    Processor* processor = FromHandle(handle);
    if (!processor) return FALSE;
    HANDLE job = nullptr;
    if (!jobName || !OpenPrinterW(jobName, &job, nullptr)) return FALSE;
    DOC_INFO_1W document{processor->documentName, processor->outputFile, const_cast<wchar_t*>(kRaw)};
    if (!StartDocPrinterW(processor->port, 1, reinterpret_cast<BYTE*>(&document))) {
        const DWORD error = GetLastError();
        ClosePrinter(job);
        SetLastError(error);
        return FALSE;
    }
    BYTE buffer[4096];
    DWORD read = 0;
    BOOL ok = TRUE;
    while (ok && (ok = ReadPrinter(job, buffer, sizeof buffer, &read)) && read > 0) {
        for (DWORD done = 0; ok && done < read;) {
            DWORD written = 0;
            ok = WritePrinter(processor->port, buffer + done, read - done, &written) && written > 0;
            done += written;
        }
    }
    const DWORD error = ok ? ERROR_SUCCESS : GetLastError();
    const BOOL ended = EndDocPrinter(processor->port);
    ClosePrinter(job);
    Record(ok && ended ? "  passed through" : "  failed, error " + std::to_string(ok ? GetLastError() : error));
    if (!ok) SetLastError(error);
    return ok && ended;
}

extern "C" BOOL WINAPI ClosePrintProcessor(HANDLE handle) {
    Record("ClosePrintProcessor");
    Processor* processor = FromHandle(handle);
    if (!processor) return FALSE;
    Release(processor);
    return TRUE;
}

extern "C" BOOL WINAPI ControlPrintProcessor(HANDLE handle, DWORD command) {
    Record("ControlPrintProcessor " + std::to_string(command));
    if (!FromHandle(handle)) return FALSE;
    switch (command) {
        case JOB_CONTROL_PAUSE:
        case JOB_CONTROL_RESUME:
        case JOB_CONTROL_CANCEL:
            return TRUE;
        default:
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
    }
}

// RAW jobs pass through: one page per sheet, in order, one copy.
extern "C" DWORD WINAPI GetPrintProcessorCapabilities(LPWSTR datatype, DWORD, LPBYTE data, DWORD size, LPDWORD needed) {
    Record("GetPrintProcessorCapabilities " + Narrow(datatype));
    if (!needed) return ERROR_INVALID_PARAMETER;
    *needed = sizeof(PRINTPROCESSOR_CAPS_1);
    if (!datatype || lstrcmpiW(datatype, kRaw) != 0) return ERROR_INVALID_DATATYPE;
    if (!data || size < sizeof(PRINTPROCESSOR_CAPS_1)) return ERROR_MORE_DATA;
    PRINTPROCESSOR_CAPS_1 caps{};
    caps.dwLevel = 1;
    caps.dwNupOptions = 1;
    caps.dwPageOrderFlags = NORMAL_PRINT;
    caps.dwNumberOfCopies = 1;
    std::memcpy(data, &caps, sizeof caps);
    return ERROR_SUCCESS;
}
