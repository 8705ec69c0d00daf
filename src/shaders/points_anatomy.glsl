// Point-cloud bake: the dental model (teeth, lower jaw,
// upper jaw with palate). Every point here is a model point of size 1.0.

// Tooth tables in millimetres, k = 0 (central incisor) .. 6 (second molar):
// width along the arch, thickness across it, crown height, root length.
const float UW[7] = float[7](8.6, 6.6, 7.6, 7.0, 6.6, 10.2, 9.0);
const float UT[7] = float[7](7.0, 6.0, 8.0, 9.0, 9.0, 11.0, 11.0);
const float UC[7] = float[7](10.5, 9.0, 10.0, 8.5, 8.0, 7.5, 7.0);
const float UR[7] = float[7](13.0, 13.0, 17.0, 14.0, 14.0, 13.0, 13.0);
const float LW[7] = float[7](5.4, 5.9, 6.9, 7.0, 7.1, 11.0, 10.5);
const float LT[7] = float[7](6.0, 6.0, 7.5, 7.7, 8.0, 10.5, 10.0);
const float LC[7] = float[7](9.0, 9.5, 11.0, 8.5, 8.0, 7.5, 7.0);
const float LR[7] = float[7](12.5, 14.0, 16.0, 14.0, 14.5, 14.0, 13.0);

const vec3 COL_ENAMEL = vec3(1.0, 0.93, 0.80);
const vec3 COL_ROOT = vec3(0.86, 0.82, 0.76);
const vec3 COL_PULP = vec3(1.0, 0.70, 0.28);
const vec3 COL_BONE = vec3(0.45, 0.64, 0.98);

// Offset (xz, before splay) and half-widths (zw) of root rj of nRoots.
vec4 rootShape(int nRoots, int rj, float hw, float hd) {
    if (nRoots == 1) return vec4(0.0, 0.0, hw * 0.80, hd * 0.72);
    if (nRoots == 2) return vec4((rj == 0 ? -0.48 : 0.48) * hw, 0.0, hw * 0.40, hd * 0.62);
    if (rj == 0) return vec4(-0.45 * hw, 0.30 * hd, hw * 0.36, hd * 0.36);
    if (rj == 1) return vec4(0.45 * hw, 0.30 * hd, hw * 0.36, hd * 0.36);
    return vec4(0.0, -0.45 * hd, hw * 0.36, hd * 0.36);
}

