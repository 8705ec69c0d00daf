#pragma once

#include "shell/saver.h"

// EnumDisplayMonitors callback: one topmost popup over the monitor's full rectangle, set up and
// listed. The data value is the Saver. Always continues the enumeration.
BOOL CALLBACK addMonitorWindow(HMONITOR monitor, HDC dc, LPRECT rect, LPARAM data);

// Whether a window can be a Settings preview pane: an existing window on this desktop that is not
// the desktop, the shell's window or inside it (a child there would cover the screen and ignore
// every key and click), nor a message-only window (never seen).
bool canHostPreview(HWND host);

// The one child window inside the saver's preview host, set up and listed; false when it cannot be
// created, or when the child or the host went while it was being created.
bool addPreviewWindow(Saver& saver);

// Whether the preview's child and its host both still exist. A host can go in ways that tell the
// child nothing (its process killed, its window destroyed while the child was being created), and a
// preview without them would draw into nothing for good.
bool previewStillHosted(HWND child, HWND host);
