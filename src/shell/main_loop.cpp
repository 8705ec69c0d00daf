#include "shell/main_loop.h"

#include "shell/pass_timer.h"
#include "shell/saver_lifecycle.h"
#include "shell/saver_window.h"
#include "shell/saver_windows.h"

namespace {

// A preview ends as soon as its child or its host is gone, however that happened.
bool previewGone(const Saver& saver) {
    return saver.preview && !saver.windows.empty() &&
           !previewStillHosted(saver.windows.front()->surface.window, saver.previewHost);
}

// While drawing is paused the loop waits for messages, but not for good: a preview's host can go
// without a message.
constexpr DWORD pausedWaitMs = 500;

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

void drawPass(Saver& saver, double saverTime, PassPlan plan) {
    // One clock value for every window of the pass, so all monitors show the same instant.
    const PassValues pass = passValues(saverTime, saver.preview);
    bool renewed = false;
    for (SaverWindow* window : saver.windows) {
        if (plan.gl && window->gl != nullptr && !drawGlWindow(*window->gl, window->surface, pass)) {
            // Made anew at once; it draws from the next pass on, at that pass's saver time.
            renewRenderer(saver, *window);
            renewed = true;
        }
    }
    if (renewed) {
        setUpSwapIntervals(saver);
    }
    if (plan.software) {
        const SoftwarePassValues software = softwarePassValues(saverTime);
        for (SaverWindow* window : saver.windows) {
            if (window->software != nullptr) {
                drawSoftwareFrame(*window->software, window->surface, software);
            }
        }
    }
}

void runMainLoop(Saver& saver) {
    PassPacing pacing;
    PassTimer timer = createPassTimer();
    while (pumpMessages() && !previewGone(saver)) {
        if (saver.displaysChanged) {
            saver.displaysChanged = false;
            followMonitors(saver);
            setUpSwapIntervals(saver);
        }
        if (drawingPaused(saver.conditions)) {
            // Nobody sees a frame: wait for the next message (input ends the saver; the display or
            // the session coming back resumes drawing at the current saver time) instead of drawing.
            MsgWaitForMultipleObjectsEx(0, nullptr, pausedWaitMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
            continue;
        }
        const double now = readSaverClock(saver.clock);
        const double wait = secondsUntilPass(pacing, now);
        if (wait > 0.0) {
            waitForPassOrMessage(timer, wait);
            continue;
        }
        const PassPlan plan = beginPass(pacing, now, savingPower(saver.conditions));
        drawPass(saver, now, plan);
        const double rest = secondsAfterPass(pacing, readSaverClock(saver.clock), saver.vsyncOn && plan.gl);
        if (rest > 0.0) {
            waitForPassOrMessage(timer, rest);
        }
    }
    destroyPassTimer(timer);
}
