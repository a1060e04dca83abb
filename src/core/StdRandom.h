#pragma once

// Draws from the standard generator (rand, seeded by srand) on the 0..32767 scale that
// gameplay formulas are written for, whatever the platform's RAND_MAX.
namespace StdRandom
{
// 0..32767: one rand() call scaled down when RAND_MAX is larger.
int Draw();
// Draw() / 32768, in [0, 1).
float Unit();
} // namespace StdRandom
