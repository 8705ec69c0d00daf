#pragma once

#include <cstdint>

// The saver clock: the high-resolution counter read against the instant the saver started. All
// animation time counts from that instant.
struct SaverClock {
    std::int64_t frequency = 0;
    std::int64_t start = 0;
};

SaverClock startSaverClock();

// Seconds since the clock started.
double readSaverClock(const SaverClock& clock);
