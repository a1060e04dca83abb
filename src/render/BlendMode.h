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

    // Whether the GL blend state in force leaves what is drawn untouched by a colour of
    // alpha 0: blending on, adding, the source weighed by its alpha and the destination
    // kept whole where that alpha is 0.
    static bool IgnoresClearSource();

    bool operator==(const BlendMode&) const = default;
};
