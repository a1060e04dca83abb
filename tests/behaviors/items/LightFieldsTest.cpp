#include "behaviors/items/LightFields.h"
#include "data/Entity.h"
#include "render/Lighting.h"

#include <gtest/gtest.h>

// The item behaviours drive the game's real light through its saved fields.
TEST(LightFieldsTest, TheRealLightTakesFactorColourAndOffset)
{
    Entity lamp("lamp");
    auto* light = static_cast<Lighting*>(lamp.AddComponent(std::make_unique<Lighting>()));
    light->_radius = 80.0f;

    LightFields::SetFactor(&lamp, 15.0f);
    EXPECT_FLOAT_EQ(light->_factor, 15.0f);
    EXPECT_FLOAT_EQ(LightFields::GetFactor(&lamp), 15.0f);
    LightFields::SetColourAndOffset(&lamp, {0, 1, 0, 1}, {11, 43});
    EXPECT_EQ(light->_color, glm::vec4(0, 1, 0, 1));
    EXPECT_EQ(light->_offset, glm::vec2(11, 43));
    EXPECT_FLOAT_EQ(light->_radius, 80.0f) << "other fields untouched";

    Entity dark("dark");
    LightFields::SetFactor(&dark, 3.0f);
    EXPECT_FLOAT_EQ(LightFields::GetFactor(&dark, -1.0f), -1.0f) << "no light, nothing changed";
}
