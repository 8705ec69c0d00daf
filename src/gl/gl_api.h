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
#ifndef WGL_CONTEXT_RESET_NOTIFICATION_STRATEGY_ARB
#define WGL_CONTEXT_RESET_NOTIFICATION_STRATEGY_ARB 0x8256
#endif
#ifndef WGL_LOSE_CONTEXT_ON_RESET_ARB
#define WGL_LOSE_CONTEXT_ON_RESET_ARB 0x8252
#endif

#ifndef GL_TIME_ELAPSED
#define GL_TIME_ELAPSED 0x88BF
#endif
#ifndef GL_QUERY_COUNTER_BITS
#define GL_QUERY_COUNTER_BITS 0x8864
#endif

using GLsizeiptr = std::ptrdiff_t;
using GLintptr = std::ptrdiff_t;
using GLuint64 = unsigned long long;

// Every entry point beyond OpenGL 1.1 that the saver needs, in lookup order:
// X(result, name, parameters). This one list makes the table's fields and their lookups.
#define ORVANE_GL_ENTRY_POINTS(X)                                                                            \
    X(GLuint, glCreateShader, (GLenum type))                                                                 \
    X(void, glShaderSource,                                                                                  \
      (GLuint shader, GLsizei count, const GLchar* const* strings, const GLint* lengths))                    \
    X(void, glCompileShader, (GLuint shader))                                                                \
    X(void, glGetShaderiv, (GLuint shader, GLenum name, GLint * value))                                      \
    X(void, glGetShaderInfoLog, (GLuint shader, GLsizei capacity, GLsizei * length, GLchar * log))           \
    X(GLuint, glCreateProgram, ())                                                                           \
    X(void, glAttachShader, (GLuint program, GLuint shader))                                                 \
    X(void, glLinkProgram, (GLuint program))                                                                 \
    X(void, glGetProgramiv, (GLuint program, GLenum name, GLint * value))                                    \
    X(void, glGetProgramInfoLog, (GLuint program, GLsizei capacity, GLsizei * length, GLchar * log))         \
    X(void, glUseProgram, (GLuint program))                                                                  \
    X(GLint, glGetUniformLocation, (GLuint program, const GLchar* name))                                     \
    X(void, glUniform1f, (GLint location, GLfloat x))                                                        \
    X(void, glUniform2f, (GLint location, GLfloat x, GLfloat y))                                             \
    X(void, glUniform3f, (GLint location, GLfloat x, GLfloat y, GLfloat z))                                  \
    X(void, glUniform4f, (GLint location, GLfloat x, GLfloat y, GLfloat z, GLfloat w))                       \
    X(void, glUniform1i, (GLint location, GLint x))                                                          \
    X(void, glGenVertexArrays, (GLsizei count, GLuint * arrays))                                             \
    X(void, glBindVertexArray, (GLuint array))                                                               \
    X(void, glGenFramebuffers, (GLsizei count, GLuint * framebuffers))                                       \
    X(void, glBindFramebuffer, (GLenum target, GLuint framebuffer))                                          \
    X(void, glFramebufferTexture2D,                                                                          \
      (GLenum target, GLenum attachment, GLenum textureTarget, GLuint texture, GLint level))                 \
    X(GLenum, glCheckFramebufferStatus, (GLenum target))                                                     \
    X(void, glActiveTexture, (GLenum unit))                                                                  \
    X(void, glGenBuffers, (GLsizei count, GLuint * buffers))                                                 \
    X(void, glBindBuffer, (GLenum target, GLuint buffer))                                                    \
    X(void, glBindBufferBase, (GLenum target, GLuint index, GLuint buffer))                                  \
    X(void, glBufferData, (GLenum target, GLsizeiptr size, const void* data, GLenum usage))                  \
    X(void, glGetBufferSubData, (GLenum target, GLintptr offset, GLsizeiptr size, void* data))               \
    X(void, glDeleteBuffers, (GLsizei count, const GLuint* buffers))                                         \
    X(void, glVertexAttribPointer,                                                                           \
      (GLuint index, GLint size, GLenum type, GLboolean normalized, GLsizei stride, const void* offset))     \
    X(void, glEnableVertexAttribArray, (GLuint index))                                                       \
    X(void, glTransformFeedbackVaryings,                                                                     \
      (GLuint program, GLsizei count, const GLchar* const* names, GLenum mode))                              \
    X(void, glBeginTransformFeedback, (GLenum primitive))                                                    \
    X(void, glEndTransformFeedback, ())                                                                      \
    X(void, glGenQueries, (GLsizei count, GLuint * queries))                                                 \
    X(void, glDeleteQueries, (GLsizei count, const GLuint* queries))                                         \
    X(void, glBeginQuery, (GLenum target, GLuint query))                                                     \
    X(void, glEndQuery, (GLenum target))                                                                     \
    X(void, glGetQueryObjectuiv, (GLuint query, GLenum name, GLuint * value))                                \
    X(void, glDeleteFramebuffers, (GLsizei count, const GLuint* framebuffers))

// Entry points the saver does without: vertical-blank sync, and the timer queries only the
// benchmark reads. A missing one is never logged.
#define ORVANE_GL_OPTIONAL_ENTRY_POINTS(X)                                                                   \
    X(BOOL, wglSwapIntervalEXT, (int interval))                                                              \
    X(void, glGetQueryiv, (GLenum target, GLenum name, GLint * value))                                       \
    X(void, glGetQueryObjectui64v, (GLuint query, GLenum name, GLuint64 * value))                            \
    X(GLenum, glGetGraphicsResetStatusARB, (void))

using PfnWglCreateContextAttribsArb = HGLRC(WINAPI*)(HDC dc, HGLRC share, const int* attributes);

// Entry points arrive as the generic PROC; going through void(*)() keeps the cast well defined
// for every compiler and warning level.
template <typename Function> Function procAs(PROC address) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address));
}
