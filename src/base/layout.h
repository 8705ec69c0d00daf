#pragma once

// Layout scale of a window: its height against 1080, or its width against 1920 when the window
// is narrower than it is high (a portrait monitor). Cards and the software frame scale by it.
inline float layoutScale(int width, int height) {
    if (width < height) {
        return static_cast<float>(width) / 1920.0f;
    }
    return static_cast<float>(height) / 1080.0f;
}
