#pragma once

#include "Dsp.h"

#include <string>
#include <vector>

// Every sound the game asks for, each made from scratch by a recipe.
struct Recipe
{
    std::string name;
    dsp::Buffer (*make)();
    bool loop = false; // kept at its exact length; one-shots lose their silent tail
};

std::vector<Recipe> CreatureRecipes();
std::vector<Recipe> ImpactRecipes();
std::vector<Recipe> MusicRecipes();
std::vector<Recipe> InterfaceRecipes();

// Renders cycles + 1 repetitions of a pattern (draw adds one cycle at a time offset),
// passes them through a room, and returns one seamless cycle from the settled middle.
template <typename Draw>
dsp::Buffer RenderLoop(double loopSeconds, int cycles, Draw draw, double room, double damp, double wet)
{
    dsp::Buffer dry = dsp::Silence(loopSeconds * (cycles + 1));
    for (int c = 0; c <= cycles; ++c)
        draw(dry, c * loopSeconds);
    dry.resize(dsp::Samples(loopSeconds * (cycles + 1)));
    const dsp::Buffer roomed = dsp::Reverb(dry, room, damp, wet, 0.0);
    return dsp::CutLoop(roomed, loopSeconds, cycles - 1, 0.02);
}
