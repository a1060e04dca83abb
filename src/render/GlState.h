#pragma once

#include <cstdint>
#include <string_view>

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
    // Counts the contexts made live; GL names from an earlier one mean nothing now.
    static unsigned ContextGeneration();
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

    // Drains errors that calls nobody checked left pending, reporting each (without
    // stopping), so the next CheckError blames only the call it follows.
    static void ClearErrors(std::string_view before);
    // After a GL call: a pending error is reported as
    // "GL error GL_INVALID_ENUM (0x500) in <call>" and stops the program.
    static void CheckError(std::string_view call);
    // The driver's largest texture side (GL_MAX_TEXTURE_SIZE); 0 without GL.
    static int MaxTextureSize();
};
