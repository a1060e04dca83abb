#version 330 core
// Many copies of one mesh in one draw: each instance brings its own matrix (applied
// before the sprite's world matrix), colour, position offset and sheet offset. What a
// caller does not upload reads as white, the identity and no offset.
layout(location = 0) in vec2 aPosition;
layout(location = 1) in vec2 aTexCoord;
layout(location = 2) in vec4 aColour;
layout(location = 3) in vec2 aOffset;
layout(location = 4) in vec2 aTexOffset;
layout(location = 6) in vec4 aInstanceColour;
layout(location = 7) in mat4 aInstanceMatrix;

uniform mat4 projection;
uniform mat4 camera;
uniform mat4 world;
uniform mat3 uv;

out vec2 vTexCoord;
out vec4 vColour;
out vec2 vScreen; // where it lies in the viewport, 0 to 1, for the light map

void main()
{
    vec4 local = aInstanceMatrix * vec4(aPosition, 0.0, 1.0) + vec4(aOffset, 0.0, 0.0);
    vec4 placed = world * local;
    gl_Position = projection * camera * placed;
    vScreen = gl_Position.xy / gl_Position.w * 0.5 + 0.5;
    vTexCoord = (uv * vec3(aTexCoord, 1.0)).xy + aTexOffset;
    vColour = aColour * aInstanceColour;
}
