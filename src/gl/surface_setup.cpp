#include "gl/surface_setup.h"

#include "gl/gl_context.h"
#include "gl/layout.h"
#include "shell/screen_surface.h"
#include "software/software_renderer.h"

void initSurface(ScreenSurface& surface) {
    surface.scale = layoutScale(surface.width, surface.height);
    surface.dc = GetDC(surface.window);
    if (createGlContext(surface)) {
        surface.useGl = true;
        return;
    }
    releaseGlContext(surface);
    surface.useGl = false;
    initSoftwareSurface(surface);
}
