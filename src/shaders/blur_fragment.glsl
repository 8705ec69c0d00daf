#version 330 core
// Separable five-tap blur along uDir. Each side tap sits between two texel
// centres, so with linear filtering one fetch stands for two neighbouring
// texels: the near tap for steps 1 and 2, the far tap for steps 3 and 4.
// Alpha is always written as 1, whatever the source holds.

uniform sampler2D uTex; // texture unit 0: the point target or a bloom target
uniform vec2 uDir;      // texture-coordinate step of one tap offset unit

in vec2 vUv;
out vec4 oCol;

const float W0 = 0.2270270270;     // centre weight
const float W1 = 0.3162162162;     // near weight, each side
const float W2 = 0.0702702703;     // far weight, each side
const float NEAR_OFFSET = 1.3846153846;
const float FAR_OFFSET = 3.2307692308;

void main()
{
    vec3 centre = texture(uTex, vUv).rgb;
    vec3 near = texture(uTex, vUv + uDir * NEAR_OFFSET).rgb
              + texture(uTex, vUv - uDir * NEAR_OFFSET).rgb;
    vec3 far = texture(uTex, vUv + uDir * FAR_OFFSET).rgb
             + texture(uTex, vUv - uDir * FAR_OFFSET).rgb;
    vec3 sum = W0 * centre + W1 * near + W2 * far;
    oCol = vec4(sum, 1.0);
}
