// The software set-up: its device contexts and DIB sections, what it releases, and what it does when
// GDI cannot give it one of them.

#include "shell/main_loop.h"
#include "software/software_gdi.h"
#include "software/software_renderer.h"
#include "software_test_support.h"
#include "support/test_windows.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Counts the set-up's GDI calls, keeps every handle they made, and fails the chosen call.
struct GdiRecorder {
    int failCompatibleDc = 0; // 1-based call number to fail; 0 never
    int failDibSection = 0;
    int failSelect = 0;
    int compatibleDcCalls = 0;
    int dibSectionCalls = 0;
    int selectCalls = 0;
    int windowDcsTaken = 0;
    int windowDcsReleased = 0;
    std::vector<HGDIOBJ> made;
};

GdiRecorder recorder;

HDC WINAPI recordCompatibleDc(HDC dc) {
    if (++recorder.compatibleDcCalls == recorder.failCompatibleDc) {
        return nullptr;
    }
    HDC made = CreateCompatibleDC(dc);
    recorder.made.push_back(made);
    return made;
}

HBITMAP WINAPI recordDibSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                                DWORD offset) {
    if (++recorder.dibSectionCalls == recorder.failDibSection) {
        return nullptr;
    }
    HBITMAP made = CreateDIBSection(dc, info, usage, bits, section, offset);
    recorder.made.push_back(made);
    return made;
}

HGDIOBJ WINAPI recordSelect(HDC dc, HGDIOBJ object) {
    if (++recorder.selectCalls == recorder.failSelect) {
        return nullptr;
    }
    return SelectObject(dc, object);
}

HDC WINAPI recordGetDc(HWND window) {
    ++recorder.windowDcsTaken;
    return GetDC(window);
}

int WINAPI recordReleaseDc(HWND window, HDC dc) {
    ++recorder.windowDcsReleased;
    return ReleaseDC(window, dc);
}

class SoftwareSetUp : public ::testing::Test {
  protected:
    void SetUp() override {
        startGdiplusOnce();
        recorder = GdiRecorder();
        original = softwareGdi;
        softwareGdi.createCompatibleDc = recordCompatibleDc;
        softwareGdi.createDibSection = recordDibSection;
        softwareGdi.selectObject = recordSelect;
        softwareGdi.getDc = recordGetDc;
        softwareGdi.releaseDc = recordReleaseDc;
    }
    void TearDown() override {
        softwareGdi = original;
        clearPictureSlots();
    }

    static void expectAllReleased() {
        for (HGDIOBJ object : recorder.made) {
            EXPECT_EQ(GetObjectType(object), 0u) << "a device context or bitmap of the set-up leaked";
        }
    }

    SoftwareGdiCalls original = {};
};

TEST_F(SoftwareSetUp, MakesTwoMemoryContextsWithTopDownThirtyTwoBitSectionsOfTheWindowSize) {
    ScreenSurface* surface = openSoftwareSurface(320, 200);
    EXPECT_FALSE(surface->useGl);
    ASSERT_NE(surface->staticDc, nullptr);
    ASSERT_NE(surface->backDc, nullptr);
    EXPECT_NE(surface->staticDc, surface->backDc);
    EXPECT_EQ(recorder.made, (std::vector<HGDIOBJ>{surface->staticDc, surface->backDc, surface->staticBitmap,
                                                   surface->backBitmap}))
        << "staticDc, backDc, staticBitmap, backBitmap, in this order";
    for (HBITMAP bitmap : {surface->staticBitmap, surface->backBitmap}) {
        DIBSECTION section = {};
        ASSERT_EQ(GetObjectW(bitmap, sizeof section, &section), static_cast<int>(sizeof section));
        EXPECT_EQ(section.dsBm.bmWidth, 320);
        EXPECT_EQ(section.dsBm.bmHeight, 200);
        EXPECT_EQ(section.dsBm.bmBitsPixel, 32);
        EXPECT_EQ(section.dsBmih.biCompression, static_cast<DWORD>(BI_RGB));
    }
    EXPECT_EQ(GetCurrentObject(surface->staticDc, OBJ_BITMAP), surface->staticBitmap);
    EXPECT_EQ(GetCurrentObject(surface->backDc, OBJ_BITMAP), surface->backBitmap);
    // What was selected before: a memory context's default one-pixel bitmap.
    for (HGDIOBJ old : {surface->staticOldBitmap, surface->backOldBitmap}) {
        ASSERT_NE(old, nullptr);
        EXPECT_EQ(GetObjectType(old), static_cast<DWORD>(OBJ_BITMAP));
    }
    EXPECT_EQ(recorder.windowDcsTaken, 1);
    EXPECT_EQ(recorder.windowDcsReleased, 1) << "the window's device context is given back";
    closeSoftwareSurface(surface);
    expectAllReleased();
}

TEST_F(SoftwareSetUp, ADeviceContextOrBitmapThatCannotBeMadeLeavesNothingBehindAndNoBackBuffer) {
    struct Fault {
        const char* what;
        int compatibleDc, dibSection, select;
    };
    const Fault faults[] = {
        {"staticDc", 1, 0, 0},   {"backDc", 2, 0, 0},        {"staticBitmap", 0, 1, 0},
        {"backBitmap", 0, 2, 0}, {"select static", 0, 0, 1}, {"select back", 0, 0, 2},
    };
    for (const Fault& fault : faults) {
        SCOPED_TRACE(fault.what);
        recorder = GdiRecorder();
        recorder.failCompatibleDc = fault.compatibleDc;
        recorder.failDibSection = fault.dibSection;
        recorder.failSelect = fault.select;
        ScreenSurface* surface = openSoftwareSurface(64, 48);
        EXPECT_FALSE(surface->useGl);
        EXPECT_EQ(surface->staticDc, nullptr);
        EXPECT_EQ(surface->backDc, nullptr);
        EXPECT_EQ(surface->staticBitmap, nullptr);
        EXPECT_EQ(surface->backBitmap, nullptr);
        EXPECT_EQ(surface->staticOldBitmap, nullptr);
        EXPECT_EQ(surface->backOldBitmap, nullptr);
        EXPECT_EQ(recorder.windowDcsTaken, recorder.windowDcsReleased);
        expectAllReleased();
        // The main loop passes over such a window without drawing it.
        std::vector<ScreenSurface*> saved;
        saved.swap(surfaces);
        surfaces.push_back(surface);
        EXPECT_TRUE(drawPass(0.0, -1.0));
        surfaces.swap(saved);
        closeSoftwareSurface(surface);
    }
}

TEST_F(SoftwareSetUp, AZeroSizedWindowGetsNoBackBuffer) {
    // A monitor whose rectangle could not be read gives a 0 x 0 window; GDI refuses its sections.
    ScreenSurface* surface = openSoftwareSurface(0, 0);
    EXPECT_EQ(surface->backDc, nullptr);
    EXPECT_EQ(surface->staticDc, nullptr);
    EXPECT_EQ(recorder.windowDcsTaken, recorder.windowDcsReleased);
    expectAllReleased();
    closeSoftwareSurface(surface);
}

} // namespace
