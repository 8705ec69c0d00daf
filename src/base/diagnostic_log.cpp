#include "base/diagnostic_log.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cwchar>

namespace {
constexpr DWORD pathCapacity = 260;
// Leaves room for the file name and the terminator in the 260-character buffer.
constexpr DWORD longestTempPath = 230;
} // namespace

void writeLog(const char* format, ...) {
    wchar_t path[pathCapacity] = {};
    const DWORD length = GetTempPathW(pathCapacity, path);
    if (length == 0 || length > longestTempPath) {
        return;
    }
    wcscat(path, L"orvane-screensaver.log");
    FILE* file = _wfopen(path, L"a");
    if (file == nullptr) {
        return;
    }
    va_list arguments;
    va_start(arguments, format);
    vfprintf(file, format, arguments);
    va_end(arguments);
    fputc('\n', file);
    fclose(file);
}
