#pragma once

// The OpenGL declarations the saver needs beyond the system's OpenGL 1.1 header. Written out here
// so that the build does not depend on which glext.h a toolchain happens to ship.

#include <windows.h>

#include <GL/gl.h>

#include <cstddef>

using GLchar = char;

#ifndef GL_FRAGMENT_SHADER
#define GL_FRAGMENT_SHADER 0x8B30
#endif
#ifndef GL_VERTEX_SHADER
#define GL_VERTEX_SHADER 0x8B31
#endif
#ifndef GL_COMPILE_STATUS
#define GL_COMPILE_STATUS 0x8B81
#endif
#ifndef GL_LINK_STATUS
#define GL_LINK_STATUS 0x8B82
#endif
#ifndef GL_TEXTURE0
#define GL_TEXTURE0 0x84C0
#endif
#ifndef GL_TEXTURE1
#define GL_TEXTURE1 0x84C1
#endif
#ifndef GL_CLAMP_TO_EDGE
#define GL_CLAMP_TO_EDGE 0x812F
#endif
#ifndef GL_BGRA
#define GL_BGRA 0x80E1
#endif
#ifndef GL_RGBA8
#define GL_RGBA8 0x8058
#endif
#ifndef GL_RGBA16F
#define GL_RGBA16F 0x881A
#endif
#ifndef GL_HALF_FLOAT
#define GL_HALF_FLOAT 0x140B
#endif
#ifndef GL_PROGRAM_POINT_SIZE
#define GL_PROGRAM_POINT_SIZE 0x8642
#endif
#ifndef GL_FRAMEBUFFER
#define GL_FRAMEBUFFER 0x8D40
#endif
#ifndef GL_READ_FRAMEBUFFER
#define GL_READ_FRAMEBUFFER 0x8CA8
#endif
#ifndef GL_DRAW_FRAMEBUFFER
#define GL_DRAW_FRAMEBUFFER 0x8CA9
#endif
#ifndef GL_COLOR_ATTACHMENT0
#define GL_COLOR_ATTACHMENT0 0x8CE0
#endif
#ifndef GL_FRAMEBUFFER_COMPLETE
#define GL_FRAMEBUFFER_COMPLETE 0x8CD5
#endif

#ifndef GL_ARRAY_BUFFER
#define GL_ARRAY_BUFFER 0x8892
#endif
#ifndef GL_STATIC_DRAW
#define GL_STATIC_DRAW 0x88E4
#endif
#ifndef GL_TRANSFORM_FEEDBACK_BUFFER
#define GL_TRANSFORM_FEEDBACK_BUFFER 0x8C8E
#endif
#ifndef GL_INTERLEAVED_ATTRIBS
#define GL_INTERLEAVED_ATTRIBS 0x8C8C
#endif
#ifndef GL_RASTERIZER_DISCARD
#define GL_RASTERIZER_DISCARD 0x8C89
#endif
#ifndef GL_TRANSFORM_FEEDBACK_PRIMITIVES_WRITTEN
#define GL_TRANSFORM_FEEDBACK_PRIMITIVES_WRITTEN 0x8C88
#endif
#ifndef GL_QUERY_RESULT
#define GL_QUERY_RESULT 0x8866
#endif

#ifndef WGL_CONTEXT_MAJOR_VERSION_ARB
#define WGL_CONTEXT_MAJOR_VERSION_ARB 0x2091
#endif
#ifndef WGL_CONTEXT_MINOR_VERSION_ARB
#define WGL_CONTEXT_MINOR_VERSION_ARB 0x2092
#endif
#ifndef WGL_CONTEXT_PROFILE_MASK_ARB
#define WGL_CONTEXT_PROFILE_MASK_ARB 0x9126
#endif
#ifndef WGL_CONTEXT_CORE_PROFILE_BIT_ARB
#define WGL_CONTEXT_CORE_PROFILE_BIT_ARB 0x0001
#endif

using PfnGlCreateShader = GLuint(WINAPI*)(GLenum type);
using PfnGlShaderSource = void(WINAPI*)(GLuint shader, GLsizei count, const GLchar* const* strings,
                                        const GLint* lengths);
