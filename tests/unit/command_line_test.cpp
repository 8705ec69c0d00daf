#include "shell/command_line.h"

#include <gtest/gtest.h>

#include <tuple>
#include <utility>

// Hosts write "/p 1234" or "/p:1234"; a handle of 2^32 must not be clipped to 32 bits. Only ASCII
// digits make a number: Arabic-Indic or fullwidth digits, or a sign, would name a window nobody wrote.
TEST(CommandLine, TheLetterAfterTheFirstSlashOrDashChoosesTheModeAndPreviewReadsTheHandle) {
    const std::tuple<const wchar_t*, SaverMode, std::uint64_t> rows[] = {
        {nullptr, SaverMode::Settings, 0},           {L"\t/s", SaverMode::Settings, 0},
        {L"/c:1234", SaverMode::Settings, 0},        {L"-A", SaverMode::Password, 0},
        {L"  -S", SaverMode::FullScreen, 0},         {L"/cs", SaverMode::Settings, 0},
        {L"/p 1234", SaverMode::Preview, 1234},      {L"/P:1234", SaverMode::Preview, 1234},
        {L"-l 1234", SaverMode::Preview, 1234},      {L"/p :1234", SaverMode::Preview, 1234},
        {L"/l:x12", SaverMode::Preview, 0},          {L"/p 4294967296", SaverMode::Preview, 4294967296},
        {L"/p \u0661\u0662", SaverMode::Preview, 0}, {L"/p \uFF11\uFF12", SaverMode::Preview, 0},
        {L"/p 12\u0663", SaverMode::Preview, 12},    {L"/p -12", SaverMode::Preview, 0},
    };
    for (const auto& [arguments, mode, window] : rows) {
        const SaverCommand command = parseCommandLine(arguments);
        EXPECT_EQ(std::pair(command.mode, command.hostWindow), std::pair(mode, window)) << arguments;
    }
}
