#pragma once

#include <cstdint>

enum class SaverMode { Password, Settings, Preview, FullScreen };

struct SaverCommand {
    SaverMode mode = SaverMode::Settings;
    std::uint64_t hostWindow = 0; // read only for the preview switches p and l
};

// Reads the screen-saver switch the way the Windows screen-saver host writes it:
// "/s", "-S", "/p 1234", "/l:1234", "/c:1234", "/a" or nothing at all.
SaverCommand parseCommandLine(const wchar_t* arguments);
