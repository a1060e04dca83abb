#pragma once

#include "actions/Action.h"

#include <string>

// Asks the scene system for another scene, with or without the sliding transition.
class ChangeSceneAction : public ActionBase<ChangeSceneAction>
{
public:
    ChangeSceneAction(std::string scene, bool transition, float delay, float duration, Lanes lanes,
                      bool blocking = false);

    bool Update(float dt) override;
    bool IsValid() const override { return !_scene.empty(); }

    const std::string& GetScene() const { return _scene; }

private:
    std::string _scene;
    bool _transition;
};
