#version 330 core
// One triangle that covers the whole viewport, built from gl_VertexID alone
// (no vertex attributes). Vertices 0, 1, 2 land on clip-space (-1, -1),
// (3, -1), (-1, 3); vUv runs from (0, 0) at the bottom-left corner of the
// viewport to (1, 1) at its top-right corner and reaches 2 only off screen.
// Shared by the "blur" and "composite" programs.

out vec2 vUv;

void main()
{
    int i = gl_VertexID;
    vec2 p = vec2(float((i << 1) & 2), float(i & 2));
    vUv = p;
    gl_Position = vec4(p * 2.0 - 1.0, 0.0, 1.0);
}
