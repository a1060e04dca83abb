#include "data/EntityList.h"

#include <algorithm>
#include <utility>

EntityList::~EntityList()
{
    for (Entity* pending : _pending)
        delete pending;
    _pending.clear();
    _entities.clear();
}

std::vector<std::unique_ptr<Entity>> EntityList::TakeDetached()
{
    return std::exchange(_detached, {});
}

Entity* EntityList::AddUninitialised(std::unique_ptr<Entity> entity, Scene* scene)
{
    Entity* raw = entity.release();
    raw->SetScene(scene);
    if (_deferAdds)
        _pending.push_back(raw);
    else
        _entities.emplace_back(raw);
    return raw;
}

Entity* EntityList::Add(std::unique_ptr<Entity> entity, Scene* scene)
{
    Entity* raw = AddUninitialised(std::move(entity), scene);
    raw->Init();
    return raw;
}

void EntityList::TakePending()
{
    while (!_pending.empty())
    {
        _entities.emplace_back(_pending.front());
        _pending.pop_front();
    }
}

void EntityList::InitAll()
{
    TakePending();
    for (std::size_t i = 0; i < _entities.size(); ++i)
        _entities[i]->Init();
}

void EntityList::RemoveFinished()
{
    // Exit first, while every entity can still be found; Exit may look others up.
    for (std::size_t i = 0; i < _entities.size(); ++i)
        if (_entities[i]->IsDestroyed())
            _entities[i]->Exit();

    std::size_t kept = 0;
    for (std::size_t i = 0; i < _entities.size(); ++i)
    {
        Entity* entity = _entities[i].get();
        if (entity->IsDestroyed())
        {
            _finished.push_back(std::move(_entities[i]));
            continue;
        }
        if (entity->IsDetached())
        {
            entity->ClearDetach();
            _detached.push_back(std::move(_entities[i]));
            continue;
        }
        if (kept != i)
            _entities[kept] = std::move(_entities[i]);
        ++kept;
    }
    _entities.resize(kept);
    _finished.clear();
}

void EntityList::Update(float dt, const BetweenSteps& betweenSteps)
{
    TakePending();
    RemoveFinished();

    // Indexing rather than iterators: a list that adds at once may grow meanwhile.
    for (std::size_t i = 0; i < _entities.size(); ++i)
        for (const auto& component : _entities[i]->Components())
            component->Update(dt);

    if (betweenSteps)
        betweenSteps(*this);

    _accumulator += dt;
    while (_accumulator >= _fixedStep)
    {
        for (std::size_t i = 0; i < _entities.size(); ++i)
            for (const auto& component : _entities[i]->Components())
                component->FixedUpdate(_fixedStep);
        _accumulator -= _fixedStep;
    }
}

const std::vector<Entity*>& EntityList::SortForDrawing()
{
    _drawOrder.clear();
    for (const auto& entity : _entities)
        _drawOrder.push_back(entity.get());
    std::sort(_drawOrder.begin(), _drawOrder.end(),
              [](const Entity* a, const Entity* b)
              {
                  const Transform& ta = a->GetTransform();
                  const Transform& tb = b->GetTransform();
                  if (ta.GetDepth() != tb.GetDepth())
                      return ta.GetDepth() < tb.GetDepth();
                  return ta.GetTranslation().y > tb.GetTranslation().y;
              });
    return _drawOrder;
}

void EntityList::RenderAll()
{
    for (Entity* entity : SortForDrawing())
        entity->Render();
}

void EntityList::ExitAll()
{
    for (std::size_t i = 0; i < _entities.size(); ++i)
        _entities[i]->Exit();
    for (std::size_t i = 0; i < _pending.size(); ++i)
        _pending[i]->Exit();
}

Entity* EntityList::FindByName(const std::string& name) const
{
    for (const auto& entity : _entities)
        if (entity->GetName() == name)
            return entity.get();
    return nullptr;
}
