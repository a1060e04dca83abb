// Menu clicks and the hover blip: short, dry and quiet, so the menus stay dark.

#include "Recipes.h"

using namespace dsp;

namespace
{
Buffer Click0()
{
    Rng rng(81);
    Buffer b = Silence(0.12);
    NoiseHit(b, 0.0, 2400.0, 2.5, 0.003, 1.0f, rng);
    NoiseHit(b, 0.009, 1600.0, 3.0, 0.004, 0.6f, rng);
    Strike(b, 0.0, 1150.0, {{1.0, 1.0, 0.01}}, 0.2f);
    FadeOut(b, 0.02);
    Normalise(b, 0.55f);
    return b;
}

Buffer ClickDown()
{
    Rng rng(82);
    Buffer b = Silence(0.12);
    Thud(b, 0.0, 220.0, 140.0, 0.012, 0.7f);
    NoiseHit(b, 0.0, 1300.0, 2.0, 0.004, 0.8f, rng);
    FadeOut(b, 0.02);
    Normalise(b, 0.55f);
    return b;
}

Buffer ClickUp()
{
    Rng rng(83);
    Buffer b = Silence(0.1);
    NoiseHit(b, 0.0, 3300.0, 2.5, 0.003, 0.8f, rng);
    Strike(b, 0.0, 900.0, {{1.0, 1.0, 0.008}}, 0.25f);
    FadeOut(b, 0.02);
    Normalise(b, 0.45f);
    return b;
}

// A soft, low glassy note with a little room around it.
Buffer ButtonHover()
{
    Buffer b = Silence(0.2);
    Strike(b, 0.0, Note(64), {{1.0, 1.0, 0.08}, {2.76, 0.25, 0.04}, {5.4, 0.08, 0.02}}, 0.5f);
    Strike(b, 0.0, Note(52), {{1.0, 1.0, 0.1}}, 0.3f);
    Buffer out = Reverb(b, 0.5, 0.5, 0.25, 0.2);
    FadeOut(out, 0.05);
    Normalise(out, 0.3f);
    return out;
}
} // namespace

std::vector<Recipe> InterfaceRecipes()
{
    return {
        {"click0", Click0},
        {"clickdown", ClickDown},
        {"clickup", ClickUp},
        {"button_hover", ButtonHover},
    };
}
