// A caller that drops a port operation's error code, and one that says it has
// no use for it: the first must not build (dropped_result.cmake).
#include "ports/files.h"

void RemoveOldCopy(plat::Files& files) {
#ifdef PP_DROP_RESULT
    files.DeleteFile("C:\\Driver\\old.dll");
#else
    (void)files.DeleteFile("C:\\Driver\\old.dll");
#endif
}
