#include "shell/platform_calls.h"

#include <wtsapi32.h>

namespace {

BOOL CALLBACK addMonitorRect(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    MONITORINFO info = {};
    info.cbSize = sizeof(MONITORINFO);
    // A monitor whose information cannot be read gets the zeroed rectangle, as at start.
    GetMonitorInfoW(monitor, &info);
    reinterpret_cast<std::vector<RECT>*>(data)->push_back(info.rcMonitor);
    return TRUE;
}

std::vector<RECT> enumerateMonitorRects() {
    std::vector<RECT> rects;
    EnumDisplayMonitors(nullptr, nullptr, addMonitorRect, reinterpret_cast<LPARAM>(&rects));
    return rects;
}

} // namespace

PlatformCalls systemPlatformCalls() {
    return {enumerateMonitorRects,
            GetCursorPos,
            RegisterPowerSettingNotification,
            UnregisterPowerSettingNotification,
            WTSRegisterSessionNotification,
            WTSUnRegisterSessionNotification};
}

PlatformCalls platformCalls = systemPlatformCalls();
