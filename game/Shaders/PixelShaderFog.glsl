#version 330 core
// Slow drifting fog and a dark vignette for full-screen panels. The texture is the
// mask; tint sets the fog colour and strength.
in vec2 vTexCoord;
in vec4 vColour;

uniform sampler2D image;
uniform vec4 tint;
uniform float time;
uniform float grainFactor;

out vec4 fragColour;

float Hash(vec2 p)
{
    return fract(sin(dot(p, vec2(127.1, 311.7))) * 43758.5453);
}

float Noise(vec2 p)
{
    vec2 i = floor(p);
    vec2 f = fract(p);
    vec2 u = f * f * (3.0 - 2.0 * f);
    return mix(mix(Hash(i), Hash(i + vec2(1.0, 0.0)), u.x), mix(Hash(i + vec2(0.0, 1.0)), Hash(i + vec2(1.0, 1.0)), u.x),
               u.y);
}

float Fog(vec2 p)
{
    float sum = 0.0;
    float amplitude = 0.5;
    for (int octave = 0; octave < 4; ++octave)
    {
        sum += amplitude * Noise(p);
        p = p * 2.03 + vec2(17.0, 9.0);
        amplitude *= 0.5;
    }
    return sum;
}

void main()
{
    vec2 p = vTexCoord * vec2(6.0, 3.5);
    float fog = Fog(p + vec2(time * 0.05, time * 0.02)) * 0.6 + Fog(p * 0.7 - vec2(time * 0.03, 0.0)) * 0.4;
    fog = smoothstep(0.3, 0.8, fog);
    vec2 centred = vTexCoord - 0.5;
    float vignette = smoothstep(0.25, 0.75, length(centred * vec2(1.2, 1.6)));
    float grain = (Hash(gl_FragCoord.xy + fract(time) * 97.0) - 0.5) * grainFactor;
    // Drawn alone the tint arrives as the uniform; in a batch it arrives per instance.
    vec4 fogTint = tint * vColour;
    vec4 mask = texture(image, vTexCoord);
    vec3 colour = fogTint.rgb * 1.5 + grain;
    float alpha = clamp(fog * fogTint.a + vignette * 0.85, 0.0, 1.0) * mask.a;
    fragColour = vec4(mix(colour, vec3(0.0), vignette), alpha);
}
