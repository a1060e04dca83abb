#pragma once

#include <cstdint>

// The one place that knows whether a GL context is live, and a cache of the current
// program, texture and vertex-array bindings so the draw path skips binds that would
// change nothing. Without a live context every call here is a no-op.
class GlState
{
public:
    struct BindCounts
    {
        std::uint64_t programs = 0;
        std::uint64_t textures = 0;
        std::uint64_t vertexArrays = 0;
    };

    static bool IsLive();
    // Set once the loader has resolved the entry points; cleared before the context
    // goes away so that destructors running later skip their GL deletes.
    static void SetLive(bool live);

    static void UseProgram(unsigned program);
    static void BindTexture(unsigned texture);
    static void BindVertexArray(unsigned vertexArray);

    // Deleted names may be handed out again, so the cache must not remember them.
    static void ForgetProgram(unsigned program);
    static void ForgetTexture(unsigned texture);
    static void ForgetVertexArray(unsigned vertexArray);

    // A 1 x 1 opaque white texture: what untextured sprites sample.
    static unsigned WhiteTexture();
    // Deletes the objects this class made; call while the context is still current.
    static void Release();

    static const BindCounts& Counts();
    static void ResetCounts();

    // Reports a pending GL error as "Error: <code>" and stops the program.
    static void CheckError();
};
