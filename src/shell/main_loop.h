#pragma once

// Pumps messages and draws paced passes until WM_QUIT is taken from the queue.
void runMainLoop();

// One idle pass at saver time t: a GL frame in every GL window and, when due, a software frame in
// every software window. Returns whether the pass was due for software frames.
bool drawPass(double saverTime, double lastSoftwareFrameTime);
