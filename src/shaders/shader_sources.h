#pragma once

// The GLSL sources, embedded at build time as NUL-terminated strings.
extern const char pointsVertexSource[];
extern const char pointsGeneratedVertexSource[]; // the model generated per vertex, without a point buffer
extern const char pointsBakeVertexSource[];
extern const char pointsFragmentSource[];
extern const char fullscreenVertexSource[];
extern const char blurFragmentSource[];
extern const char compositeFragmentSource[];
extern const char overlayVertexSource[];
extern const char overlayFragmentSource[];
