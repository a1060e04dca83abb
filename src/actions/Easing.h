#pragma once

#include <glm/vec2.hpp>
#include <glm/vec4.hpp>

#include <string>

// Eases t in [0, 1] along curve 0..10; any other number is linear.
float Ease(int curve, float t);

// The value between start and end at an already-eased fraction.
float LerpValue(float start, float end, float eased);
glm::vec2 LerpValue(const glm::vec2& start, const glm::vec2& end, float eased);
glm::vec4 LerpValue(const glm::vec4& start, const glm::vec4& end, float eased);
// Truncated to a whole character code.
char LerpValue(char start, char end, float eased);
// The lerp of 0 and 1, true while it is not zero.
bool LerpValue(bool start, bool end, float eased);
// The text transition: delete back to the common prefix, then type the end text out.
std::string LerpValue(const std::string& start, const std::string& end, float eased);
