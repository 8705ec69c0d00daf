#pragma once

#include <windows.h>

constexpr const wchar_t* saverClassName = L"OrvaneSaver3D";

// Registers the one window class of the saver (own dc per window, arrow cursor, black background).
void registerSaverClass(HINSTANCE instance);

// EnumDisplayMonitors callback: one topmost popup over the monitor's full rectangle. The data value
// is the instance handle. Always continues the enumeration.
BOOL CALLBACK addMonitorWindow(HMONITOR monitor, HDC dc, LPRECT rect, LPARAM data);

// Whether a window can be a Settings preview pane: an existing window that is not the desktop, the
// shell's window or inside it (a child there would cover the screen and ignore every key and click).
bool canHostPreview(HWND host);

// The one child window inside the host's preview window; false when it cannot be created, or when
// the child or the host went while it was being created.
bool addPreviewWindow(HWND host, HINSTANCE instance);

// Whether the preview's child and its host both still exist. A host can go in ways that tell the
// child nothing (its process killed, its window destroyed while the child was being created), and a
// preview without them would draw into nothing for good.
bool previewStillHosted(HWND child, HWND host);
