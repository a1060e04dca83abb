#version 330 core
// Texture x vertex colour x tint, lifted by brightness (0 leaves it as it is), with a
// little animated film grain on whatever is drawn.
in vec2 vTexCoord;
in vec4 vColour;

uniform sampler2D image;
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
    vec4 colour = texture(image, vTexCoord) * vColour * tint;
    colour.rgb *= 1.0 + brightness;
    if (grainFactor > 0.0)
    {
        float grain = Hash(gl_FragCoord.xy + vec2(fract(time * 7.0) * 311.0, fract(time * 3.0) * 173.0)) - 0.5;
        colour.rgb = max(colour.rgb + grain * grainFactor * colour.a, 0.0);
    }
    fragColour = colour;
}
