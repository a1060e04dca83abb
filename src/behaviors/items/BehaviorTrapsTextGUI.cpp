#include "behaviors/items/BehaviorTrapsTextGUI.h"

#include "data/FieldDescriptor.h"
#include "data/TypeRegistry.h"

GLOAMER_REGISTER_COMPONENT(BehaviorTrapsTextGUI, ctype::Behavior)

void BehaviorTrapsTextGUI::Read(const json& j)
{
    Behavior::Read(j);
    if (auto it = j.find("value"); it != j.end())
        FieldIo::ReadValue(_value, *it);
    if (auto it = j.find("captions"); it != j.end())
    {
        const auto captions = it->get<std::vector<std::string>>();
        for (std::size_t i = 0; i < captions.size() && i < _captions.size(); ++i)
            _captions[i] = captions[i];
    }
}

void BehaviorTrapsTextGUI::Write(json& j) const
{
    Behavior::Write(j);
    j["value"] = _value;
    j["captions"] = _captions;
}
