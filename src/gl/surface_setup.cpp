#include "gl/surface_setup.h"

#include "gl/gl_context.h"
#include "gl/layout.h"
#include "gl/point_buffer.h"
#include "gl/program_builder.h"
#include "gl/render_targets.h"
#include "shell/screen_surface.h"
#include "software/software_renderer.h"

void initSurface(ScreenSurface& surface) {
    surface.scale = layoutScale(surface.width, surface.height);
    surface.dc = GetDC(surface.window);
    // The first failing stage has logged its line; the window then takes the software path.
    if (createGlContext(surface) && buildSurfacePrograms(surface) && createGlResources(surface) &&
        createPointBuffer(surface)) {
        return;
    }
    releaseGlContext(surface);
    surface.useGl = false;
    initSoftwareSurface(surface);
}
