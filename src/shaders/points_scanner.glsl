// Point-cloud vertex stage: the CBCT gantry (ring, arms, source,
// detector, beam), the turntable floor and the dust. None of these are model
// points; the normals they pass are never read.

const float GR = 4.3;                     // ring radius
const float GY = 3.2;                     // ring height before the lift
const vec3 GC = vec3(0.0, 0.0, -0.25);    // the gantry turns about the vertical through GC

const vec3 COL_GANTRY = vec3(0.95, 0.78, 0.45);

// Source S and detector centre D face each other across the axis, with the
// model between them; tdir runs horizontally along the detector panel.
void gantryFrame(out vec3 S, out vec3 D, out vec3 tdir) {
    S = uSource;
    D = uDetector;
    tdir = uPanelAcross;
}

void ringPoint(int id) {
    float a = 2.0 * PI * rnd(id, 31);
    float th = 2.0 * PI * rnd(id, 32);
    float lift = gantryLift() * 2.6;
    vec3 dir = vec3(cos(a), 0.0, sin(a));
    vec3 p = GC + dir * (GR + cos(th) * 0.07) + vec3(0.0, GY + sin(th) * 0.07 + lift, 0.0);
    // Brighter where the two arms meet the ring.
    float ga = gantryAng();
    float near = max(pow(max(cos(a - ga), 0.0), 60.0), pow(max(cos(a - ga - PI), 0.0), 60.0));
    emit(p, vec3(0.0), COL_GANTRY, (0.85 + 1.6 * near) * gantryVis(), 1.2);
}

void armPoint(int id) {
    vec3 S, D, tdir;
    gantryFrame(S, D, tdir);
    vec3 base = rnd(id, 41) < 0.5 ? S : D;
    float u = rnd(id, 42);
    float lift = gantryLift() * 2.6;
    // The ring point above the arm's end, at the same angle about the axis.
    vec3 topP = GC + normalize(vec3(base.x - GC.x, 0.0, base.z - GC.z)) * GR + vec3(0.0, GY + lift, 0.0);
    vec3 jitter = (vec3(rnd(id, 43), rnd(id, 44), rnd(id, 45)) - 0.5) * 0.08;
    vec3 p = mix(base, topP, u) + jitter;
    emit(p, vec3(0.0), COL_GANTRY, 0.55 * gantryVis(), 1.1);
}

void sourcePoint(int id) {
    vec3 S, D, tdir;
    gantryFrame(S, D, tdir);
    vec3 j = vec3(rnd(id, 51), rnd(id, 52), rnd(id, 53)) - 0.5;
    vec3 p = S + j * 0.32;
    // Whiter and four times as bright while scanning.
    float hot = scanning();
    vec3 col = mix(vec3(0.95, 0.80, 0.50), vec3(1.0, 0.97, 0.90), hot);
    emit(p, vec3(0.0), col, (0.8 + 2.4 * hot) * gantryVis(), 1.3);
}

// id is the local cell index 0..2599: 52 columns by 50 rows, row 0 at the bottom.
void detectorPoint(int id) {
    vec3 S, D, tdir;
    gantryFrame(S, D, tdir);
    int gx = id % 52;
    int gy = id / 52;
    float u = float(gx) / 51.0 * 2.0 - 1.0;
    float v = float(gy) / 49.0 * 2.0 - 1.0;
    vec3 p = D + tdir * u * 1.75 + vec3(0.0, v * 1.95, 0.0);
    bool frame = gx == 0 || gx == 51 || gy == 0 || gy == 49;
    // Bands that travel up the rows while the scan runs.
    float shimmer = 0.55 + 0.45 * sin(float(gy) * 0.9 - cyc() * 14.0);
    float I = frame ? 1.8 : 0.40 + 0.80 * scanning() * shimmer;
    emit(p, vec3(0.0), vec3(0.92, 0.80, 0.55), I * gantryVis(), 1.0);
}

void beamPoint(int id) {
    vec3 S, D, tdir;
    gantryFrame(S, D, tdir);
    float u = fract(rnd(id, 61) + cyc() * 0.85);  // place along the ray, restarting at the source
    float pa = rnd(id, 62) * 2.0 - 1.0;
    float pb = rnd(id, 63) * 2.0 - 1.0;
    vec3 target = D + tdir * pa * 1.75 + vec3(0.0, pb * 1.95, 0.0);
    vec3 p = mix(S, target, u);
    float I = 0.42 * (1.0 - 0.35 * u) * smoothstep(0.0, 0.08, u);
    emit(p, vec3(0.0), vec3(1.0, 0.82, 0.48), I * scanning() * gantryVis(), 0.9);
}

// id is the local dot index 0..8099: 27 rings of 300 dots.
void floorPoint(int id) {
    int ring = id / 300;
    int k = id % 300;
    float r = 0.55 + float(ring) * 0.22;
    // Odd rings sit half a dot out of step and turn the other way.
    float sgn = ring % 2 == 0 ? 1.0 : -1.0;
    float a = 2.0 * PI * (float(k) + 0.5 * float(ring % 2)) / 300.0 + uFloorSpin * sgn;
    vec3 p = vec3(cos(a) * r, -4.3, sin(a) * r - 0.25);
    float I = 0.75 * exp(-r * r / 14.0) * (ring % 5 == 0 ? 1.8 : 1.0);
    emit(p, vec3(0.0), vec3(0.85, 0.72, 0.50), I, 0.9);
}

void dustPoint(int id) {
    vec3 r = vec3(rnd(id, 71), rnd(id, 72), rnd(id, 73));
    vec3 p = (r - 0.5) * vec3(30.0, 14.0, 30.0);
    // Each mote rises and twinkles at its own speed, on the program time: no
    // one angle serves them all, so they reshuffle once when that time wraps.
    p.y = mod(p.y + 7.0 + uT * (0.08 + 0.12 * rnd(id, 74)), 14.0) - 7.0;
    p.x += sin(uDustSway + r.z * 20.0) * 0.4;
    float tw = 0.6 + 0.4 * sin(uT * (0.8 + r.x * 2.0) + r.y * 40.0);
    emit(p, vec3(0.0), vec3(0.95, 0.80, 0.55), 0.55 * tw, 1.4);
}
