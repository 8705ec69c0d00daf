// Point-cloud vertex stage: the model's points as the bake recorded them in
// the point buffer. The build without a point buffer has points_anatomy.glsl
// in this file's place, whose modelPoint generates them instead.

layout(location = 0) in vec4 aPosition; // position, intensity
layout(location = 1) in vec3 aNormal;   // unit normal, or zero
layout(location = 2) in vec3 aColour;
layout(location = 3) in vec3 aScatter;  // dissolve direction times travel

void modelPoint(int id) {
    gP = aPosition.xyz;
    gI = aPosition.w;
    gN = aNormal;
    gC = aColour;
    gScatter = aScatter;
}
