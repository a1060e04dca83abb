#pragma once

#include "data/Entity.h"

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class Scene;

// The entities of a scene (or the archetype store): adds, per-frame updates, fixed
// steps, deletion of destroyed entities and draw order.
class EntityList
{
public:
    static constexpr float kFixedStep = 1.0f / 60.0f;

    // Runs between component updates and fixed steps each frame (a scene's collision pass).
    using BetweenSteps = std::function<void(EntityList& list)>;

    explicit EntityList(bool deferAdds = true) : _deferAdds(deferAdds) {}
    ~EntityList();

    EntityList(const EntityList&) = delete;
    EntityList& operator=(const EntityList&) = delete;

    // Adds and initialises an entity created during play; scene lists hold it back
    // until the next update so lists are never changed while being walked.
    Entity* Add(std::unique_ptr<Entity> entity, Scene* scene = nullptr);
    // Adds an entity read from a level file; InitAll initialises it.
    Entity* AddUninitialised(std::unique_ptr<Entity> entity, Scene* scene = nullptr);

    void InitAll();
    void Update(float dt, const BetweenSteps& betweenSteps = {});
    void RenderAll();
    // Ends every entity (held-back ones too) while all of them can still be found;
    // deleting them is left to the list's destructor, which calls no Exit.
    void ExitAll();

    Entity* FindByName(const std::string& name) const;

    // Entities removed by their detach flag, handed to whoever moves them elsewhere;
    // ones never taken are deleted with the list.
    std::vector<std::unique_ptr<Entity>> TakeDetached();

    const std::vector<std::unique_ptr<Entity>>& Entities() const { return _entities; }
    std::size_t PendingCount() const { return _pending.size(); }
    float Accumulator() const { return _accumulator; }

    // The order RenderAll draws in: ascending depth, then descending y.
    const std::vector<Entity*>& SortForDrawing();

private:
    void TakePending();
    void RemoveFinished();

    float _fixedStep = kFixedStep;
    float _accumulator = 0.0f;
    bool _deferAdds;
    std::vector<std::unique_ptr<Entity>> _entities;
    std::deque<Entity*> _pending;
    // Reused between frames so a steady frame allocates nothing.
    std::vector<Entity*> _drawOrder;
    std::vector<std::unique_ptr<Entity>> _finished;
    std::vector<std::unique_ptr<Entity>> _detached;
};
