#pragma once

#include "shell/saver.h"

// Full screen, at start and after a display change: one topmost popup over each monitor's full
// rectangle, in enumeration order. A window whose monitor kept its rectangle stays as it is; a new
// or changed monitor gets a window set up anew; the windows of monitors that are gone or changed
// are destroyed, after the first window was brought to the foreground. When no monitor gets a
// window the list stays as it was. False when the list is empty.
bool followMonitors(Saver& saver);

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
