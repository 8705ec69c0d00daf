#pragma once

#include "shell/saver.h"

// Swap interval 1 for the first GL window, 0 for every other one: with several monitors only one
// SwapBuffers waits for the vertical blank. vsyncOn tells whether a call was made; redone after a
// display change, when the first GL window may be another.
void setUpSwapIntervals(Saver& saver);

// Every window's destroy, in list order, and the list emptied.
void tearDownWindows(Saver& saver);
