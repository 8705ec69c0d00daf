// Plays the part of the Screen Saver Settings dialog: makes a window, starts "<saver> <switch> <hwnd>"
// in it, keeps pumping messages, and after a while ends the preview the way the dialog does, by
// destroying its window, or in one of the ways a real dialog can go away.
//
//   preview_host <saver.scr> <client width> <client height> <seconds> <switch> [<ending>]
//
// Endings:
//   destroy        (default) the host destroys its window <seconds> after the child appeared;
//   kill           the window belongs to a second host process, killed <seconds> after the child
//                  appeared (a dialog that crashed);
//   on-create      the host destroys its window as soon as it is told of the child's creation, while
//                  the saver is still inside CreateWindowExW;
//   exit-on-create the window belongs to a second host process, which ends itself as soon as it is
//                  told of the child's creation (a dialog closed or crashing while the preview starts);
//   message-only   the host's window is a message-only window, which can be no preview pane.
//
// Prints "child=<w>x<h>" as soon as the preview child exists (0x0 when the saver ended first, the
// host went first or no child appeared within 15 s), then "alive=<0|1> exit=<code> ended_ms=<ms>":
// whether the saver still ran when the host went (or, when the host never went, <seconds> after the
// child's wait), its exit code (99 or 259 when it did not end within 15 s of the host going) and how
// long after the host went it ended.
//
// "/p desktop" passes the desktop's short handle (16 bits, as a user could type it; 32 in a fresh
// Wine, but not always) instead of the host's; the host then stands in for Explorer's shell window,
// which Wine does not have.
//
//   preview_host --hold <client width> <client height> <kill|exit-on-create>
// only makes the window and pumps its messages until killed (the second process of those endings).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

constexpr wchar_t hostClass[] = L"OrvanePreviewHost";
ULONGLONG hostGoneAt = 0;

// Pumps this thread's messages for up to `milliseconds`, or until done() holds.
template <typename Done> void pump(ULONGLONG milliseconds, Done done) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    while (!done() && GetTickCount64() < end) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
        Sleep(2);
    }
}

// When told of the child's creation, while the saver waits for the message to be taken: the
// "on-create" host destroys its window, the "exit-on-create" holder ends its whole process.
bool exitOnCreation = false;
LRESULT CALLBACK endOnChildCreation(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PARENTNOTIFY && LOWORD(wParam) == WM_CREATE) {
        if (exitOnCreation) {
            TerminateProcess(GetCurrentProcess(), 3);
        }
        DestroyWindow(window);
        hostGoneAt = GetTickCount64();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// Titled with its process's number, so that the window of a second host process can be found.
std::wstring hostTitle(DWORD process) {
    return L"Preview host " + std::to_wstring(process);
}

HWND createHost(int width, int height, bool messageOnly) {
    return CreateWindowExW(0, hostClass, hostTitle(GetCurrentProcessId()).c_str(),
                           messageOnly ? 0 : WS_POPUP | WS_VISIBLE, 100, 100, width, height,
                           messageOnly ? HWND_MESSAGE : nullptr, nullptr, nullptr, nullptr);
}

bool startProcess(std::wstring commandLine, PROCESS_INFORMATION& process) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    return CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process) != 0;
}

// The host window of a second host process, once it exists.
HWND holdInOtherProcess(const wchar_t* self, const wchar_t* width, const wchar_t* height, const wchar_t* how,
                        PROCESS_INFORMATION& holder) {
    if (!startProcess(L"\"" + std::wstring(self) + L"\" --hold " + width + L" " + height + L" " + how,
                      holder)) {
        return nullptr;
    }
    HWND host = nullptr;
    pump(15000, [&] { return (host = FindWindowW(hostClass, hostTitle(holder.dwProcessId).c_str())); });
    return host;
}

} // namespace

extern "C" BOOL WINAPI SetShellWindow(HWND window); // in user32, not in MinGW's headers

