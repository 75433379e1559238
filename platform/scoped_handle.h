#pragma once
// One owner for every kind of handle: printer handles, service handles,
// libraries, registry keys, find handles, global allocations, and the port
// handles of the core. The handle is released by `Closer` when the owner goes
// out of scope, on every path out of a routine; ownership moves, it is never
// copied.
#include <utility>

namespace plat {

// `Closer` is a callable that releases one valid handle; it may carry the
// object the handle belongs to (a port, say). `kNone` is the handle's "no
// handle" value (0, or INVALID_HANDLE_VALUE for find handles).
template <typename Handle, typename Closer, Handle kNone = Handle{}>
class ScopedHandle {
public:
    ScopedHandle() = default;
    explicit ScopedHandle(Closer closer) : closer_(std::move(closer)) {}
    ScopedHandle(Handle handle, Closer closer) : handle_(handle), closer_(std::move(closer)) {}
    ~ScopedHandle() { reset(); }

    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    ScopedHandle(ScopedHandle&& other) noexcept
        : handle_(std::exchange(other.handle_, kNone)), closer_(std::move(other.closer_)) {}
    ScopedHandle& operator=(ScopedHandle&& other) noexcept {
        if (this != &other) {
            reset();
            handle_ = std::exchange(other.handle_, kNone);
            closer_ = std::move(other.closer_);
        }
        return *this;
    }

    Handle get() const { return handle_; }
    bool valid() const { return handle_ != kNone; }
    explicit operator bool() const { return valid(); }

    // Releases the handle held, if any, and holds `handle` from now on.
    void reset(Handle handle = kNone) {
        if (handle_ != kNone) closer_(handle_);
        handle_ = handle;
    }
    // Gives the handle up without releasing it.
    [[nodiscard]] Handle release() { return std::exchange(handle_, kNone); }
    // For calls that hand out a handle through a pointer: releases the handle
    // held and returns where the new one goes.
    Handle* receive() {
        reset();
        return &handle_;
    }

private:
    Handle handle_ = kNone;
    Closer closer_{};
};

}  // namespace plat
