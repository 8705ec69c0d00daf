#pragma once

// Appends one printf-style line to "orvane-screensaver.log" in the temporary directory.
// Silent on every failure: the saver never shows or stops for a logging problem.
void writeLog(const char* format, ...);
