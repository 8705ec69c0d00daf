#include "gl/gl_frame.h"

#include "gl/gl_api.h"
#include "shell/screen_surface.h"

void drawGlFrame(ScreenSurface& surface, float saverTime, float cardFade) {
    (void)saverTime;
    (void)cardFade;
    glViewport(0, 0, surface.width, surface.height);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    SwapBuffers(surface.dc);
}
