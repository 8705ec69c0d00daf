#pragma once

// Seconds since time zero of the saver clock (taken by the entry at start-up).
double readSaverClock();

// Starts the saver clock: all animation time counts from this instant.
void startSaverClock();
