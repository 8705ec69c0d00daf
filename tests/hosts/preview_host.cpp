// Plays the part of the Screen Saver Settings dialog: makes a window, starts "<saver> <switch> <hwnd>"
// in it, keeps pumping messages, and after a while ends the preview the way the dialog does, by
// destroying its window.
//
//   preview_host <saver.scr> <client width> <client height> <seconds> <switch>
//
// Prints "child=<w>x<h>" as soon as the preview child exists (0x0 when the saver ended first or no
// child appeared within 15 s), then, <seconds> later, destroys the host and prints
// "alive=<0|1> exit=<code>": whether the saver still ran at that moment, and its exit code (99 or
// 259 when it did not end within 15 s).
//
// A switch with its own number ("/p 32", under Wine the desktop's short handle) is passed as it is;
// the host then stands in for Explorer's shell window, which Wine does not have.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

// Pumps this thread's messages for about 20 ms times `rounds`, or until done() holds.
template <typename Done> void pump(int rounds, Done done) {
    for (int round = 0; round < rounds && !done(); ++round) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
        Sleep(20);
    }
}

} // namespace

extern "C" BOOL WINAPI SetShellWindow(HWND window); // in user32, not in MinGW's headers

int wmain(int argc, wchar_t** argv) {
    if (argc != 6) {
        return 2; // see the usage above
    }
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.lpszClassName = L"OrvanePreviewHost";
    RegisterClassW(&windowClass);
    HWND host = CreateWindowExW(0, windowClass.lpszClassName, L"Preview host", WS_POPUP | WS_VISIBLE, 100,
                                100, _wtoi(argv[2]), _wtoi(argv[3]), nullptr, nullptr, nullptr, nullptr);
    const bool ownNumber = std::wstring(argv[5]).find(L' ') != std::wstring::npos;
    std::wstring commandLine = L"\"" + std::wstring(argv[1]) + L"\" " + argv[5] + L" " +
                               (ownNumber ? L"" : std::to_wstring(reinterpret_cast<ULONG_PTR>(host)));
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (host == nullptr || (ownNumber && !SetShellWindow(host)) ||
        !CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        std::fputs("cannot set up the host window or start the saver\n", stderr);
        return 2;
    }
    const auto ended = [&process] { return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0; };

    HWND child = nullptr;
    pump(750, [&] { return ended() || (child = FindWindowExW(host, nullptr, L"OrvaneSaver3D", nullptr)); });
    RECT childRect = {};
    GetClientRect(child, &childRect); // leaves 0x0 when there is no child
    std::printf("child=%ldx%ld\n", childRect.right, childRect.bottom);
    std::fflush(stdout);

    pump(static_cast<int>(_wtof(argv[4]) * 50.0), [] { return false; });
    const bool alive = !ended();
    DestroyWindow(host);
    // Keep pumping while the saver ends: it may still send messages to this thread's windows.
    pump(750, ended);
    TerminateProcess(process.hProcess, 99); // does nothing to a process that has ended
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    std::printf("alive=%d exit=%lu\n", alive ? 1 : 0, code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
}
