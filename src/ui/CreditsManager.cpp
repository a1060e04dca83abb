#include "ui/CreditsManager.h"

#include "actions/MoveCameraAction.h"
#include "core/MessageSystem.h"
#include "data/Entity.h"
#include "data/TypeRegistry.h"
#include "scene/Scene.h"

GLOAMER_REGISTER_COMPONENT(CreditsManager, ctype::CreditsManager)

const FieldDescriptor<CreditsManager>& CreditsManager::Descriptor()
{
    static const FieldDescriptor<CreditsManager> descriptor("CreditsManager",
                                                            {
                                                                GLOAMER_FIELD(CreditsManager, _offset),
                                                                GLOAMER_FIELD(CreditsManager, _page),
                                                                GLOAMER_FIELD(CreditsManager, _maxPages),
                                                            });
    return descriptor;
}

void CreditsManager::Read(const json& j)
{
    Descriptor().Read(*this, j);
}

void CreditsManager::Write(json& j) const
{
    Descriptor().Write(*this, j);
}

int CreditsManager::Turn(int page, int step, int pages)
{
    page += step;
    if (page >= pages)
        return 0;
    if (page < 0)
        return pages - 1;
    return page;
}

void CreditsManager::Update(float)
{
    MessageSystem& messages = MessageSystem::Instance();
    if (messages.Get("Page Forward", true))
        ShowPage(Turn(_page, 1, _maxPages));
    if (messages.Get("Page Backward", true))
        ShowPage(Turn(_page, -1, _maxPages));
}

void CreditsManager::ShowPage(int page)
{
    _page = page;
    Scene* scene = GetOwner() ? GetOwner()->GetScene() : nullptr;
    if (!scene || !scene->GetCamera())
        return;
    const glm::vec2 at = static_cast<float>(_page) * _offset;
    scene->GetActionList().Add(MoveCameraAction(scene->GetCamera(), at, 0.0f, 0.0f, Lanes{1}, false));
}