int wmain(int argc, wchar_t** argv) {
    const std::wstring ending = argc > 6 ? argv[6] : L"destroy";
    const bool hold = argc == 5 && std::wstring_view(argv[1]) == L"--hold";
    if (!hold && argc != 6 && argc != 7) {
        return 2; // see the usage above
    }
    exitOnCreation = hold && std::wstring(argv[4]) == L"exit-on-create";
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = ending == L"on-create" || exitOnCreation ? endOnChildCreation : DefWindowProcW;
    windowClass.lpszClassName = hostClass;
    RegisterClassW(&windowClass);
    if (hold) {
        createHost(_wtoi(argv[2]), _wtoi(argv[3]), false);
        pump(INFINITE, [] { return false; });
        return 0;
    }
    PROCESS_INFORMATION holder = {};
    const bool held = ending == L"kill" || ending == L"exit-on-create";
    HWND host = held ? holdInOtherProcess(argv[0], argv[2], argv[3], ending.c_str(), holder)
                     : createHost(_wtoi(argv[2]), _wtoi(argv[3]), ending == L"message-only");
    const std::wstring switchText = argv[5];
    const bool desktop = switchText.ends_with(L" desktop");
    const ULONG_PTR target = desktop ? LOWORD(GetDesktopWindow()) : reinterpret_cast<ULONG_PTR>(host);
    const std::wstring commandLine = L"\"" + std::wstring(argv[1]) + L"\" " +
                                     switchText.substr(0, switchText.find(L' ')) + L" " +
                                     std::to_wstring(target);
    PROCESS_INFORMATION process = {};
    if (host == nullptr || (desktop && !SetShellWindow(host)) || !startProcess(commandLine, process)) {
        std::fputs("cannot set up the host window or start the saver\n", stderr);
        return 2;
    }
    ULONGLONG endedAt = 0;
    const auto ended = [&process, &endedAt] {
        if (endedAt == 0 && WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) {
            endedAt = GetTickCount64();
        }
        return endedAt != 0;
    };

    HWND child = nullptr;
    pump(15000, [&] {
        if (held && hostGoneAt == 0 && WaitForSingleObject(holder.hProcess, 0) == WAIT_OBJECT_0) {
            hostGoneAt = GetTickCount64();
        }
        // When the host waits for its creation message, the child is there before the message.
        return ended() || hostGoneAt != 0 ||
               (ending.find(L"on-create") == std::wstring::npos &&
                (child = FindWindowExW(host, nullptr, L"OrvaneSaver3D", nullptr)));
    });
    RECT childRect = {};
    GetClientRect(child, &childRect); // leaves 0x0 when there is no child
    std::printf("child=%ldx%ld\n", childRect.right, childRect.bottom);
    std::fflush(stdout);

    // A saver that ends because its host went ends in the same tick at the earliest.
    bool alive = hostGoneAt == 0 || endedAt == 0 || endedAt >= hostGoneAt;
    if (hostGoneAt == 0) {
        pump(static_cast<ULONGLONG>(_wtof(argv[4]) * 1000.0), [] { return false; });
        alive = !ended();
        ending == L"kill" ? TerminateProcess(holder.hProcess, 1) : DestroyWindow(host);
        hostGoneAt = GetTickCount64();
    }
    // Keep pumping while the saver ends: it may still send messages to this thread's windows.
    pump(15000, ended);
    // Neither does anything to a process that has ended, or that there is not.
    TerminateProcess(process.hProcess, 99);
    TerminateProcess(holder.hProcess, 1);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    // A saver that ended before its host went (a host it refused) counts as ending at once.
    const long long endedMs =
        std::max(0LL, static_cast<long long>(endedAt) - static_cast<long long>(hostGoneAt));
    std::printf("alive=%d exit=%lu ended_ms=%lld\n", alive ? 1 : 0, code, endedAt == 0 ? -1 : endedMs);
    return 0;
}
