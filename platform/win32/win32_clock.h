#pragma once
#include <windows.h>

#include "ports/clock.h"

namespace win32 {

class Win32Clock : public plat::Clock {
public:
    void Sleep(unsigned milliseconds) override { ::Sleep(milliseconds); }
};

// The clock of a window that waits on its own thread (the installer's
// progress window): while it waits, the thread's windows repaint and answer
// the messages other threads send them, so that a progress bar is seen to
// move and a broadcast from the worker does not wait out its time-out on
// them. Input and timers stay queued: nothing the user does runs meanwhile.
class Win32PaintingClock : public plat::Clock {
public:
    void Sleep(unsigned milliseconds) override {
        const DWORD start = GetTickCount();
        for (;;) {
            const DWORD elapsed = GetTickCount() - start;
            if (elapsed >= milliseconds) return;
            MSG message;
            // Peeking delivers the messages sent from other threads first.
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT)) DispatchMessageA(&message);
            MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - elapsed, QS_PAINT | QS_SENDMESSAGE);
        }
    }
};

}  // namespace win32
