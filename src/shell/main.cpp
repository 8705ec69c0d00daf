#include "shell/saver_entry.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR arguments, int) {
    return runSaver(instance, arguments);
}
