#pragma once

#include <windows.h>

// What the main loop waits on between passes: a high-resolution waitable timer where Windows has one
// (Windows 10 1803 on), since a plain wait ends on the default 15.6 ms timer tick; elsewhere the
// plain wait. Either way a message ends the wait at once. The system timer's resolution is never
// raised.
struct PassTimer {
    HANDLE timer = nullptr;
};

PassTimer createPassTimer();
void destroyPassTimer(PassTimer& timer);

// Waits `seconds`, or less when a message arrives.
void waitForPassOrMessage(const PassTimer& timer, double seconds);
