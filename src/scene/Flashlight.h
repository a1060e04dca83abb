#pragma once

#include "data/Component.h"
#include "data/FieldDescriptor.h"
#include "physics/VisibilityFan.h"
#include "render/SceneLights.h"

#include <glm/vec2.hpp>

#include <memory>
#include <vector>

class Scene;
class Sprite;

// A beam from _origin toward _aimPoint: each update it works out what the bulb can
// see past the walls (a fan around the origin) and the two edges of its cone. The
// scene's lit programs draw the light inside both.
class Flashlight : public ComponentBase<Flashlight>
{
public:
    Flashlight();
    ~Flashlight() override;
    // Copies the settings, origin and aim point; the fan, walls and debug sprites are
    // the copy's own to build.
    Flashlight(const Flashlight& other);
    Flashlight& operator=(const Flashlight&) = delete;

    // The settings, then "sprite", "linedebug" and "pointdebug", each a whole sprite.
    void Read(const json& j) override;
    void Write(json& j) const override;
    void Update(float dt) override;
    // With _linesOn, pushes the rays (red) and the fan's outline (blue) to the debug lines.
    void Render() override;

    void AppendTo(SceneLights& lights) const;

    // Shadow-casting polygon colliders, then the tile map's walls.
    static void GatherWalls(const Scene& scene, std::vector<LineSegment>& walls);

    const std::vector<glm::vec2>& GetFan() const { return _work._fan; }
    const std::vector<FanHit>& GetHits() const { return _work._hits; }
    const glm::vec2& GetConeA() const { return _coneA; }
    const glm::vec2& GetConeB() const { return _coneB; }
    Sprite* GetSprite() const { return _sprite.get(); }

    static const FieldDescriptor<Flashlight>& Descriptor();

    bool _linesOn = false;
    float _cullDist = 2000.0f;
    float _cullAngle = 0.0f;
    float _raycastRot = 0.3f;
    float _rotAngle = 24.0f;
    float _radius = 820.0f;
    float _falloff = 0.3f;
    float _factor = 1.6f;
    float _innerFalloff = 0.5f;
    float _innerRadius = 30.0f;

    // Written each frame by whoever holds the light (the player, or a test behaviour).
    glm::vec2 _origin{0.0f};
    glm::vec2 _aimPoint{0.0f};

private:
    std::vector<LineSegment> _walls;
    FanWork _work;
    glm::vec2 _coneA{0.0f};
    glm::vec2 _coneB{0.0f};
    std::unique_ptr<Sprite> _sprite;
    std::unique_ptr<Sprite> _lineDebug;
    std::unique_ptr<Sprite> _pointDebug;
};
