#pragma once

// Swap interval 1 for the first GL window, 0 for every other one: with several monitors only one
// SwapBuffers waits for the vertical blank. Sets vsyncOn when a call was made.
void setUpSwapIntervals();

// Releases every window's context, device contexts, bitmaps and window, then frees the records.
void tearDownSurfaces();
