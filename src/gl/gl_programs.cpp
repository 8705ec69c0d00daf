#include "gl/gl_programs.h"

#include "gl/point_buffer.h"
#include "gl/program_builder.h"
#include "shaders/shader_sources.h"

#include <initializer_list>

namespace {

struct Uniform {
    GLint* location;
    const char* name;
};

void lookUpUniforms(const GlFunctions& gl, GLuint program, std::initializer_list<Uniform> uniforms) {
    for (const Uniform& uniform : uniforms) {
        *uniform.location = gl.glGetUniformLocation(program, uniform.name);
    }
}

void lookUpPointsUniforms(const GlFunctions& gl, PointsProgram& points) {
    lookUpUniforms(gl, points.program,
                   {{&points.time, "uT"},
                    {&points.resolution, "uRes"},
                    {&points.eye, "uEye"},
                    {&points.forward, "uForward"},
                    {&points.right, "uRight"},
                    {&points.up, "uUp"},
                    {&points.source, "uSource"},
                    {&points.detector, "uDetector"},
                    {&points.panelAcross, "uPanelAcross"},
                    {&points.cycle, "uCycle"},
                    {&points.scanHeight, "uScanHeight"},
                    {&points.scanning, "uScanning"},
                    {&points.gantryVisible, "uGantryVisible"},
                    {&points.gantryLift, "uGantryLift"},
                    {&points.gantryAngle, "uGantryAngle"},
                    {&points.dissolve, "uDissolve"},
                    {&points.sliceHeight, "uSliceHeight"},
                    {&points.sliceEnvelope, "uSliceEnvelope"},
                    {&points.fadeIn, "uFadeIn"},
                    {&points.floorSpin, "uFloorSpin"},
                    {&points.dustSway, "uDustSway"}});
}

} // namespace

bool buildGlPrograms(const GlFunctions& gl, GlPrograms& programs) {
    // The fullscreen-triangle text is compiled once per program that uses it: no shader object
    // is shared between programs.
    programs.points.program = buildProgram(gl, pointsVertexSource, pointsFragmentSource, "points");
    programs.blur.program = buildProgram(gl, fullscreenVertexSource, blurFragmentSource, "blur");
    programs.composite.program =
        buildProgram(gl, fullscreenVertexSource, compositeFragmentSource, "composite");
    programs.overlay.program = buildProgram(gl, overlayVertexSource, overlayFragmentSource, "ui");
    programs.bake =
        buildFeedbackProgram(gl, pointsBakeVertexSource, pointBufferOutputs, pointBufferOutputCount, "bake");
    // Without the bake the points program generates the model itself (point_buffer.h).
    if (programs.points.program == 0 || programs.blur.program == 0 || programs.composite.program == 0 ||
        programs.overlay.program == 0) {
        return false;
    }
    lookUpProgramUniforms(gl, programs);
    return true;
}

void lookUpProgramUniforms(const GlFunctions& gl, GlPrograms& programs) {
    lookUpPointsUniforms(gl, programs.points);
    BlurProgram& blur = programs.blur;
    lookUpUniforms(gl, blur.program, {{&blur.texture, "uTex"}, {&blur.direction, "uDir"}});
    CompositeProgram& composite = programs.composite;
    lookUpUniforms(gl, composite.program,
                   {{&composite.scene, "uScene"},
                    {&composite.bloom, "uBloom"},
                    {&composite.resolution, "uRes"},
                    {&composite.time, "uT"}});
    OverlayProgram& overlay = programs.overlay;
    lookUpUniforms(gl, overlay.program,
                   {{&overlay.rect, "uRect"},
                    {&overlay.resolution, "uRes"},
                    {&overlay.alpha, "uAlpha"},
                    {&overlay.texture, "uTex"}});
}
