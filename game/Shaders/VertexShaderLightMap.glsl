#version 330 core
// The light map's shapes, in world units through the scene camera: with lightPass 0
// one square per lamp (instance i is lamp i) as wide as its reach, which needs no
// vertex data; with 1 + f the triangles covering flashlight f's lit part of its fan,
// which come as vertices.
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

out vec2 vWorld;
flat out int vLight;

const vec2 kCorners[6] = vec2[6](vec2(-1.0, -1.0), vec2(1.0, -1.0), vec2(1.0, 1.0),
                                 vec2(-1.0, -1.0), vec2(1.0, 1.0), vec2(-1.0, 1.0));

void main()
{
    vec2 world = aPosition;
    vLight = max(lightPass - 1, 0);
    if (lightPass == 0)
    {
        vec4 pr = lightPosRadius[gl_InstanceID];
        // A lamp that adds nothing (dimmed to 0, like a camera flash waiting to fire)
        // folds to a point and shades no pixel.
        float reach = pr.w * lightColors[gl_InstanceID].a > 0.0 ? pr.z : 0.0;
        world = pr.xy + kCorners[gl_VertexID] * reach;
        vLight = gl_InstanceID;
    }
    vWorld = world;
    gl_Position = projection * camera * vec4(world, 0.0, 1.0);
}
