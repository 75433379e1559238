// A library planted beside a program under the name of a system library that
// is not among the system's KnownDLLs (here winspool.drv), as anyone
// who can write to the folder the package was unpacked into could plant it.
// A program that imports such a library by name, or loads it by bare name
// before restricting the search, loads this file instead of the system's.
// Its load is the evidence: each one appends a line to planted.log beside
// it, and the load then fails, so the program gets nothing it could call.
#include <windows.h>

#include <string>

#include "standin/standin_files.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    standin::AppendLine(standin::ModuleFolder(instance) + "planted.log",
                        standin::ModulePath(nullptr) + " loaded " + standin::ModulePath(instance) + "\r\n");
    // FALSE fails the load: a program that imports the library does not
    // start at all, one that loads it at run time gets no module.
    return FALSE;
}

// The target of every export. The names exist for Windows, where a name the
// program imports and the library lacks stops the program before any
// library's DllMain runs, so nothing would be recorded (Wine binds a missing
// name to a stub and runs DllMain all the same). Since the load always fails,
// nothing ever calls it.
extern "C" int PlantedEntry() {
    SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return 0;
}
