#version 330 core
// World sprites in the dark: the sprite's colour times the light on its pixel, which the
// light map holds (ambient, lamps and flashlights, drawn once a frame for the whole
// screen), then film grain.
in vec2 vTexCoord;
in vec4 vColour;
in vec2 vScreen;

uniform sampler2D image;
uniform sampler2D lightMap;
uniform vec4 tint;
uniform float brightness;
uniform float time;
uniform float grainFactor;

out vec4 fragColour;

float Hash(vec2 p)
{
    return fract(sin(dot(p, vec2(12.9898, 78.233))) * 43758.5453);
}

void main()
{
    vec4 base = texture(image, vTexCoord) * vColour * tint;
    base.rgb *= 1.0 + brightness;
    // Clear pixels (a sprite's surround, a sheet's empty cell) need no light.
    if (base.a <= 0.0)
        discard;

    vec3 light = texture(lightMap, vScreen).rgb;
    vec3 colour = base.rgb * light;
    if (grainFactor > 0.0)
    {
        float grain = Hash(gl_FragCoord.xy + vec2(fract(time * 7.0) * 311.0, fract(time * 3.0) * 173.0)) - 0.5;
        colour = max(colour + grain * grainFactor * base.a, 0.0);
    }
    fragColour = vec4(colour, base.a);
}
