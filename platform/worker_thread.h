#pragma once
// The owner of a worker thread: Setup's installation worker and Desinstalar's
// removal worker each run on one beside their window's thread. The owner
// starts the thread and waits for it to end, and never lets it go on unowned,
// so whatever the work refers to outlives it.
//
// On Windows the thread is the system's own (win32/win32_worker_thread.cpp):
// the standard library's threads would bring a POSIX thread layer into every
// binary. Natively it is a std::thread (worker_thread.cpp), which
// ThreadSanitizer follows.
#include <new>
#include <type_traits>
#include <utility>

namespace plat {

class WorkerThread {
public:
    WorkerThread() = default;
    // A thread still running is waited for.
    ~WorkerThread() { Join(); }
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Runs `work()` on a new thread. False, with nothing started, when no
    // thread can be had (or no memory to hand `work` over), or when a thread
    // is still owned: the last one is joined first. Anything `work` throws
    // ends the program, as nothing would be left to report it to.
    template <typename Work>
    [[nodiscard]] bool Start(Work work) noexcept {
        static_assert(std::is_nothrow_move_constructible_v<Work>);
        if (joinable()) return false;
        Runnable* task = new (std::nothrow) Task<Work>(std::move(work));
        return task != nullptr && Launch(task);
    }
    // True from a successful Start until Join.
    bool joinable() const { return thread_ != nullptr; }
    // Waits until the thread has ended; nothing when none is owned.
    void Join() noexcept;

    // The work as the thread runs it; the thread deletes it when done.
    struct Runnable {
        virtual ~Runnable() = default;
        virtual void Run() = 0;
    };

private:
    template <typename Work>
    struct Task final : Runnable {
        explicit Task(Work&& work) noexcept : work_(std::move(work)) {}
        void Run() override { work_(); }
        Work work_;
    };

    // Starts a thread that runs and then deletes `task`; false, with `task`
    // deleted, when none starts.
    bool Launch(Runnable* task) noexcept;

    // The thread: a HANDLE on Windows, a std::thread natively.
    void* thread_ = nullptr;
};

}  // namespace plat
