#pragma once

#include "shell/saver.h"

// Pumps messages and draws paced passes until WM_QUIT is taken from the queue, or a preview's host
// is gone.
void runMainLoop(Saver& saver);

// One idle pass at the saver time: a GL frame in every GL window and, when due, a software frame in
// every software window. Returns whether the pass was due for software frames.
bool drawPass(Saver& saver, double saverTime, double lastSoftwareFrameTime);
