// GoogleTest's own customisation header, in place of the empty one its
// sources come with, for the Windows test programs. GoogleTest's Notification
// (with which it lets the threads it starts wait for their turn) is built on
// std::mutex and std::condition_variable, which the win32 thread model does
// not have; here it is one on a Win32 event (notification.cpp). Everything
// else of GoogleTest's threading is its own Win32 code already.
#ifndef GOOGLETEST_INCLUDE_GTEST_INTERNAL_CUSTOM_GTEST_PORT_H_
#define GOOGLETEST_INCLUDE_GTEST_INTERNAL_CUSTOM_GTEST_PORT_H_

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing::internal {

class Notification {
public:
    Notification();
    ~Notification();
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;

    // Lets every waiting thread, and every later one, go on.
    void Notify();
    void WaitForNotification();

private:
    void* event_;  // a manual-reset event; void* as HANDLE, without <windows.h>
};

}  // namespace testing::internal

#endif  // GOOGLETEST_INCLUDE_GTEST_INTERNAL_CUSTOM_GTEST_PORT_H_
