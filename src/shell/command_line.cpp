#include "shell/command_line.h"

#include <cwctype>

namespace {

// The window number in ASCII decimal digits only: the C runtime would also take signs and other
// scripts' digits (Arabic-Indic, fullwidth, ...), naming a window the user never wrote. No digits,
// or a number beyond 64 bits, is no number (0, which is no window).
std::uint64_t readWindowNumber(const wchar_t* text) {
    std::uint64_t number = 0;
    for (; *text >= L'0' && *text <= L'9'; ++text) {
        const std::uint64_t digit = static_cast<std::uint64_t>(*text - L'0');
        if (number > (UINT64_MAX - digit) / 10) {
            return 0;
        }
        number = number * 10 + digit;
    }
    return number;
}

} // namespace

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
        command.hostWindow = readWindowNumber(number);
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
