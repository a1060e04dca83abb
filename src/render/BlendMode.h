#pragma once

// How a sprite's colour combines with what is already drawn.
struct BlendMode
{
    bool enabled = true;
    unsigned source = 0;
    unsigned destination = 0;

    // 0 off, 1 alpha, 2 additive, 3 colour; any other number is alpha.
    static BlendMode ForMode(int mode);

    // Sets the global GL blend state (it holds for every later draw).
    void Apply() const;

    bool operator==(const BlendMode&) const = default;
};
