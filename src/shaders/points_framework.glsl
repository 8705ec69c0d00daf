#version 330 core
// Point-cloud vertex stages, shared part: constants, uniforms, hashing, arch
// geometry, camera, timeline and the emit record. The points program is built
// twice from the same parts: framework, buffer, scanner and main read the
// model from the point buffer; framework, anatomy, scanner and main generate
// it per vertex, for a window whose bake failed. The bake program is
// framework, anatomy and bake.
// Units: 1 world unit = 10 mm, y up, radians, seconds.

const float PI = 3.14159265;
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

uniform float uT;   // the program time: the saver clock, wrapped back after hours
uniform vec2 uRes;  // point target size in pixels

// What every point of a frame shares, worked out once per frame by the saver:
// the camera's place and basis, the cycle time and the timeline's values.
uniform vec3 uEye;
uniform vec3 uForward;
uniform vec3 uRight;
uniform vec3 uUp;
uniform float uCycle;         // seconds into the scan cycle
uniform float uScanHeight;    // the reveal front
uniform float uScanning;      // 1 while the scan runs
uniform float uGantryVisible;
uniform float uGantryLift;
uniform float uGantryAngle;
uniform float uDissolve;      // the model's dissolve, 0 to 1
uniform float uSliceHeight;
uniform float uSliceEnvelope;
uniform float uFadeIn;        // the one-time fade-in at start
uniform float uFloorSpin;     // the turntable's turn, from the unwrapped clock
uniform float uDustSway;      // the dust's common sideways sway, likewise
uniform vec3 uSource;         // X-ray source
uniform vec3 uDetector;       // detector panel centre
uniform vec3 uPanelAcross;    // horizontal along the panel

out vec3 vCol;      // final colour, intensity already applied

// Emit record: written once by the generator, read by main.
vec3 gP;
vec3 gN;
vec3 gC;
float gI;
float gSize;
vec3 gScatter;  // model points only: the dissolve's offset at full strength

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

// The camera and the timeline come worked out per frame (uEye .. uFadeIn).
void setupCamera() {
    gEye = uEye;
    gF = uForward;
    gR = uRight;
    gU = uUp;
}

float cyc() { return uCycle; }
float scanH() { return uScanHeight; }
float scanning() { return uScanning; }
float gantryVis() { return uGantryVisible; }
float gantryLift() { return uGantryLift; }
float gantryAng() { return uGantryAngle; }
float disperse() { return uDissolve; }
float sliceY() { return uSliceHeight; }
float sliceEnv() { return uSliceEnvelope; }

void emit(vec3 p, vec3 n, vec3 col, float inten, float size) {
    gP = p;
    gN = n;
    gC = col;
    gI = inten;
    gSize = size;
}

// Face-on surfaces dim to lo, edge-on ones keep full light; normal sign is
// irrelevant, and points without a normal (n zero, else of unit length) are
// left alone.
float rimTerm(vec3 p, vec3 n, float lo) {
    if (dot(n, n) < 0.01) return 1.0;
    vec3 v = normalize(gEye - p);
    float r = max(0.0, 1.0 - abs(dot(n, v)));
    return lo + (1.0 - lo) * pow(r, 1.6);
}
