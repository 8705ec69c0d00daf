#version 330 core
// Point-cloud vertex stage, file 1 of 4: constants, uniforms, hashing, arch
// geometry, camera, timeline and the emit record. The anatomy, scanner and
// main files follow this one in the same assembled vertex source.
// Units: 1 world unit = 10 mm, y up, radians, seconds.

const float PI = 3.14159265;
const float CYCLE = 22.0;                      // one scan cycle in seconds
const vec3 TARGET = vec3(0.0, -0.25, 0.0);     // where the camera looks
const float FOCUS = 21.0;                      // orbit radius = focus distance
const vec3 ARCH_U = vec3(3.05, 4.30, 2.30);    // upper arch (A, B, Z0)
const vec3 ARCH_L = vec3(2.85, 4.05, 2.20);    // lower arch (A, B, Z0)

// Point budget; O1..O9 are the running range bounds used by the dispatcher.
const int PTS_TOOTH = 3600;
const int N_TEETH = 28;
const int N_TEETHP = PTS_TOOTH * N_TEETH;
const int N_MAND = 42000;
const int N_MAXI = 30000;
const int N_RING = 5200;
const int N_ARMS = 1400;
const int N_SRC = 400;
const int N_DET = 2600;
const int N_BEAM = 22000;
const int N_FLOOR = 8100;
const int N_DUST = 5000;
const int O1 = N_TEETHP;
const int O2 = O1 + N_MAND;
const int O3 = O2 + N_MAXI;
const int O4 = O3 + N_RING;
const int O5 = O4 + N_ARMS;
const int O6 = O5 + N_SRC;
const int O7 = O6 + N_DET;
const int O8 = O7 + N_BEAM;
const int O9 = O8 + N_FLOOR;

uniform float uT;   // saver clock, seconds
uniform vec2 uRes;  // point target size in pixels

out vec3 vCol;      // final colour, intensity already applied

// Emit record: written once by the generator, read by main.
vec3 gP;
vec3 gN;
vec3 gC;
float gI;
bool gModel;
float gSize;

// Camera basis, set by setupCamera before the generator runs.
vec3 gEye;
vec3 gF;
vec3 gR;
vec3 gU;

uint hsh(uint x) {
    x ^= x >> 16u;
    x *= 0x7feb352du;
    x ^= x >> 15u;
    x *= 0x846ca68bu;
    x ^= x >> 16u;
    return x;
}

// Fixed per (point, key): shapes stay put from frame to frame.
float rnd(int id, int k) {
    uint a = uint(id) * 0x9E3779B9u;
    uint b = hsh(uint(k) + 0x632BE5ABu);
    uint h = hsh(a ^ b);
    return float(h & 0x00FFFFFFu) / 16777216.0;
}

vec3 archAt(float phi, vec3 a) {
    return vec3(a.x * sin(phi), 0.0, a.y * cos(phi) - a.z);
}

vec3 archTan(float phi, vec3 a) {
    return normalize(vec3(a.x * cos(phi), 0.0, -a.y * sin(phi)));
}

vec3 archOut(float phi, vec3 a) {
    return normalize(vec3(sin(phi) / a.x, 0.0, cos(phi) / a.y));
}

// Ellipse angle at arc length s from the midline; fixed 60-step walk so the
// loop bound is static, interpolating linearly inside the final step.
float phiForArc(float s, vec3 a) {
    const float dp = 0.04;
    float phi = 0.0;
    float len = 0.0;
    for (int i = 0; i < 60; ++i) {
        float sp = length(vec2(a.x * cos(phi), a.y * sin(phi))) * dp;
        if (len + sp >= s) return phi + dp * (s - len) / sp;
        len += sp;
        phi += dp;
    }
    return phi;
}

// Orbit on absolute time so the camera never jumps at a cycle wrap.
void setupCamera() {
    float yaw = 0.55 + uT * 0.085;
    float pitch = 0.30 + 0.08 * sin(uT * 0.11);
    gEye = TARGET + FOCUS * vec3(sin(yaw) * cos(pitch), sin(pitch), cos(yaw) * cos(pitch));
    gF = normalize(TARGET - gEye);
    gR = normalize(cross(gF, vec3(0.0, 1.0, 0.0)));
    gU = cross(gR, gF);
}

float cyc() { return mod(uT, CYCLE); }
float scanH() { return mix(-3.9, 3.3, clamp((cyc() - 1.2) / 7.0, 0.0, 1.0)); }
float scanning() { return smoothstep(1.0, 1.6, cyc()) * (1.0 - smoothstep(8.0, 8.6, cyc())); }
float gantryVis() { return smoothstep(0.0, 1.0, cyc()) * (1.0 - smoothstep(8.6, 10.2, cyc())); }
float gantryLift() { return smoothstep(8.6, 10.2, cyc()); }
// The full turn plus the drift wraps by exactly 2*PI, so the gantry never jumps.
float gantryAng() { return 0.35 * PI + 2.0 * PI * smoothstep(1.2, 8.2, cyc()) + uT * 0.05; }
float disperse() { return smoothstep(18.6, 21.8, cyc()); }
float sliceY() { return mix(3.0, -3.7, smoothstep(10.2, 17.6, cyc())); }
float sliceEnv() { return smoothstep(10.0, 10.8, cyc()) * (1.0 - smoothstep(17.0, 17.8, cyc())); }

void emit(vec3 p, vec3 n, vec3 col, float inten, bool model, float size) {
    gP = p;
    gN = n;
    gC = col;
    gI = inten;
    gModel = model;
    gSize = size;
}

// Face-on surfaces dim to lo, edge-on ones keep full light; normal sign is
// irrelevant, and points without a normal are left alone.
float rimTerm(vec3 p, vec3 n, float lo) {
    if (dot(n, n) < 0.01) return 1.0;
    vec3 v = normalize(gEye - p);
    float r = max(0.0, 1.0 - abs(dot(normalize(n), v)));
    return lo + (1.0 - lo) * pow(r, 1.6);
}
