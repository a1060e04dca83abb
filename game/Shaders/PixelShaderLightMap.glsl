#version 330 core
// The light one lamp (lightPass 0) or one flashlight (1 + f) adds to a pixel of the
// light map: point and cone lights with inner and outer radius and fall-offs; the beam
// over its fan's cover, which the stencil lets light each pixel once. The beam never
// discards, so the stencil test can run before the shading.
in vec2 vWorld;
flat in int vLight;

uniform int lightPass;

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

float Cross(vec2 a, vec2 b)
{
    return a.x * b.y - a.y * b.x;
}

vec2 FanPoint(int i)
{
    vec4 pair = fanPoints[i / 2];
    return (i % 2 == 0) ? pair.xy : pair.zw;
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

void main()
{
    if (lightPass == 0)
    {
        vec4 pr = lightPosRadius[vLight];
        vec2 rel = vWorld - pr.xy;
        // The corners of the square are out of reach.
        if (dot(rel, rel) >= pr.z * pr.z)
            discard;
        float reach = Reach(length(rel), pr.z, lightShape[vLight].x, lightShape[vLight].y, lightShape[vLight].z);
        vec4 cone = lightCones[vLight];
        if (cone != vec4(0.0))
            reach *= ConeMask(rel, cone.xy, cone.zw);
        if (reach <= 0.0)
            discard;
        fragColour = vec4(lightColors[vLight].rgb * lightColors[vLight].a * pr.w * reach, 0.0);
        return;
    }
    int f = vLight;
    vec2 rel = vWorld - FanPoint(int(flashRange[f].y + 0.5));
    vec4 shape = flashShape[f];
    float reach = Reach(length(rel), shape.x, shape.z, flashRange[f].x, shape.w);
    if (reach > 0.0)
        reach *= ConeMask(rel, flashCone[f].xy, flashCone[f].zw);
    fragColour = vec4(kBeamColour * shape.y * reach, 0.0);
}
