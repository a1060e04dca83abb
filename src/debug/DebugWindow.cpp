#include "debug/DebugWindow.h"

#include "data/Entity.h"
#include "render/GlState.h"
#include "scene/Scene.h"
#include "scene/SceneSystem.h"

#include <backends/imgui_impl_glfw.h>
#include <backends/imgui_impl_opengl3.h>
#include <imgui.h>

#include <cmath>

namespace
{
DebugWindow::TreeTextFn s_treeText = nullptr;

bool Holds(const Transform& t, glm::vec2 point)
{
    const glm::vec2 half = 0.5f * glm::abs(t.GetScale());
    const glm::vec2 d = glm::abs(point - t.GetTranslation());
    return half.x > 0.0f && half.y > 0.0f && d.x <= half.x && d.y <= half.y;
}

// Drawn later means on top: higher depth, then lower y.
bool Above(const Transform& a, const Transform& b)
{
    if (a.GetDepth() != b.GetDepth())
        return a.GetDepth() > b.GetDepth();
    return a.GetTranslation().y < b.GetTranslation().y;
}
} // namespace

void DebugWindow::SetTreeText(TreeTextFn fn)
{
    s_treeText = fn;
}

std::string DebugWindow::TreeText(const Entity& entity)
{
    return s_treeText ? s_treeText(entity) : std::string(kNoTree);
}

Entity* DebugWindow::EntityAt(const SceneSystem& scenes, glm::vec2 world)
{
    Entity* best = nullptr;
    for (const auto& scene : scenes.GetScenes())
        for (const auto& entity : scene->GetEntities().Entities())
        {
            if (entity->IsDestroyed() || !Holds(entity->GetTransform(), world))
                continue;
            if (!best || Above(entity->GetTransform(), best->GetTransform()))
                best = entity.get();
        }
    return best;
}

void DebugWindow::Pick(const SceneSystem& scenes, glm::vec2 mouseWorld)
{
    if (Entity* under = EntityAt(scenes, mouseWorld))
        _picked = under;
}

DebugWindow::View DebugWindow::Describe(const SceneSystem& scenes) const
{
    View view;
    for (const auto& scene : scenes.GetScenes())
    {
        std::string line =
            scene->GetName() + " (" + std::to_string(scene->GetEntities().Entities().size()) + " entities";
        if (scene->IsPaused())
            line += ", paused";
        if (scene.get() == scenes.GetCurrentScene())
            line += ", current";
        view._scenes.push_back(line + ")");
    }
    const Entity* entity = _picked.Get();
    if (!entity)
        return view;
    view._entity = entity->GetName().empty() ? std::string("(unnamed)") : entity->GetName();
    json transform = json::object();
    entity->GetTransform().Write(transform);
    view._components.emplace_back("transform", transform.dump(2));
    for (const auto& component : entity->Components())
    {
        json j = json::object();
        component->Write(j);
        view._components.emplace_back(std::string(component->GetName()), j.dump(2));
    }
    view._tree = TreeText(*entity);
    return view;
}

void DebugWindow::Render(GLFWwindow* window)
{
    if (!_shown || !window || !GlState::IsLive())
        return;
    if (!_started)
    {
        IMGUI_CHECKVERSION();
        ImGui::CreateContext();
        // Layout files would land in the content folder; the window opens where it did.
        ImGui::GetIO().IniFilename = nullptr;
        ImGui::StyleColorsDark();
        // Chains to the game's own callbacks, so input goes on working underneath.
        ImGui_ImplGlfw_InitForOpenGL(window, true);
        ImGui_ImplOpenGL3_Init("#version 330 core");
        _started = true;
    }
    ImGui_ImplOpenGL3_NewFrame();
    ImGui_ImplGlfw_NewFrame();
    ImGui::NewFrame();

    const View view = Describe(SceneSystem::Instance());
    ImGui::SetNextWindowPos(ImVec2(20.0f, 20.0f), ImGuiCond_FirstUseEver);
    ImGui::SetNextWindowSize(ImVec2(460.0f, 640.0f), ImGuiCond_FirstUseEver);
    ImGui::Begin("Inspector");
    if (ImGui::CollapsingHeader("Scenes", ImGuiTreeNodeFlags_DefaultOpen))
        for (const std::string& scene : view._scenes)
            ImGui::BulletText("%s", scene.c_str());
    if (ImGui::CollapsingHeader("Under the mouse", ImGuiTreeNodeFlags_DefaultOpen))
    {
        if (view._entity.empty())
            ImGui::TextUnformatted("nothing picked yet");
        else
        {
            ImGui::Text("%s", view._entity.c_str());
            for (const auto& [name, text] : view._components)
                if (ImGui::TreeNode(name.c_str()))
                {
                    ImGui::TextUnformatted(text.c_str());
                    ImGui::TreePop();
                }
        }
    }
    if (ImGui::CollapsingHeader("Behaviour tree", ImGuiTreeNodeFlags_DefaultOpen))
        ImGui::TextUnformatted(view._entity.empty() ? kNoTree : view._tree.c_str());
    ImGui::End();

    ImGui::Render();
    ImGui_ImplOpenGL3_RenderDrawData(ImGui::GetDrawData());
}

void DebugWindow::Shutdown()
{
    if (!_started)
        return;
    ImGui_ImplOpenGL3_Shutdown();
    ImGui_ImplGlfw_Shutdown();
    ImGui::DestroyContext();
    _started = false;
}

void DebugWindow::Reset()
{
    Shutdown();
    _shown = false;
    _picked = EntityRef();
}
