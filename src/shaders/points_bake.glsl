// Point-cloud bake: runs once per window with the rasteriser off. The model generators depend on
// nothing but the point's index, so their work is recorded here (transform feedback into the point
// buffer) and the points program reads it every frame instead of generating it again.

out vec4 bPosition; // xyz position, w intensity
out vec3 bNormal;   // unit normal, or zero for a point without one
out vec3 bColour;
out vec3 bScatter;  // the dissolve's direction, times this point's travel

void main() {
    int id = gl_VertexID;
    if (id < O1) toothPoint(id);
    else if (id < O2) mandiblePoint(id);
    else maxillaPoint(id);

    bPosition = vec4(gP, gI);
    bNormal = dot(gN, gN) < 0.01 ? vec3(0.0) : normalize(gN);
    bColour = gC;
    vec3 jitter = vec3(rnd(id, 81) - 0.5, rnd(id, 82) - 0.5, rnd(id, 83) - 0.5) * 2.0;
    bScatter = normalize(gP - vec3(0.0, -0.3, 0.0) + jitter) * (2.0 + 4.0 * rnd(id, 84));
}
