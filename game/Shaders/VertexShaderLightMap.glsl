#version 330 core
// The light map's shapes, in world units through the scene camera: with lightPass 0
// one square per lamp (instance i is lamp i) as wide as its reach; with 1 + f the
// square of flashlight f around its bulb; below 0 the triangles of a flashlight's fan
// cover, which come as vertices. The squares need no vertex data.
layout(location = 0) in vec2 aPosition;

uniform mat4 projection;
uniform mat4 camera;
uniform int lightPass;

layout(std140) uniform LightBlock
{
    vec4 lightPosRadius[64]; // x, y, radius, factor
    vec4 lightColors[64];
    vec4 lightCones[64];
    vec4 lightShape[64];
};

layout(std140) uniform FlashlightBlock
{
    vec4 flashCone[4];
    vec4 flashShape[4];  // radius, factor, falloff, inner falloff
    vec4 flashRange[4];  // inner radius, first and last fan vertex
    vec4 fanPoints[1000]; // two fan vertices each
};

out vec2 vWorld;
flat out int vLight;

const vec2 kCorners[6] = vec2[6](vec2(-1.0, -1.0), vec2(1.0, -1.0), vec2(1.0, 1.0),
                                 vec2(-1.0, -1.0), vec2(1.0, 1.0), vec2(-1.0, 1.0));

vec2 FanPoint(int i)
{
    vec4 pair = fanPoints[i / 2];
    return (i % 2 == 0) ? pair.xy : pair.zw;
}

void main()
{
    vec2 world = aPosition;
    vLight = 0;
    if (lightPass == 0)
    {
        vec4 pr = lightPosRadius[gl_InstanceID];
        world = pr.xy + kCorners[gl_VertexID] * pr.z;
        vLight = gl_InstanceID;
    }
    else if (lightPass > 0)
    {
        int f = lightPass - 1;
        world = FanPoint(int(flashRange[f].y + 0.5)) + kCorners[gl_VertexID] * flashShape[f].x;
        vLight = f;
    }
    vWorld = world;
    gl_Position = projection * camera * vec4(world, 0.0, 1.0);
}
