#include "shell/main_loop.h"

#include "base/saver_time.h"
#include "shell/saver_windows.h"

namespace {

// A preview ends as soon as its child or its host is gone, however that happened.
bool previewGone(const Saver& saver) {
    return saver.preview && !saver.windows.empty() &&
           !previewStillHosted(saver.windows.front()->surface.window, saver.previewHost);
}

// While the display is off the loop waits for messages, but not for good: a preview's host can go
// without a message.
constexpr DWORD displayOffWaitMs = 500;

// Every pending message is handled before the next frame; false once WM_QUIT arrives.
bool pumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            return false;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return true;
}

} // namespace

bool drawPass(Saver& saver, double saverTime, double lastSoftwareFrameTime) {
    // One clock value for every window of the pass, so all monitors show the same instant.
    const PassValues pass = passValues(saverTime, saver.preview);
    for (SaverWindow* window : saver.windows) {
        if (window->gl != nullptr) {
            drawGlWindow(*window->gl, window->surface, pass);
        }
    }
    const bool due = softwareFrameDue(saverTime, lastSoftwareFrameTime);
    if (due) {
        const SoftwarePassValues software = softwarePassValues(saverTime);
        for (SaverWindow* window : saver.windows) {
            if (window->software != nullptr) {
                drawSoftwareFrame(*window->software, window->surface, software);
            }
        }
    }
    return due;
}

void runMainLoop(Saver& saver) {
    double lastSoftwareFrameTime = -1.0;
    while (pumpMessages() && !previewGone(saver)) {
        if (saver.displayOff) {
            // Nothing is seen: wait for the next message (input ends the saver, the display coming
            // back resumes drawing at the current saver time) instead of drawing.
            MsgWaitForMultipleObjectsEx(0, nullptr, displayOffWaitMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
            continue;
        }
        const double passTime = readSaverClock(saver.clock);
        const bool due = drawPass(saver, passTime, lastSoftwareFrameTime);
        const int sleepMs = passSleepMilliseconds(passTime, readSaverClock(saver.clock), saver.vsyncOn);
        if (sleepMs > 0) {
            Sleep(static_cast<DWORD>(sleepMs));
        }
        if (due) {
            lastSoftwareFrameTime = passTime;
        }
    }
}
