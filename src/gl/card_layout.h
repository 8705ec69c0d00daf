#pragma once

// Where an overlay card lands, in window pixels (origin top-left, y down), unrounded.
struct CardRect {
    float x = 0.0f;
    float y = 0.0f;
    float width = 0.0f;
    float height = 0.0f;
};

enum CardIndex { logoCard = 0, taglineCard = 1, helpCard = 2 };

// Cards are drawn at half their picture size times the layout scale: the logo top-left, the
// tagline bottom-left and the help card bottom-right, sharing a bottom edge 104 x scale up.
inline CardRect cardRect(int index, int pictureWidth, int pictureHeight, int windowWidth, int windowHeight,
                         float scale) {
    CardRect rect;
    rect.width = static_cast<float>(pictureWidth) * 0.5f * scale;
    rect.height = static_cast<float>(pictureHeight) * 0.5f * scale;
    const float bottom = static_cast<float>(windowHeight) - 104.0f * scale - rect.height;
    if (index == logoCard) {
        rect.x = 64.0f * scale;
        rect.y = 56.0f * scale;
    } else if (index == taglineCard) {
        rect.x = 64.0f * scale;
        rect.y = bottom;
    } else {
        rect.x = static_cast<float>(windowWidth) - 64.0f * scale - rect.width;
        rect.y = bottom;
    }
    return rect;
}