using PfnGlCompileShader = void(WINAPI*)(GLuint shader);
using PfnGlGetShaderiv = void(WINAPI*)(GLuint shader, GLenum name, GLint* value);
using PfnGlGetShaderInfoLog = void(WINAPI*)(GLuint shader, GLsizei capacity, GLsizei* length, GLchar* log);
using PfnGlCreateProgram = GLuint(WINAPI*)();
using PfnGlAttachShader = void(WINAPI*)(GLuint program, GLuint shader);
using PfnGlLinkProgram = void(WINAPI*)(GLuint program);
using PfnGlGetProgramiv = void(WINAPI*)(GLuint program, GLenum name, GLint* value);
using PfnGlGetProgramInfoLog = void(WINAPI*)(GLuint program, GLsizei capacity, GLsizei* length, GLchar* log);
using PfnGlUseProgram = void(WINAPI*)(GLuint program);
using PfnGlGetUniformLocation = GLint(WINAPI*)(GLuint program, const GLchar* name);
using PfnGlUniform1f = void(WINAPI*)(GLint location, GLfloat x);
using PfnGlUniform2f = void(WINAPI*)(GLint location, GLfloat x, GLfloat y);
using PfnGlUniform3f = void(WINAPI*)(GLint location, GLfloat x, GLfloat y, GLfloat z);
using PfnGlUniform4f = void(WINAPI*)(GLint location, GLfloat x, GLfloat y, GLfloat z, GLfloat w);
using PfnGlUniform1i = void(WINAPI*)(GLint location, GLint x);
using PfnGlGenVertexArrays = void(WINAPI*)(GLsizei count, GLuint* arrays);
using PfnGlBindVertexArray = void(WINAPI*)(GLuint array);
using PfnGlGenFramebuffers = void(WINAPI*)(GLsizei count, GLuint* framebuffers);
using PfnGlBindFramebuffer = void(WINAPI*)(GLenum target, GLuint framebuffer);
using PfnGlFramebufferTexture2D = void(WINAPI*)(GLenum target, GLenum attachment, GLenum textureTarget,
                                                GLuint texture, GLint level);
using PfnGlCheckFramebufferStatus = GLenum(WINAPI*)(GLenum target);
using PfnGlActiveTexture = void(WINAPI*)(GLenum unit);
using GLsizeiptr = std::ptrdiff_t;
using PfnGlGenBuffers = void(WINAPI*)(GLsizei count, GLuint* buffers);
using PfnGlBindBuffer = void(WINAPI*)(GLenum target, GLuint buffer);
using PfnGlBindBufferBase = void(WINAPI*)(GLenum target, GLuint index, GLuint buffer);
using PfnGlBufferData = void(WINAPI*)(GLenum target, GLsizeiptr size, const void* data, GLenum usage);
using PfnGlVertexAttribPointer = void(WINAPI*)(GLuint index, GLint size, GLenum type, GLboolean normalized,
                                               GLsizei stride, const void* offset);
using PfnGlEnableVertexAttribArray = void(WINAPI*)(GLuint index);
using PfnGlTransformFeedbackVaryings = void(WINAPI*)(GLuint program, GLsizei count,
                                                     const GLchar* const* names, GLenum mode);
using PfnGlBeginTransformFeedback = void(WINAPI*)(GLenum primitive);
using PfnGlEndTransformFeedback = void(WINAPI*)();
using PfnGlGenQueries = void(WINAPI*)(GLsizei count, GLuint* queries);
using PfnGlBeginQuery = void(WINAPI*)(GLenum target, GLuint query);
using PfnGlEndQuery = void(WINAPI*)(GLenum target);
using PfnGlGetQueryObjectuiv = void(WINAPI*)(GLuint query, GLenum name, GLuint* value);
using PfnWglSwapIntervalExt = BOOL(WINAPI*)(int interval);
using PfnWglCreateContextAttribsArb = HGLRC(WINAPI*)(HDC dc, HGLRC share, const int* attributes);

// Entry points arrive as the generic PROC; going through void(*)() keeps the cast well defined
// for every compiler and warning level.
template <typename Function> Function procAs(PROC address) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address));
}
