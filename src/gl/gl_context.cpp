#include "gl/gl_context.h"

#include "base/diagnostic_log.h"
#include "gl/wgl_calls.h"

namespace {

PROC loadedOpenGlExport(const char* name) {
    HMODULE module = GetModuleHandleW(L"opengl32.dll");
    return module == nullptr ? nullptr : GetProcAddress(module, name);
}

PIXELFORMATDESCRIPTOR saverPixelFormat() {
    PIXELFORMATDESCRIPTOR descriptor = {};
    descriptor.nSize = sizeof(PIXELFORMATDESCRIPTOR);
    descriptor.nVersion = 1;
    descriptor.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    descriptor.iPixelType = PFD_TYPE_RGBA;
    descriptor.cColorBits = 32;
    descriptor.cAlphaBits = 8;
    descriptor.iLayerType = PFD_MAIN_PLANE;
    return descriptor;
}

bool setSaverPixelFormat(HDC dc) {
    // A window's pixel format is set once for its life: a renderer made anew on it (after a GPU
    // reset) keeps the one it has, since Windows refuses to set it again.
    if (GetPixelFormat(dc) != 0) {
        return true;
    }
    const PIXELFORMATDESCRIPTOR descriptor = saverPixelFormat();
    const int format = wglCalls.choosePixelFormat(dc, &descriptor);
    if (format == 0 || !wglCalls.setPixelFormat(dc, format, &descriptor)) {
        writeLog("pixel format failed");
        return false;
    }
    return true;
}

// A legacy context must be current before the driver hands out wglCreateContextAttribsARB.
HGLRC createCoreContextThroughLegacy(HDC dc, bool& legacyFailed) {
    HGLRC legacy = wglCalls.createContext(dc);
    if (legacy == nullptr) {
        legacyFailed = true;
        return nullptr;
    }
    if (!wglCalls.makeCurrent(dc, legacy)) {
        wglCalls.deleteContext(legacy);
        legacyFailed = true;
        return nullptr;
    }
    HGLRC core = nullptr;
    // Looked up like every other entry point: a driver's 1, 2, 3 or -1 is no address to call.
    auto createContextAttribs = procAs<PfnWglCreateContextAttribsArb>(lookupGlEntryPoint(
        {wglCalls.getProcAddress, wglCalls.moduleProcAddress}, "wglCreateContextAttribsARB"));
    if (createContextAttribs != nullptr) {
        // Asked first to report a GPU reset by losing the context, so that the saver never draws
        // into a context whose objects are gone; a driver without WGL_ARB_create_context_robustness
        // refuses the attribute, and the context is asked for again without it.
        int attributes[] = {WGL_CONTEXT_MAJOR_VERSION_ARB,
                            3,
                            WGL_CONTEXT_MINOR_VERSION_ARB,
                            3,
                            WGL_CONTEXT_PROFILE_MASK_ARB,
                            WGL_CONTEXT_CORE_PROFILE_BIT_ARB,
                            WGL_CONTEXT_RESET_NOTIFICATION_STRATEGY_ARB,
                            WGL_LOSE_CONTEXT_ON_RESET_ARB,
                            0};
        core = createContextAttribs(dc, nullptr, attributes);
        if (core == nullptr) {
            attributes[6] = 0;
            core = createContextAttribs(dc, nullptr, attributes);
        }
    }
    wglCalls.makeCurrent(nullptr, nullptr);
    wglCalls.deleteContext(legacy);
    return core;
}

} // namespace

WglCalls wglCalls = systemWglCalls();

WglCalls systemWglCalls() {
    return {ChoosePixelFormat, SetPixelFormat,    wglCreateContext,  wglMakeCurrent,
            wglDeleteContext,  wglGetProcAddress, loadedOpenGlExport};
}

bool createGlContext(HDC dc, HGLRC& context, GlFunctions& gl) {
    if (!setSaverPixelFormat(dc)) {
        return false;
    }
    bool legacyFailed = false;
    HGLRC core = createCoreContextThroughLegacy(dc, legacyFailed);
    if (legacyFailed) {
        writeLog("legacy context failed");
        return false;
    }
    if (core == nullptr) {
        writeLog("GL 3.3 core context not available");
        return false;
    }
    if (!wglCalls.makeCurrent(dc, core)) {
        wglCalls.deleteContext(core);
        writeLog("make current failed");
        return false;
    }
    context = core;
    return loadGlFunctions(gl, {wglCalls.getProcAddress, wglCalls.moduleProcAddress});
}
