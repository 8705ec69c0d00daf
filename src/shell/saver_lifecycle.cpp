#include "shell/saver_lifecycle.h"

#include "shell/saver_window.h"

void setUpSwapIntervals(Saver& saver) {
    saver.vsyncOn = false;
    for (SaverWindow* window : saver.windows) {
        if (window->gl != nullptr && setGlSwapInterval(*window->gl, window->surface, saver.vsyncOn ? 0 : 1)) {
            saver.vsyncOn = true;
        }
    }
}

void tearDownWindows(Saver& saver) {
    for (SaverWindow* window : saver.windows) {
        destroySaverWindow(window);
    }
    saver.windows.clear();
}
