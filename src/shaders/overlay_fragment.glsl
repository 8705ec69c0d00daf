#version 330 core
// Card texel times the card opacity on all four channels: the texture is
// premultiplied, so this fades colour and coverage together and the result
// stays premultiplied for the (ONE, ONE_MINUS_SRC_ALPHA) blend.

uniform sampler2D uTex; // texture unit 0: the card picture
uniform float uAlpha;   // card opacity, 0 to 1

in vec2 vUv;
out vec4 oCol;

void main()
{
    oCol = texture(uTex, vUv) * uAlpha;
}
