#include "shell/pass_timer.h"

#include <cmath>

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

PassTimer createPassTimer() {
    // Older Windows refuses the flag; the plain wait then paces the loop.
    return {
        CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS)};
}

void destroyPassTimer(PassTimer& timer) {
    if (timer.timer != nullptr) {
        CloseHandle(timer.timer);
        timer.timer = nullptr;
    }
}

void waitForPassOrMessage(const PassTimer& timer, double seconds) {
    const DWORD milliseconds = static_cast<DWORD>(std::ceil(seconds * 1000.0));
    if (timer.timer != nullptr) {
        LARGE_INTEGER due = {};
        due.QuadPart = -static_cast<LONGLONG>(std::ceil(seconds * 1.0e7)); // relative, in 100 ns
        if (SetWaitableTimer(timer.timer, &due, 0, nullptr, nullptr, FALSE)) {
            // The timeout only guards against a timer that never fires.
            MsgWaitForMultipleObjectsEx(1, &timer.timer, milliseconds + 100, QS_ALLINPUT,
                                        MWMO_INPUTAVAILABLE);
            return;
        }
    }
    MsgWaitForMultipleObjectsEx(0, nullptr, milliseconds, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}
