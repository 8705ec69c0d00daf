#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

// One overlay card texture of a GL window; texture 0 means the card is not drawn.
struct OverlayCard {
    std::uint32_t texture = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// One saver window: a full-screen popup on a monitor or the preview child. Either a GL surface
// (useGl true, the GL names valid) or a software surface (useGl false, glContext null).
struct ScreenSurface {
    HWND window = nullptr;
    HPOWERNOTIFY displayNotification = nullptr; // console display on/off, unregistered at teardown
    std::int32_t width = 0;
    std::int32_t height = 0;
    float scale = 1.0f;
    bool useGl = false;
    HDC dc = nullptr;
    HGLRC glContext = nullptr;
    std::int32_t sceneWidth = 0;
    std::int32_t sceneHeight = 0;
    std::int32_t bloomWidth = 0;
    std::int32_t bloomHeight = 0;
    std::uint32_t pointsProgram = 0;
    std::uint32_t blurProgram = 0;
    std::uint32_t compositeProgram = 0;
    std::uint32_t overlayProgram = 0;
    std::uint32_t bakeProgram = 0;
    std::uint32_t emptyVao = 0;
    std::uint32_t pointBuffer = 0; // the model points' baked part, read through modelVao
    std::uint32_t modelVao = 0;
    std::uint32_t sceneTexture = 0;
    std::uint32_t sceneFramebuffer = 0;
    std::uint32_t bloomTextureA = 0;
    std::uint32_t bloomFramebufferA = 0;
    std::uint32_t bloomTextureB = 0;
    std::uint32_t bloomFramebufferB = 0;
    OverlayCard cards[3] = {};
    HDC staticDc = nullptr;
    HDC backDc = nullptr;
    HBITMAP staticBitmap = nullptr;
    HBITMAP backBitmap = nullptr;
    HGDIOBJ staticOldBitmap = nullptr;
    HGDIOBJ backOldBitmap = nullptr;
    // The software frame redraws only where its arcs were and are; a new window, or one painted
    // over, gets all of it once.
    RECT arcBoxes[3] = {};
    bool wholeFrameDue = true;
};

// Every saver window in creation order; the list owns the records until the teardown.
extern std::vector<ScreenSurface*> surfaces;
