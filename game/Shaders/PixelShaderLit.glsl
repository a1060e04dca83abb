#version 330 core
// World sprites in the dark: ambient light plus the scene's point and cone lights and
// its flashlights, each flashlight only where its fan (what its bulb sees past the
// walls) and its cone both reach. Block layouts match the renderer's uniform buffers.
in vec2 vTexCoord;
in vec4 vColour;
in vec2 vWorld;

uniform sampler2D image;
uniform vec4 tint;
uniform float brightness;
uniform float time;
uniform float grainFactor;
uniform float ambientFactor;
uniform int lightCount;
uniform int totalFlashlights;

layout(std140) uniform LightBlock
{
    vec4 lightPosRadius[64]; // x, y, radius, factor
    vec4 lightColors[64];
    vec4 lightCones[64];     // two far offsets along the edges; all zero for a point light
    vec4 lightShape[64];     // falloff, inner radius, inner falloff
};

layout(std140) uniform FlashlightBlock
{
    vec4 flashCone[4];   // edge A, edge B
    vec4 flashShape[4];  // radius, factor, falloff, inner falloff
    vec4 flashRange[4];  // inner radius, first and last fan vertex
    vec4 fanPoints[1000]; // two fan vertices each
};

out vec4 fragColour;

const vec3 kBeamColour = vec3(1.0, 0.94, 0.82);
// Light reaches a little past a fan edge, so the face of the wall that stops it shows.
const float kWallBleed = 3.0;

float Hash(vec2 p)
{
    return fract(sin(dot(p, vec2(12.9898, 78.233))) * 43758.5453);
}

float Cross(vec2 a, vec2 b)
{
    return a.x * b.y - a.y * b.x;
}

// Full strength inside the inner radius, easing to nothing at the outer one; a larger
// falloff darkens sooner. The inner falloff adds a hot core that fades by the inner radius.
float Reach(float d, float radius, float falloff, float innerRadius, float innerFalloff)
{
    if (radius <= 0.0 || d >= radius)
        return 0.0;
    float inner = clamp(innerRadius, 0.0, radius * 0.99);
    float t = clamp((d - inner) / (radius - inner), 0.0, 1.0);
    float level = falloff > 0.0 ? pow(1.0 - t, falloff) : 1.0;
    if (inner > 0.0 && d < inner)
        level += innerFalloff * (1.0 - d / inner);
    return level;
}

// 1 inside the cone between the two edge offsets, 0 outside, with a soft rim.
float ConeMask(vec2 rel, vec2 edgeA, vec2 edgeB)
{
    float len = length(rel);
    if (len < 0.001)
        return 1.0;
    vec2 a = normalize(edgeA);
    vec2 b = normalize(edgeB);
    vec2 axis = a + b;
    // Edges a half turn apart: the axis is the direction both were turned from.
    axis = dot(axis, axis) < 1e-8 ? vec2(a.y, -a.x) : normalize(axis);
    // Past a half-angle of 90 degrees the edges' sum points backwards.
    if (Cross(b, a) < 0.0)
        axis = -axis;
    float cosHalf = dot(a, axis);
    return smoothstep(cosHalf - 0.015, cosHalf + 0.015, dot(rel / len, axis));
}

vec2 FanPoint(int i)
{
    vec4 pair = fanPoints[i / 2];
    return (i % 2 == 0) ? pair.xy : pair.zw;
}

float FanAngle(vec2 origin, int i)
{
    vec2 v = FanPoint(i) - origin;
    return atan(v.y, v.x);
}

// Whether p lies in the fan whose origin is vertex `first` and whose sorted hits run to
// `last`: find the wedge of p's angle by bisection, then test p against its far side.
bool InFan(vec2 p, int first, int last)
{
    vec2 o = FanPoint(first);
    int lo = first + 1;
    int hi = last;
    if (hi - lo < 1)
        return true; // no walls near the bulb: nothing blocks it
    float a = atan(p.y - o.y, p.x - o.x);
    int k;
    int next;
    if (a < FanAngle(o, lo) || a >= FanAngle(o, hi))
    {
        k = hi;
        next = lo;
    }
    else
    {
        while (hi - lo > 1)
        {
            int mid = (lo + hi) / 2;
            if (FanAngle(o, mid) <= a)
                lo = mid;
            else
                hi = mid;
        }
        k = lo;
        next = hi;
    }
    vec2 v0 = FanPoint(k);
    vec2 v1 = FanPoint(next);
    // A gap of more than half a turn between samples has no wall across it.
    if (Cross(v0 - o, v1 - o) < 0.0)
        return true;
    vec2 edge = v1 - v0;
    float len = length(edge);
    if (len < 0.001)
        return length(p - o) <= length(v0 - o) + kWallBleed;
    float toOrigin = Cross(edge, o - v0);
    float toPoint = Cross(edge, p - v0);
    return sign(toOrigin) * toPoint / len > -kWallBleed;
}

void main()
{
    vec4 base = texture(image, vTexCoord) * vColour * tint;
    base.rgb *= 1.0 + brightness;

    vec3 light = vec3(ambientFactor);
    for (int i = 0; i < lightCount; ++i)
    {
        vec4 pr = lightPosRadius[i];
        vec2 rel = vWorld - pr.xy;
        // Most lights are out of reach of most fragments: skip them before any root or power.
        if (dot(rel, rel) >= pr.z * pr.z)
            continue;
        float reach = Reach(length(rel), pr.z, lightShape[i].x, lightShape[i].y, lightShape[i].z);
        if (reach <= 0.0)
            continue;
        vec4 cone = lightCones[i];
        if (cone != vec4(0.0))
            reach *= ConeMask(rel, cone.xy, cone.zw);
        light += lightColors[i].rgb * lightColors[i].a * pr.w * reach;
    }
    for (int f = 0; f < totalFlashlights; ++f)
    {
        int first = int(flashRange[f].y + 0.5);
        int last = int(flashRange[f].z + 0.5);
        vec2 rel = vWorld - FanPoint(first);
        vec4 shape = flashShape[f];
        float reach = Reach(length(rel), shape.x, shape.z, flashRange[f].x, shape.w);
        if (reach <= 0.0)
            continue;
        reach *= ConeMask(rel, flashCone[f].xy, flashCone[f].zw);
        if (reach <= 0.0 || !InFan(vWorld, first, last))
            continue;
        light += kBeamColour * shape.y * reach;
    }

    vec3 colour = base.rgb * light;
    if (grainFactor > 0.0)
    {
        float grain = Hash(gl_FragCoord.xy + vec2(fract(time * 7.0) * 311.0, fract(time * 3.0) * 173.0)) - 0.5;
        colour = max(colour + grain * grainFactor * base.a, 0.0);
    }
    fragColour = vec4(colour, base.a);
}
