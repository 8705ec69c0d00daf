#include "base/saver_clock.h"

#include <windows.h>

SaverClock startSaverClock() {
    SaverClock clock;
    LARGE_INTEGER value;
    QueryPerformanceFrequency(&value);
    clock.frequency = value.QuadPart;
    QueryPerformanceCounter(&value);
    clock.start = value.QuadPart;
    return clock;
}

double readSaverClock(const SaverClock& clock) {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart - clock.start) / static_cast<double>(clock.frequency);
}
