// The software set-up: its device contexts and DIB sections, what it releases, and what it does when
// GDI cannot give it one of them.

#include "shell/main_loop.h"
#include "software/software_renderer.h"
#include "software_test_support.h"

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

class SoftwareSetUp : public SoftwareTest {
  protected:
    void SetUp() override {
        SoftwareTest::SetUp();
        recorder = GdiRecorder();
        softwareGdi.createCompatibleDc = [](HDC dc) -> HDC {
            HDC made =
                ++recorder.compatibleDcCalls == recorder.failCompatibleDc ? nullptr : CreateCompatibleDC(dc);
            recorder.made.push_back(made);
            return made;
        };
        softwareGdi.createDibSection = [](HDC dc, const BITMAPINFO* info, UINT usage, void** bits,
                                          HANDLE section, DWORD offset) -> HBITMAP {
            HBITMAP made = ++recorder.dibSectionCalls == recorder.failDibSection
                               ? nullptr
                               : CreateDIBSection(dc, info, usage, bits, section, offset);
            recorder.made.push_back(made);
            return made;
        };
        softwareGdi.selectObject = [](HDC dc, HGDIOBJ object) -> HGDIOBJ {
            return ++recorder.selectCalls == recorder.failSelect ? nullptr : SelectObject(dc, object);
        };
        softwareGdi.getDc = [](HWND window) -> HDC {
            ++recorder.windowDcsTaken;
            return GetDC(window);
        };
        softwareGdi.releaseDc = [](HWND window, HDC dc) -> int {
            ++recorder.windowDcsReleased;
            return ReleaseDC(window, dc);
        };
    }

    static void expectAllReleased() {
        EXPECT_EQ(recorder.windowDcsTaken, recorder.windowDcsReleased)
            << "the window's device context is kept";
        for (HGDIOBJ object : recorder.made) {
            EXPECT_EQ(GetObjectType(object), 0u) << "a device context or bitmap of the set-up leaked";
        }
    }
};

TEST_F(SoftwareSetUp, MakesTwoMemoryContextsWithThirtyTwoBitSectionsOfTheWindowSizeAndReleasesThemAll) {
    ScreenSurface* surface = openSoftwareSurface(320, 200);
    EXPECT_FALSE(surface->useGl);
    ASSERT_NE(surface->staticDc, surface->backDc);
    EXPECT_EQ(recorder.made, (std::vector<HGDIOBJ>{surface->staticDc, surface->backDc, surface->staticBitmap,
                                                   surface->backBitmap}))
        << "staticDc, backDc, staticBitmap, backBitmap, in this order";
    const struct {
        HDC dc;
        HBITMAP bitmap;
        HGDIOBJ old;
    } pairs[] = {{surface->staticDc, surface->staticBitmap, surface->staticOldBitmap},
                 {surface->backDc, surface->backBitmap, surface->backOldBitmap}};
    for (const auto& pair : pairs) {
        DIBSECTION section = {};
        ASSERT_EQ(GetObjectW(pair.bitmap, sizeof section, &section), static_cast<int>(sizeof section));
        EXPECT_EQ(section.dsBm.bmWidth, 320);
        EXPECT_EQ(section.dsBm.bmHeight, 200);
        EXPECT_EQ(section.dsBm.bmBitsPixel, 32);
        EXPECT_EQ(section.dsBmih.biCompression, static_cast<DWORD>(BI_RGB));
        EXPECT_EQ(GetCurrentObject(pair.dc, OBJ_BITMAP), pair.bitmap);
        // What was selected before: a memory context's default one-pixel bitmap, put back at teardown.
        EXPECT_EQ(GetObjectType(pair.old), static_cast<DWORD>(OBJ_BITMAP));
    }
    // A frame takes the window's device context for its blit and gives it back too.
    drawSoftwareFrame(*surface, 2.0);
    closeSoftwareSurface(surface);
    EXPECT_EQ(recorder.windowDcsTaken, 2);
    expectAllReleased();
}

TEST_F(SoftwareSetUp, ADeviceContextOrBitmapThatCannotBeMadeLeavesNothingBehindAndNoBackBuffer) {
    // A 0 x 0 window (a monitor whose rectangle could not be read) gets no sections from GDI.
    const struct {
        const char* what;
        int size, compatibleDc, dibSection, select;
    } faults[] = {
        {"staticDc", 64, 1, 0, 0},         {"backDc", 64, 2, 0, 0},        {"staticBitmap", 64, 0, 1, 0},
        {"backBitmap", 64, 0, 2, 0},       {"select static", 64, 0, 0, 1}, {"select back", 64, 0, 0, 2},
        {"zero-sized window", 0, 0, 0, 0},
    };
    for (const auto& fault : faults) {
        SCOPED_TRACE(fault.what);
        recorder = GdiRecorder();
        recorder.failCompatibleDc = fault.compatibleDc;
        recorder.failDibSection = fault.dibSection;
        recorder.failSelect = fault.select;
        ScreenSurface* surface = openSoftwareSurface(fault.size, fault.size);
        EXPECT_FALSE(surface->useGl);
        const void* handles[] = {surface->staticDc,   surface->backDc,          surface->staticBitmap,
                                 surface->backBitmap, surface->staticOldBitmap, surface->backOldBitmap};
        for (const void* handle : handles) {
            EXPECT_EQ(handle, nullptr);
        }
        expectAllReleased();
        // The main loop passes over such a window without drawing it.
        std::vector<ScreenSurface*> saved = replaceSurfaces({surface});
        EXPECT_TRUE(drawPass(0.0, -1.0));
        replaceSurfaces(saved);
        closeSoftwareSurface(surface);
    }
}

} // namespace
