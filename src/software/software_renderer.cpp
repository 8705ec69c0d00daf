#include "software/software_renderer.h"

#include "shell/screen_surface.h"

// Until the software renderer exists a software window keeps the class's black background:
// without a back buffer the main loop skips it.
void initSoftwareSurface(ScreenSurface& surface) {
    surface.useGl = false;
}

void drawSoftwareFrame(ScreenSurface& surface, double saverTime) {
    (void)surface;
    (void)saverTime;
}