void toothPoint(int id) {
    int t = id / PTS_TOOTH;
    bool upper = t < 14;
    int q = upper ? t : t - 14;
    float side = q < 7 ? 1.0 : -1.0;
    int k = q < 7 ? q : q - 7;
    vec3 arch = upper ? ARCH_U : ARCH_L;

    // Walk the width table up to this tooth for its slot on the arch.
    float cum = 0.0;
    float wmm = 0.0, tmm = 0.0, cmm = 0.0, rmm = 0.0;
    for (int i = 0; i < 7; ++i) {
        float w = upper ? UW[i] : LW[i];
        if (i < k) cum += w;
        if (i == k) {
            wmm = w;
            tmm = upper ? UT[i] : LT[i];
            cmm = upper ? UC[i] : LC[i];
            rmm = upper ? UR[i] : LR[i];
        }
    }
    float s = (cum + wmm * 0.5) * 0.1;
    float phi = side * phiForArc(s, arch);
    float hw = wmm * 0.047;  // 94 % of the slot, leaving a gap between teeth
    float hd = tmm * 0.05;
    float ch = cmm * 0.1;
    float rh = rmm * 0.1;

    bool posterior = k >= 3;
    bool molar = k >= 5;
    bool incisor = k <= 1;
    int nRoots = 1;
    if (molar) nRoots = upper ? 3 : 2;
    else if (upper && k == 3) nRoots = 2;

    float r0 = rnd(id, 1);
    float r1 = rnd(id, 2);
    float r2 = rnd(id, 3);
    float r3 = rnd(id, 4);

    vec3 lp;
    vec3 ln;
    vec3 col;
    float inten;
    if (r0 < 0.17) {
        // Biting surface: even spread over a disc, cusps on posterior teeth.
        float rr = sqrt(r1);
        float a = 2.0 * PI * r2;
        float x = cos(a) * rr;
        float z = sin(a) * rr;
        float bump = 0.0;
        if (posterior) {
            float m = molar ? 1.5 : 1.0;
            float cu = cos(x * PI * m) * cos(z * PI);
            bump = 0.10 * ch * (0.5 + 0.5 * cu);
        }
        float dd = incisor ? hd * 0.28 : hd * 0.92;
        lp = vec3(x * hw * 0.92, bump * 0.6, z * dd);
        ln = vec3(0.0, -1.0, 0.0);
        col = COL_ENAMEL;
        inten = 1.35;
    } else if (r0 < 0.60) {
        // Crown wall: bulges mid-crown, narrows at the neck.
        float yy = r1;
        float a = 2.0 * PI * r2;
        float bulge = 0.84 + 0.16 * sin(PI * clamp(yy * 1.25, 0.0, 1.0));
        float cerv = mix(1.0, 0.80, smoothstep(0.75, 1.0, yy));
        float f = bulge * cerv;
        float dd = incisor ? hd * mix(0.32, 1.0, smoothstep(0.0, 0.85, yy)) : hd;
        lp = vec3(cos(a) * hw * f, yy * ch, sin(a) * dd * f);
        ln = vec3(cos(a) / hw, 0.0, sin(a) / dd);
        col = COL_ENAMEL;
        inten = 1.35;
    } else if (r0 < 0.94) {
        int rj = int(floor(r3 * float(nRoots)));
        float yy = r1;
        float a = 2.0 * PI * r2;
        float taper = pow(1.0 - yy, 0.75) * 0.88 + 0.07;
        vec4 rs = rootShape(nRoots, rj, hw, hd);
        vec2 off = rs.xy * mix(0.35, 1.15, yy);  // converge at the neck, splay at the tip
        lp = vec3(off.x + cos(a) * rs.z * taper, ch + yy * rh, off.y + sin(a) * rs.w * taper);
        ln = vec3(cos(a), 0.0, sin(a));
        col = COL_ROOT;
        inten = 0.55;
    } else {
        // Pulp chamber (centred in the crown) running into thin root canals.
        int rj = int(floor(r3 * float(nRoots)));
        float yy = mix(0.25, 0.97, r1);
        float y = yy * (ch + rh);
        vec2 off = rootShape(nRoots, rj, hw, hd).xy;
        float yr = clamp((y - ch) / rh, 0.0, 1.0);
        off = y < ch ? off * 0.0 : off * mix(0.35, 1.15, yr);
        float a = 2.0 * PI * r2;
        float pr = y < ch ? 0.22 : 0.06;
        lp = vec3(off.x + cos(a) * hw * pr, y, off.y + sin(a) * hd * pr * 0.8);
        ln = vec3(0.0);
        col = COL_PULP;
        inten = 1.5;
    }

    // Front teeth lean forward; the long axis tilts inwards towards the root.
    float tilt = (upper ? 0.30 : 0.18) * (1.0 - float(k) / 6.0);
    float ys = upper ? 1.0 : -1.0;
    vec3 T = archTan(phi, arch);
    vec3 N = archOut(phi, arch);
    vec3 Y = vec3(0.0, ys, 0.0);
    vec3 Yt = normalize(Y * cos(tilt) - N * sin(tilt));
    vec3 Nt = normalize(cross(T, Yt));
    if (dot(Nt, N) < 0.0) Nt = -Nt;
    vec3 base = archAt(phi, arch) + vec3(0.0, ys * 0.03, 0.0);
    vec3 p = base + T * lp.x + Yt * lp.y + Nt * lp.z;
    vec3 n = T * ln.x + Yt * ln.y + Nt * ln.z;
    emit(p, n, col, inten, 1.0);
}

