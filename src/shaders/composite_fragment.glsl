#version 330 core
// Final image: the point cloud and its bloom, tone mapped over a procedural
// ink background with a warm glow, then vignette, fine grain and the fade-in
// from black. Steps run in exactly this order.

uniform sampler2D uScene; // texture unit 0: the point target
uniform sampler2D uBloom; // texture unit 1: the finished bloom
uniform vec2 uRes;        // window client size in pixels (aspect only)
uniform float uT;         // seconds since the saver started

in vec2 vUv;
out vec4 oCol;

const vec2 BG_CENTRE = vec2(0.5, 0.56);     // slightly above the middle (v up)
const vec3 BG_INNER = vec3(0.075, 0.090, 0.125);
const vec3 BG_OUTER = vec3(0.020, 0.025, 0.040);
const float BG_RADIUS = 1.1;
const vec3 GLOW_COLOUR = vec3(0.20, 0.15, 0.07);
const float GLOW_STRENGTH = 0.18;
const float GLOW_FALLOFF = 3.0;
const float BLOOM_GAIN = 0.9;
const float EXPOSURE = 1.15;
const float VIGNETTE_INNER = 0.35;          // full brightness within this
const float VIGNETTE_OUTER = 1.35;          // darkest from here outwards
const float VIGNETTE_FLOOR = 0.55;
const float GRAIN_SHIFT = 100.0;
const float GRAIN_AMPLITUDE = 1.5;          // in 1/255 steps, peak to peak
const float FADE_IN_SECONDS = 1.2;

// Pixel hash: a 2-vector to a value in [0, 1).
float hash12(vec2 p)
{
    vec3 p3 = fract(vec3(p.x, p.y, p.x) * 0.1031);
    p3 += dot(p3, p3.yzx + 33.33);
    return fract((p3.x + p3.y) * p3.z);
}

void main()
{
    vec2 uv = vUv;
    float aspect = uRes.x / uRes.y;

    vec2 r = (uv - BG_CENTRE) * vec2(aspect, 1.0);
    vec3 bg = mix(BG_INNER, BG_OUTER, smoothstep(0.0, BG_RADIUS, length(r)));
    bg += GLOW_COLOUR * GLOW_STRENGTH * exp(-dot(r, r) * GLOW_FALLOFF);

    vec3 scene = texture(uScene, uv).rgb;
    vec3 bloom = texture(uBloom, uv).rgb;
    vec3 x = scene + bloom * BLOOM_GAIN;
    vec3 mapped = 1.0 - exp(-x * EXPOSURE);
    vec3 col = bg * (1.0 - mapped) + mapped;

    // Falling smoothstep from 1.35 down to 0.35, written out because GLSL
    // leaves smoothstep undefined when its first edge is not below the second.
    float d = length((uv - 0.5) * vec2(aspect, 1.0));
    float k = clamp((d - VIGNETTE_OUTER) / (VIGNETTE_INNER - VIGNETTE_OUTER), 0.0, 1.0);
    float vig = k * k * (3.0 - 2.0 * k);
    col *= mix(VIGNETTE_FLOOR, 1.0, vig);

    // One scalar for all three channels; the pattern changes every frame.
    col += (hash12(gl_FragCoord.xy + fract(uT) * GRAIN_SHIFT) - 0.5) / 255.0 * GRAIN_AMPLITUDE;

    // Applied last, so the frame is pure black at uT = 0, grain included.
    float fade = smoothstep(0.0, FADE_IN_SECONDS, uT);
    oCol = vec4(col * fade, 1.0);
}
