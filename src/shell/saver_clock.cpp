#include "shell/saver_clock.h"

#include "shell/saver_state.h"

#include <windows.h>

void startSaverClock() {
    LARGE_INTEGER value;
    QueryPerformanceFrequency(&value);
    timerFrequency = value.QuadPart;
    QueryPerformanceCounter(&value);
    timerStart = value.QuadPart;
}

double readSaverClock() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart - timerStart) / static_cast<double>(timerFrequency);
}
