#pragma once

#include "base/pass_pacing.h"
#include "shell/saver.h"

// One pass at saverTime: a GL frame in every GL window when the plan says so, and a software frame
// in every software window when the plan has one due.
void drawPass(Saver& saver, double saverTime, PassPlan plan);

// Handles messages and draws passes on a 1/60 s grid until WM_QUIT; follows display changes in
// full screen, draws nothing while the display is off or the session locked or left, and draws GL
// frames at half the rate while the PC saves power.
void runMainLoop(Saver& saver);
