// Plays the part of the Screen Saver Settings dialog: makes a window, starts "<saver> /p <hwnd>" in
// it, keeps pumping messages, and after a while ends the preview the way the dialog would.
//
//   preview_host <saver.scr> <client width> <client height> <destroy|close> <seconds> [switch]
//
// Prints one line: "child=<w>x<h> alive=<0|1> exit=<code>", where child is the preview child's
// client size (0x0 when none appeared), alive whether the saver still ran when the host ended the
// preview, and exit the saver's exit code (or "timeout").
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

void pumpFor(DWORD milliseconds) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    while (GetTickCount64() < end) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(10);
    }
}

HWND findChild(HWND host, DWORD milliseconds) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    while (GetTickCount64() < end) {
        HWND child = FindWindowExW(host, nullptr, L"OrvaneSaver3D", nullptr);
        if (child != nullptr) {
            return child;
        }
        pumpFor(20);
    }
    return nullptr;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 6) {
        std::fputs("usage: preview_host <saver.scr> <width> <height> <destroy|close> <seconds> [switch]\n",
                   stderr);
        return 2;
    }
    const int width = _wtoi(argv[2]);
    const int height = _wtoi(argv[3]);
    const std::wstring action = argv[4];
    const DWORD lifetime = static_cast<DWORD>(_wtof(argv[5]) * 1000.0);
    const std::wstring previewSwitch = argc > 6 ? argv[6] : L"/p";

    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    windowClass.lpszClassName = L"OrvanePreviewHost";
    RegisterClassW(&windowClass);
    HWND host = CreateWindowExW(0, L"OrvanePreviewHost", L"Preview host", WS_POPUP | WS_VISIBLE, 100, 100,
                                width, height, nullptr, nullptr, windowClass.hInstance, nullptr);
    if (host == nullptr) {
        std::fputs("cannot create the host window\n", stderr);
        return 2;
    }

    std::wstring commandLine = L"\"" + std::wstring(argv[1]) + L"\" " + previewSwitch + L" " +
                               std::to_wstring(reinterpret_cast<ULONG_PTR>(host));
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        std::fputs("cannot start the saver\n", stderr);
        return 2;
    }

    HWND child = findChild(host, 15000);
    RECT childRect = {};
    if (child != nullptr) {
        GetClientRect(child, &childRect);
    }
    pumpFor(lifetime);
    DWORD code = 0;
    const bool alive = GetExitCodeProcess(process.hProcess, &code) && code == STILL_ACTIVE;
    if (action == L"close" && child != nullptr) {
        PostMessageW(child, WM_CLOSE, 0, 0);
    } else {
        DestroyWindow(host);
    }
    // Keep pumping while the saver ends: it may still send messages to the host's thread.
    const ULONGLONG end = GetTickCount64() + 15000;
    while (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT && GetTickCount64() < end) {
        pumpFor(20);
    }
    std::string exitText = "timeout";
    if (WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process.hProcess, &code);
        exitText = std::to_string(code);
    } else {
        TerminateProcess(process.hProcess, 99);
    }
    std::printf("child=%ldx%ld alive=%d exit=%s\n", childRect.right, childRect.bottom, alive ? 1 : 0,
                exitText.c_str());
    if (IsWindow(host)) {
        DestroyWindow(host);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
}
