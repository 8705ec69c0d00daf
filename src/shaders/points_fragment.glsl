#version 330 core
// Point sprite: a soft disc whose colour is added to the target.

in vec3 vCol;
out vec4 oCol;

void main() {
    vec2 q = gl_PointCoord * 2.0 - 1.0;
    float d2 = dot(q, q);
    if (d2 > 1.0) discard;
    // Full at the centre, exactly zero at the rim.
    float f = exp(-d2 * 3.0) * (1.0 - d2);
    oCol = vec4(vCol * f, 1.0);
}
