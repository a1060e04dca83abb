#include "behaviors/PlayerCamera.h"
#include "scene/SceneSystem.h"
#include "ui/PauseManager.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>

using nlohmann::json;

namespace
{
namespace fs = std::filesystem;

// Where each scene name was found, for the failure message.
using Mentions = std::map<std::string, std::set<std::string>>;

// Every scene a data value can lead to: a "changescene" button's recipient, a level's
// sub-scenes and a splash or end screen's next scene, at any depth.
void Collect(const json& value, const std::string& file, Mentions& out)
{
    if (value.is_array())
    {
        for (const json& element : value)
            Collect(element, file, out);
        return;
    }
    if (!value.is_object())
        return;
    if (value.value("action", "") == "changescene" && value.contains("recipient"))
        out[value["recipient"].get<std::string>()].insert(file + " (button)");
    if (value.contains("nextscene") && value["nextscene"].is_string())
        out[value["nextscene"].get<std::string>()].insert(file + " (next scene)");
    if (value.contains("subscenes"))
        for (const json& name : value["subscenes"])
            out[name.get<std::string>()].insert(file + " (sub-scene)");
    for (const auto& [key, child] : value.items())
        Collect(child, file, out);
}

Mentions CollectContent(const fs::path& root)
{
    Mentions out;
    for (const char* folder : {"Data/Level", "Data/Entity"})
        for (const auto& entry : fs::directory_iterator(root / folder))
        {
            if (entry.path().extension() != ".json")
                continue;
            std::ifstream in(entry.path());
            const std::string relative = fs::relative(entry.path(), root).string();
            const json document = json::parse(in, nullptr, false);
            EXPECT_FALSE(document.is_discarded()) << relative << " is not valid JSON";
            Collect(document, relative, out);
        }
    return out;
}
} // namespace

// A name with no level file only shows up when the game tries to go there, which for
// the end screens is after minutes of play.
TEST(SceneNamesTest, EverySceneTheContentOrTheCodeLeadsToHasALevelFile)
{
    Mentions names = CollectContent(GLOAMER_CONTENT);
    // Scenes the content leads to; if the walk stops finding them the test is blind.
    for (const char* expected : {"level1", "credits", "main_menu", "pause_menu", "gui_scene", "credits_nav"})
        EXPECT_TRUE(names.count(expected)) << expected << " is no longer named by any content file";

    names[SceneSystem::kFirstScene].insert("SceneSystem (first scene)");
    names[PauseManager::kMainMenu].insert("PauseManager (quit to menu)");
    names[PlayerCamera::kGuiScene].insert("PlayerCamera (fade overlay)");
    names["win_scene"].insert("BehaviorMonster (death)");
    names["lose_scene"].insert("BehaviorPlayer (lost struggle)");
    names["gameGeneric"].insert("CedarScene (sandbox redirect)");

    for (const auto& [name, where] : names)
    {
        std::string from;
        for (const std::string& place : where)
            from += " " + place;
        EXPECT_TRUE(fs::is_regular_file(fs::path(GLOAMER_CONTENT) / "Data/Level" / (name + ".json")))
            << "scene \"" << name << "\" has no Data/Level/" << name << ".json; named by" << from;
    }
}

TEST(SceneNamesTest, TheWalkFindsButtonsSubScenesAndNextScenesAtAnyDepth)
{
    Mentions out;
    Collect(json::parse(R"({"subscenes": ["hud"], "entities": [
        {"components": {"behaviorbutton": {"action": "changescene", "recipient": "far"}}},
        {"components": {"behaviorbutton": {"action": "message", "recipient": "Pause"}}},
        {"groups": [{"members": [{"components": {"behaviorsplash": {"nextscene": "after"}}}]}]}]})"),
            "x.json", out);
    EXPECT_EQ(out.size(), 3u);
    EXPECT_TRUE(out.count("hud"));
    EXPECT_TRUE(out.count("far"));
    EXPECT_TRUE(out.count("after"));
    EXPECT_FALSE(out.count("Pause")) << "a message button names no scene";
}
