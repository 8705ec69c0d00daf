#include "shell/command_line.h"

#include <cwctype>
#include <stdlib.h>

SaverCommand parseCommandLine(const wchar_t* arguments) {
    SaverCommand command;
    if (arguments == nullptr) {
        return command;
    }
    const wchar_t* cursor = arguments;
    while (*cursor == L' ') {
        ++cursor;
    }
    if (*cursor != L'-' && *cursor != L'/') {
        return command;
    }
    ++cursor;
    const wchar_t letter = static_cast<wchar_t>(towlower(*cursor));
    if (letter == L'p' || letter == L'l') {
        // The host may write "/p 1234", "/p:1234" or even "/p: :1234".
        const wchar_t* number = cursor + 1;
        while (*number == L':' || *number == L' ') {
            ++number;
        }
        command.hostWindow = _wcstoui64(number, nullptr, 10);
    }
    if (letter == L'a') {
        command.mode = SaverMode::Password;
    } else if (letter == L'c') {
        command.mode = SaverMode::Settings;
    } else if (letter == L'p' || letter == L'l') {
        command.mode = SaverMode::Preview;
    } else {
        command.mode = SaverMode::FullScreen;
    }
    return command;
}
