#include "shell/command_line.h"

#include <gtest/gtest.h>

// Hosts write "/p 1234" or "/p:1234"; a handle of 2^32 must not be clipped to 32 bits. Only ASCII
// digits make a number: Arabic-Indic or fullwidth digits, or a sign, would name a window nobody wrote.
TEST(CommandLine, TheLetterAfterTheFirstSlashOrDashChoosesTheModeAndPreviewReadsTheHandle) {
    const struct {
        const wchar_t* arguments;
        SaverMode mode;
        std::uint64_t window;
    } rows[] = {
        {nullptr, SaverMode::Settings, 0},           {L"\t/s", SaverMode::Settings, 0},
        {L"/c:1234", SaverMode::Settings, 0},        {L"-A", SaverMode::Password, 0},
        {L"  -S", SaverMode::FullScreen, 0},         {L"/cs", SaverMode::Settings, 0},
        {L"/p 1234", SaverMode::Preview, 1234},      {L"/P:1234", SaverMode::Preview, 1234},
        {L"-l 1234", SaverMode::Preview, 1234},      {L"/p :1234", SaverMode::Preview, 1234},
        {L"/l:x12", SaverMode::Preview, 0},          {L"/p 4294967296", SaverMode::Preview, 4294967296},
        {L"/p \u0661\u0662", SaverMode::Preview, 0}, {L"/p \uFF11\uFF12", SaverMode::Preview, 0},
        {L"/p 12\u0663", SaverMode::Preview, 12},    {L"/p -12", SaverMode::Preview, 0},
    };
    for (const auto& row : rows) {
        const SaverCommand command = parseCommandLine(row.arguments);
        EXPECT_EQ(command.mode, row.mode) << row.arguments;
        EXPECT_EQ(command.hostWindow, row.window) << row.arguments;
    }
}
