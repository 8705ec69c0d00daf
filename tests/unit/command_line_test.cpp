#include "shell/command_line.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

SaverMode modeOf(const wchar_t* arguments) {
    return parseCommandLine(arguments).mode;
}

TEST(CommandLine, NoSwitchMeansSettings) {
    EXPECT_EQ(modeOf(L""), SaverMode::Settings);
    EXPECT_EQ(modeOf(L"     "), SaverMode::Settings);
    EXPECT_EQ(modeOf(L"s"), SaverMode::Settings);
    EXPECT_EQ(modeOf(L"p 1234"), SaverMode::Settings);
    // Only spaces are skipped: a tab before the switch is not.
    EXPECT_EQ(modeOf(L"\t/s"), SaverMode::Settings);
    EXPECT_EQ(modeOf(nullptr), SaverMode::Settings);
}

TEST(CommandLine, LettersChooseTheMode) {
    EXPECT_EQ(modeOf(L"/a"), SaverMode::Password);
    EXPECT_EQ(modeOf(L"-A"), SaverMode::Password);
    EXPECT_EQ(modeOf(L"/c"), SaverMode::Settings);
    EXPECT_EQ(modeOf(L"-C"), SaverMode::Settings);
    EXPECT_EQ(modeOf(L"/s"), SaverMode::FullScreen);
    EXPECT_EQ(modeOf(L"-S"), SaverMode::FullScreen);
    EXPECT_EQ(modeOf(L"   /s"), SaverMode::FullScreen);
    EXPECT_EQ(modeOf(L"/x"), SaverMode::FullScreen);
    EXPECT_EQ(modeOf(L"/"), SaverMode::FullScreen);
    EXPECT_EQ(modeOf(L"-"), SaverMode::FullScreen);
    // Only the letter right after the slash counts.
    EXPECT_EQ(modeOf(L"/screen"), SaverMode::FullScreen);
    EXPECT_EQ(modeOf(L"/cs"), SaverMode::Settings);
    EXPECT_EQ(modeOf(L"/ s"), SaverMode::FullScreen);
}

TEST(CommandLine, SettingsIgnoresAWindowNumber) {
    const SaverCommand command = parseCommandLine(L"/c:1234");
    EXPECT_EQ(command.mode, SaverMode::Settings);
    EXPECT_EQ(command.hostWindow, 0u);
    EXPECT_EQ(parseCommandLine(L"/s 99").hostWindow, 0u);
}

TEST(CommandLine, PreviewReadsTheHostWindowInEveryHostSpelling) {
    const wchar_t* spellings[] = {
        L"/p 1234", L"/P 1234", L"-p:1234",   L"/p:1234",       L"/p1234",
        L"/l 1234", L"/L:1234", L"/p: :1234", L"/p ::  ::1234", L"  /p 1234 trailing",
        L"/p 1234x"};
    for (const wchar_t* arguments : spellings) {
        const SaverCommand command = parseCommandLine(arguments);
        EXPECT_EQ(command.mode, SaverMode::Preview) << std::wstring(arguments).size();
        EXPECT_EQ(command.hostWindow, 1234u);
    }
}

TEST(CommandLine, PreviewWithoutDigitsGivesHandleZero) {
    for (const wchar_t* arguments : {L"/p", L"/p:", L"/p  ", L"/p abc", L"/p:x1234", L"/l"}) {
        const SaverCommand command = parseCommandLine(arguments);
        EXPECT_EQ(command.mode, SaverMode::Preview);
        EXPECT_EQ(command.hostWindow, 0u);
    }
}

TEST(CommandLine, TheNumberIsReadLikeTheRuntimeReadsUnsignedNumbers) {
    // The conversion itself skips white space (a tab too) and accepts a sign; a negative number
    // wraps to a huge value that no window has.
    EXPECT_EQ(parseCommandLine(L"/p\t1234").hostWindow, 1234u);
    EXPECT_EQ(parseCommandLine(L"/p +77").hostWindow, 77u);
    EXPECT_EQ(parseCommandLine(L"/p -5").hostWindow, 18446744073709551611ull);
    EXPECT_EQ(parseCommandLine(L"/p 0012").hostWindow, 12u);
}

TEST(CommandLine, HugeHandlesUseAllSixtyFourBits) {
    EXPECT_EQ(parseCommandLine(L"/p 4294967296").hostWindow, 4294967296ull);
    EXPECT_EQ(parseCommandLine(L"/p 18446744073709551615").hostWindow, 18446744073709551615ull);
    // Out of range saturates rather than wrapping to some other, possibly real, window.
    EXPECT_EQ(parseCommandLine(L"/p 99999999999999999999999").hostWindow, 18446744073709551615ull);
}

TEST(CommandLine, RandomStringsNeverCrashAndFollowTheGrammar) {
    const wchar_t alphabet[] = L" /-:pPlLsSaAcCx0123456789\t\x00e9\x4e2d";
    std::mt19937 random(20261207);
    std::uniform_int_distribution<int> length(0, 24);
    std::uniform_int_distribution<int> pick(0, static_cast<int>(std::size(alphabet)) - 2);
    for (int run = 0; run < 20000; ++run) {
        std::wstring arguments;
        const int count = length(random);
        for (int i = 0; i < count; ++i) {
            arguments.push_back(alphabet[pick(random)]);
        }
        const SaverCommand command = parseCommandLine(arguments.c_str());
        const size_t first = arguments.find_first_not_of(L' ');
        const bool hasSwitch =
            first != std::wstring::npos && (arguments[first] == L'/' || arguments[first] == L'-');
        if (!hasSwitch) {
            ASSERT_EQ(command.mode, SaverMode::Settings) << run;
        }
        if (command.mode != SaverMode::Preview) {
            ASSERT_EQ(command.hostWindow, 0u) << run;
        }
    }
}

} // namespace
