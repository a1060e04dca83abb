#pragma once

#include "audio/AudioTestSupport.h"

#include "audio/SoundSystem.h"
#include "core/MessageSystem.h"
#include "data/Component.h"
#include "data/Entity.h"
#include "data/FieldDescriptor.h"
#include "input/InputSystem.h"
#include "render/Lighting.h"
#include "scene/Scene.h"
#include "scene/SceneSystem.h"

#include <glm/vec2.hpp>
#include <glm/vec4.hpp>

#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>

namespace test
{
// A scratch level driven frame by frame, with the item sounds in the table and
// "interact" on E.
class ItemTest : public AudioTest
{
protected:
    static constexpr int kInteractKey = 69;
    static constexpr float kFrame = 1.0f / 60.0f;

    void SetUp() override
    {
        AudioTest::SetUp();
        WriteSoundTable(nlohmann::json::array({{"click0", 0.2},
                                               {"aperture_flash", 0.5},
                                               {"bump_1", 0.05},
                                               {"wood_break", 0.5},
                                               {"beartrap_close", 0.5}}));
        ASSERT_TRUE(SoundSystem::Instance().Init());
        InputSystem::Instance().LoadBindings(nlohmann::json::parse(R"({"keys": {"interact": [69]}})"), "test");
    }

    Scene& Load(const std::string& level, const std::string& text)
    {
        WriteFile("Data/Level/" + level + ".json", text);
        SceneSystem::Instance().ChangeScene(level, false);
        SceneSystem::Instance().Update(0.0f);
        Scene* scene = SceneSystem::Instance().FindScene(level);
        if (!scene)
            throw std::runtime_error("level " + level + " did not load");
        return *scene;
    }

    static void Step(float dt = kFrame)
    {
        SoundSystem::Instance().Update(dt);
        SceneSystem::Instance().Update(dt);
        InputSystem::Instance().Update(dt);
        MessageSystem::Instance().Update(dt);
    }

    static void Wait(float seconds)
    {
        for (float t = 0.0f; t < seconds; t += kFrame)
            Step();
    }

    // Playback runs on the audio device's clock, not the frames': lets a short sound end.
    static void LetSoundsEnd() { std::this_thread::sleep_for(std::chrono::milliseconds(250)); }

    // The frame in which "interact" is pressed; Release lets it go again.
    static void Press()
    {
        InputSystem::Instance().HandleButton(kInteractKey, InputSystem::kPress);
        Step();
    }
    static void Release()
    {
        InputSystem::Instance().HandleButton(kInteractKey, InputSystem::kRelease);
        Step();
    }

    template <typename T> static T& Behaviour(Scene& scene, const std::string& name)
    {
        Entity* e = scene.FindEntity(name);
        T* b = e ? e->Get<T>(ctype::Behavior) : nullptr;
        if (!b)
            throw std::runtime_error("no behaviour on " + name);
        return *b;
    }

    static Lighting& AddLight(Scene& scene, const std::string& name)
    {
        return *static_cast<Lighting*>(scene.FindEntity(name)->AddComponent(std::make_unique<Lighting>()));
    }
};
} // namespace test