void mandiblePoint(int id) {
    float r0 = rnd(id, 11);
    float r1 = rnd(id, 12);
    float r2 = rnd(id, 13);
    float r3 = rnd(id, 14);
    const float phiEnd = 1.62;

    if (r0 < 0.72) {
        // Body: elliptical tube along the lower arch, around the lower roots.
        float phi = mix(-phiEnd, phiEnd, r1);
        float front = 1.0 - abs(phi) / phiEnd;
        float hh = 1.32 + 0.08 * front;
        float tt = 0.58 + 0.06 * front;
        float yc = -2.28 - 0.06 * front;
        float th = 2.0 * PI * r2;
        bool inside = r3 < 0.18;
        float sc = inside ? sqrt(rnd(id, 15)) * 0.92 : 1.0;
        vec3 c = archAt(phi, ARCH_L);
        vec3 N = archOut(phi, ARCH_L);
        vec3 p = c + N * (cos(th) * tt * sc) + vec3(0.0, yc + sin(th) * hh * sc, 0.0);
        vec3 n = inside ? vec3(0.0) : N * cos(th) / tt + vec3(0.0, sin(th) / hh, 0.0);
        // Chin bulge at the midline, full below -3.5 and gone above -2.4
        // (written as a rising step so the edges stay in increasing order).
        p += N * 0.18 * exp(-phi * phi * 8.0) * (1.0 - smoothstep(-3.5, -2.4, p.y));
        emit(p, n, COL_BONE, inside ? 0.30 : 1.0, 1.0);
    } else {
        // Ramus: a slanted plate rising from each end of the body.
        float sd = r1 < 0.5 ? -1.0 : 1.0;
        float phi = sd * phiEnd;
        vec3 c = archAt(phi, ARCH_L) + vec3(0.0, -2.4, 0.0);
        vec3 N = archOut(phi, ARCH_L);
        vec3 back = normalize(vec3(0.0, 0.0, -1.0) + sd * vec3(0.18, 0.0, 0.0));
        float b = mix(-1.0, 1.0, r2);
        float notch = 1.0 - 0.20 * exp(-(b - 0.05) * (b - 0.05) / 0.05);
        float topH = 4.15 + 0.35 * smoothstep(0.4, 1.0, b);
        float a = rnd(id, 16) * notch;
        float y = a * topH;
        const float width = 0.75;
        vec3 along = back * (b * width + 0.35 + y * 0.30);
        bool face = r3 < 0.8;
        float thick = 0.30 * (1.0 - 0.3 * a);
        float r6 = rnd(id, 17);
        float offset = face ? (r6 < 0.5 ? thick : -thick) : thick * (r6 * 2.0 - 1.0);
        vec3 p = c + along + vec3(0.0, y, 0.0) + N * offset;
        emit(p, face ? N : back, COL_BONE, 0.9, 1.0);
    }
}

void maxillaPoint(int id) {
    float r0 = rnd(id, 21);
    float r1 = rnd(id, 22);
    float r2 = rnd(id, 23);

    if (r0 < 0.66) {
        // Ridge: open tube along the upper arch; its inward-facing part is left out.
        float phi = mix(-1.60, 1.60, r1);
        float psi = mix(-0.65 * PI, 0.65 * PI, r2);
        const float hh = 0.95;
        const float tt = 0.62;
        vec3 c = archAt(phi, ARCH_U) + vec3(0.0, 2.0, 0.0);
        vec3 N = archOut(phi, ARCH_U);
        vec3 p = c + N * (cos(psi) * tt) + vec3(0.0, sin(psi) * hh, 0.0);
        vec3 n = N * cos(psi) / tt + vec3(0.0, sin(psi) / hh, 0.0);
        float fade = 1.0 - smoothstep(2.3, 3.0, p.y);
        emit(p, n, COL_BONE, 1.0 * fade, 1.0);
    } else {
        // Palate: a dome inside the upper arch, spread evenly over its area.
        float phi = mix(-1.45, 1.45, r1);
        float qq = sqrt(r2) * 0.86;
        vec3 c0 = vec3(0.0, 0.0, -ARCH_U.z);
        vec3 p = c0 + (archAt(phi, ARCH_U) - c0) * qq;
        p.y = 1.20 + 0.95 * (1.0 - qq * qq);
        emit(p, vec3(0.0, 1.0, 0.0), COL_BONE, 0.55, 1.0);
    }
}
