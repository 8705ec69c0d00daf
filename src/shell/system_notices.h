#pragma once

#include <windows.h>

#include <cstddef>

// What Windows reports about the session and the power supply, kept by the saver: nothing is drawn
// while nobody can see it, and GL frames come at half the rate while saving power.
struct SystemConditions {
    bool displayOff = false; // the session's own display, not the console's
    bool sessionLocked = false;
    bool sessionDisconnected = false; // from the console or from a remote client
    bool onBattery = false;           // or a short-term supply such as a UPS
    bool batterySaverOn = false;
    bool energySaverOn = false;
};

inline bool drawingPaused(const SystemConditions& conditions) {
    return conditions.displayOff || conditions.sessionLocked || conditions.sessionDisconnected;
}

inline bool savingPower(const SystemConditions& conditions) {
    return conditions.onBattery || conditions.batterySaverOn || conditions.energySaverOn;
}

// The power settings each saver window registers for. Windows reports each one's value at once on
// registration, and again on every change.
extern const GUID* const watchedPowerSettings[];
constexpr std::size_t watchedPowerSettingCount = 4;

// A WM_POWERBROADCAST notice: a change of one of the watched settings, any other is ignored.
void notePowerSetting(SystemConditions& conditions, WPARAM event, LPARAM data);

// A WM_WTSSESSION_CHANGE notice about this session: lock, unlock, connect and disconnect.
void noteSessionChange(SystemConditions& conditions, WPARAM change);

// A window's registrations for the watched settings and this session's changes; what failed stays
// null or false, and only what succeeded is undone.
struct SystemNotices {
    HPOWERNOTIFY power[watchedPowerSettingCount] = {};
    bool session = false;
};

void registerSystemNotices(SystemNotices& notices, HWND window);
void unregisterSystemNotices(SystemNotices& notices, HWND window);
