// The worker thread of the native builds: a std::thread, so that the
// sanitizers see the thread and every hand-over between it and its owner.
#include "worker_thread.h"

#include <memory>
#include <thread>

namespace plat {

bool WorkerThread::Launch(Runnable* task) noexcept {
    std::unique_ptr<Runnable> waiting(task);
    try {
        thread_ = new std::thread([task] {
            const std::unique_ptr<Runnable> owned(task);
            owned->Run();
        });
    } catch (...) {
        return false;  // no thread: `waiting` still owns the task
    }
    (void)waiting.release();  // the thread owns it now
    return true;
}

void WorkerThread::Join() noexcept {
    if (!thread_) return;
    auto* thread = static_cast<std::thread*>(thread_);
    thread->join();
    delete thread;
    thread_ = nullptr;
}

}  // namespace plat
