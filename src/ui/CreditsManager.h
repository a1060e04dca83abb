#pragma once

#include "data/Component.h"
#include "data/FieldDescriptor.h"

#include <glm/vec2.hpp>

// Pages through the credits: "Page Forward" and "Page Backward" move its scene's
// camera one page offset along, wrapping at both ends.
class CreditsManager : public ComponentBase<CreditsManager>
{
public:
    CreditsManager() : ComponentBase<CreditsManager>(ctype::CreditsManager) {}

    void Read(const json& j) override;
    void Write(json& j) const override;
    void Update(float dt) override;

    int GetPage() const { return _page; }

    // The page after `step` pages (+1 or -1) from `page`, wrapping within [0, pages).
    static int Turn(int page, int step, int pages);

    static const FieldDescriptor<CreditsManager>& Descriptor();

private:
    void ShowPage(int page);

    glm::vec2 _offset{0.0f};
    int _page = 0;
    int _maxPages = 1;
};
