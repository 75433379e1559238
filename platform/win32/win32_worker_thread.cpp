// The worker thread of the Windows builds, on the system's own threads.
#include <windows.h>
#include <process.h>

#include "worker_thread.h"

namespace plat {
namespace {

// The thread's entry. Nothing may unwind out of it into the system's code
// (noexcept: an exception ends the program there, as the standard library's
// threads do).
unsigned __stdcall RunTask(void* task) noexcept {
    auto* runnable = static_cast<WorkerThread::Runnable*>(task);
    runnable->Run();
    delete runnable;
    return 0;
}

}  // namespace

bool WorkerThread::Launch(Runnable* task) noexcept {
    // The work runs on the C runtime (memory, errno and the like): started
    // through the runtime, the thread gets the runtime's per-thread data set
    // up and freed again when it ends. CreateThread leaves that to the
    // runtime's chance of noticing. Windows 98 and Me make no thread without
    // somewhere to write its id.
    unsigned id = 0;
    const uintptr_t thread = _beginthreadex(nullptr, 0, RunTask, task, 0, &id);
    if (thread == 0) {
        delete task;
        return false;
    }
    thread_ = reinterpret_cast<void*>(thread);
    return true;
}

void WorkerThread::Join() noexcept {
    if (!thread_) return;
    const HANDLE thread = static_cast<HANDLE>(thread_);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    thread_ = nullptr;
}

}  // namespace plat
