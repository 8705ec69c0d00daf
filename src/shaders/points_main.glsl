// Point-cloud vertex stage, main part: dispatch by vertex index, the model
// effects, projection and depth of field. Model points (below O3) come from
// modelPoint (read from the point buffer, or generated); the others are
// generated here.

// Fills the emit record of one scanner, floor or dust vertex.
void generatePoint(int id) {
    if (id < O4) ringPoint(id);
    else if (id < O5) armPoint(id);
    else if (id < O6) sourcePoint(id);
    else if (id < O7) detectorPoint(id - O6);  // grids lay out by local index
    else if (id < O8) beamPoint(id);
    else if (id < O9) floorPoint(id - O8);
    else dustPoint(id);
}

void main() {
    setupCamera();
    int id = gl_VertexID;
    vec3 p;
    vec3 col;
    float I;
    float pointSize = 1.0;

    if (id < O3) {
        modelPoint(id);
        p = gP;
        col = gC;
        I = gI;
        float y = p.y;  // height before any dissolve displacement
        float h = scanH();
        // Revealed below the front, a faint ghost above it (a falling step,
        // written as 1 - rising step to keep the edges in increasing order).
        float revealed = 1.0 - smoothstep(h - 0.02, h + 0.02, y);
        float eh = (y - h) / 0.08;
        float edge = exp(-eh * eh) * scanning();
        I *= rimTerm(p, gN, 0.30);
        I *= mix(0.035, 1.0, revealed);
        col = mix(col, vec3(1.0, 0.86, 0.55), clamp(edge, 0.0, 1.0));
        I += edge * 3.2;

        float sd = (y - sliceY()) / 0.06;
        float sl = exp(-sd * sd) * sliceEnv();
        col = mix(col, vec3(1.0, 0.80, 0.42), clamp(sl, 0.0, 1.0));
        I += sl * 2.6;

        float d = disperse();
        if (d > 0.0) {
            p += gScatter * d + vec3(0.0, d * d * 1.5, 0.0);
            // Fused arithmetic may take smoothstep an ulp past 1: pow needs a base of at least 0.
            I *= pow(max(1.0 - d, 0.0), 1.4);
            col = mix(col, vec3(1.0, 0.82, 0.5), d);
        }
        I *= 0.46;
    } else {
        generatePoint(id);
        p = gP;
        col = gC;
        I = gI * 0.75;
        pointSize = gSize;
    }

    vec3 rel = p - gEye;
    float z = dot(rel, gF);
    if (z < 0.3) {
        // Too near or behind the eye: park it outside the clip volume.
        gl_Position = vec4(3.0, 3.0, 3.0, 1.0);
        vCol = vec3(0.0);
        gl_PointSize = 1.0;
        return;
    }
    float tanHalf = tan(radians(30.0) * 0.5);
    float aspect = uRes.x / uRes.y;
    float vx = dot(rel, gR);
    float vy = dot(rel, gU);
    // Lens shift (-0.07, +0.03) after the divide moves the model left and up,
    // clear of the help card.
    gl_Position = vec4(vx / (tanHalf * aspect) - 0.07 * z, vy / tanHalf + 0.03 * z, z * 0.5, z);

    // Depth of field: the disc grows by (1 + coc) and dims by its square, so
    // total light is kept until the size clamp.
    float coc = abs(z - FOCUS) / FOCUS * 6.0;
    float scale = uRes.y / 1080.0;
    float size = (1.7 * pointSize) * scale * (1.0 + coc);
    I /= (1.0 + coc) * (1.0 + coc);
    gl_PointSize = clamp(size, 1.0, 64.0);

    I *= uFadeIn;
    vCol = col * I;
}
