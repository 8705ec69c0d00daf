#pragma once

#include <windows.h>

// The whole life of one saver run for the given argument string; returns the process exit code.
int runSaver(HINSTANCE instance, const wchar_t* arguments);

// The text of the settings message box.
extern const wchar_t settingsMessage[];
