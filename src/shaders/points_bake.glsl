// Point-cloud bake: runs once per window with the rasteriser off. The model generators depend on
// nothing but the point's index, so their work is recorded here (transform feedback into the point
// buffer) and the points program reads it every frame instead of generating it again.

out vec4 bPosition; // xyz position, w intensity
out vec3 bNormal;   // unit normal, or zero for a point without one
out vec3 bColour;
out vec3 bScatter;  // the dissolve's direction, times this point's travel

void main() {
    modelPoint(gl_VertexID);
    bPosition = vec4(gP, gI);
    bNormal = gN;
    bColour = gC;
    bScatter = gScatter;
}
