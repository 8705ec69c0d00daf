#include "shell/system_notices.h"

#include "shell/platform_calls.h"

#include <wtsapi32.h>

#include <cstring>

namespace {

// Neither is in every SDK's headers; energy saver exists from Windows 11 22H2 on, and registering
// for it elsewhere simply fails.
constexpr GUID powerSavingStatus = {
    0xe00958c0, 0xc213, 0x4ace, {0xac, 0x77, 0xfe, 0xcc, 0xed, 0x2e, 0xee, 0xa5}};
constexpr GUID energySaverStatus = {
    0x550e8400, 0xe29b, 0x41d4, {0xa7, 0x16, 0x44, 0x66, 0x55, 0x44, 0x00, 0x00}};

} // namespace

const GUID* const watchedPowerSettings[watchedPowerSettingCount] = {
    &GUID_SESSION_DISPLAY_STATUS, &GUID_ACDC_POWER_SOURCE, &powerSavingStatus, &energySaverStatus};

void notePowerSetting(SystemConditions& conditions, WPARAM event, LPARAM data) {
    const auto* setting = reinterpret_cast<const POWERBROADCAST_SETTING*>(data);
    if (event != PBT_POWERSETTINGCHANGE || setting == nullptr || setting->DataLength < sizeof(DWORD)) {
        return;
    }
    DWORD value = 0;
    std::memcpy(&value, setting->Data, sizeof value);
    const GUID& which = setting->PowerSetting;
    if (IsEqualGUID(which, GUID_SESSION_DISPLAY_STATUS)) {
        conditions.displayOff = value == 0; // 1 on, 2 dimmed: still seen
    } else if (IsEqualGUID(which, GUID_ACDC_POWER_SOURCE)) {
        conditions.onBattery = value != 0; // 0 AC, 1 battery, 2 short-term supply
    } else if (IsEqualGUID(which, powerSavingStatus)) {
        conditions.batterySaverOn = value != 0;
    } else if (IsEqualGUID(which, energySaverStatus)) {
        conditions.energySaverOn = value != 0; // 1 standard, 2 high savings
    }
}

void noteSessionChange(SystemConditions& conditions, WPARAM change) {
    switch (change) {
    case WTS_SESSION_LOCK:
        conditions.sessionLocked = true;
        break;
    case WTS_SESSION_UNLOCK:
        conditions.sessionLocked = false;
        break;
    case WTS_CONSOLE_DISCONNECT:
    case WTS_REMOTE_DISCONNECT:
        conditions.sessionDisconnected = true;
        break;
    case WTS_CONSOLE_CONNECT:
    case WTS_REMOTE_CONNECT:
        conditions.sessionDisconnected = false;
        break;
    default:
        break;
    }
}

void registerSystemNotices(SystemNotices& notices, HWND window) {
    for (std::size_t i = 0; i < watchedPowerSettingCount; ++i) {
        notices.power[i] = platformCalls.registerPowerNotification(window, watchedPowerSettings[i],
                                                                   DEVICE_NOTIFY_WINDOW_HANDLE);
    }
    notices.session = platformCalls.registerSessionNotification(window, NOTIFY_FOR_THIS_SESSION) != FALSE;
}

void unregisterSystemNotices(SystemNotices& notices, HWND window) {
    for (HPOWERNOTIFY& notification : notices.power) {
        if (notification != nullptr) {
            platformCalls.unregisterPowerNotification(notification);
            notification = nullptr;
        }
    }
    if (notices.session) {
        platformCalls.unregisterSessionNotification(window);
        notices.session = false;
    }
}
