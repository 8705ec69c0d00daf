// Changes the size of the display it runs on, as a user would in the display settings; in a Wine
// virtual desktop this resizes the desktop and sends WM_DISPLAYCHANGE to every top-level window.
//
//   display_host <width> <height>
//
// Exits with ChangeDisplaySettingsExW's result: 0 when the size was taken, 2 on wrong arguments.
#include <windows.h>

#include <cwchar>

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        return 2;
    }
    DEVMODEW mode = {};
    mode.dmSize = sizeof mode;
    mode.dmPelsWidth = std::wcstoul(argv[1], nullptr, 10);
    mode.dmPelsHeight = std::wcstoul(argv[2], nullptr, 10);
    mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
    return ChangeDisplaySettingsExW(nullptr, &mode, nullptr, 0, nullptr);
}
