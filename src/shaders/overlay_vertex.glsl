#version 330 core
// One card rectangle as a four-vertex triangle strip, from gl_VertexID alone.
// uRect is (left, top, width, height) in window pixels with the origin at the
// top-left corner and y growing downwards. vUv is (0, 0) at the card's
// top-left corner with v growing downwards, so texture row 0 (the picture's
// top row) is shown at the top and nothing is flipped.

uniform vec4 uRect;
uniform vec2 uRes; // window client size in pixels

out vec2 vUv;

void main()
{
    int i = gl_VertexID;
    vec2 p = vec2(float(i & 1), float((i >> 1) & 1));
    vUv = p;
    vec2 px = uRect.xy + p * uRect.zw;
    vec2 ndc = vec2(px.x / uRes.x * 2.0 - 1.0, 1.0 - px.y / uRes.y * 2.0);
    gl_Position = vec4(ndc, 0.0, 1.0);
}
