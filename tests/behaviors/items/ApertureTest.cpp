#include "ItemTestSupport.h"

#include "behaviors/items/BehaviorAperture.h"
#include "behaviors/items/ObjectiveSystem.h"
#include "ui/OptionSystem.h"

namespace
{
// The player beside the device, the monster far outside the hit box (a circle of 200
// around the device) and an object still to collect.
constexpr const char* kLab = R"({"entities": [
    {"name": "player", "transform": {"translation": {"x": 0, "y": 0}}},
    {"name": "monster", "transform": {"translation": {"x": 1000, "y": 0}, "scale": {"x": 1, "y": 1}},
     "components": {"physics": {}, "collider": {"type": 2, "shape": {"radius": 20}}}},
    {"name": "aperture", "transform": {"translation": {"x": 50, "y": 0}},
     "components": {"behavioraperture": {"activationradius": 100, "flashtimer": {"duration": 0.5},
                                          "flashhitbox": {"type": 2, "shape": {"radius": 200}}}}},
    {"name": "flash"}]})";

class ApertureTest : public test::ItemTest
{
protected:
    void SetUp() override
    {
        ItemTest::SetUp();
        _lab = &Load("flashlab", kLab);
        _flash = &AddLight(*_lab, "flash");
        _lamp = &AddLight(*_lab, "aperture");
        ObjectiveSystem::Instance().Register(1, "relic", "test");
        Step();
    }

    BehaviorAperture& Device() { return Behaviour<BehaviorAperture>(*_lab, "aperture"); }
    void PutMonster(const glm::vec2& at) { _lab->FindEntity("monster")->GetTransform().SetTranslation(at); }

    static std::string TakeTalk()
    {
        const Message* talk = MessageSystem::Instance().Get("playertalk", true);
        const std::string* text = talk ? talk->Arg<std::string>(0) : nullptr;
        return text ? *text : std::string();
    }

    Scene* _lab = nullptr;
    Lighting* _flash = nullptr;
    Lighting* _lamp = nullptr;
};
} // namespace

TEST_F(ApertureTest, BeforeEveryObjectIsCollectedItOnlyClicksAndCanBeTriedAgain)
{
    for (int attempt = 0; attempt < 2; ++attempt)
    {
        Press();
        EXPECT_EQ(TakeTalk(), BehaviorAperture::kNotReadyText) << "attempt " << attempt;
        EXPECT_FALSE(Device()._flashon);
        EXPECT_FLOAT_EQ(_flash->_factor, 0.0f);
        Release();
    }
    EXPECT_EQ(Device().GetState(), 0);
    EXPECT_EQ(_lamp->_color, glm::vec4(1, 0, 0, 1));
    EXPECT_EQ(_lamp->_offset, glm::vec2(33, 43));

    // Out of reach nothing answers.
    _lab->FindEntity("player")->GetTransform().SetTranslation({300.0f, 0.0f});
    Press();
    EXPECT_EQ(TakeTalk(), "");
}

TEST_F(ApertureTest, AMissedFlashFadesOutAndLeavesTheDeviceUsable)
{
    ObjectiveSystem::Instance().Collect(1);
    Step();
    EXPECT_TRUE(Device()._ready);
    EXPECT_TRUE(ObjectiveSystem::Instance().IsAllCollected());
    EXPECT_EQ(_lamp->_color, glm::vec4(1, 1, 0, 1)) << "ready, nothing in the box";
    EXPECT_EQ(_lamp->_offset, glm::vec2(22, 43));

    Press();
    EXPECT_EQ(TakeTalk(), "");
    EXPECT_FLOAT_EQ(_flash->_factor, BehaviorAperture::kFlashFactor);
    Release();
    EXPECT_FLOAT_EQ(_flash->_factor, BehaviorAperture::kFadeScale) << "the fade starts at full scale";
    Step();
    EXPECT_LT(_flash->_factor, BehaviorAperture::kFadeScale);
    Wait(0.5f);
    EXPECT_FLOAT_EQ(_flash->_factor, 0.0f);
    EXPECT_FALSE(Device()._flashon);
    EXPECT_EQ(MessageSystem::Instance().Get("killmonster"), nullptr);
    EXPECT_EQ(Device().GetState(), 0);

    Press();
    EXPECT_TRUE(Device()._flashon) << "fired again";
}

TEST_F(ApertureTest, WithFlashingDisabledTheFlashStaysDim)
{
    OptionSystem::Gameplay().disableFlashing = true;
    ObjectiveSystem::Instance().Collect(1);
    Step();
    Press();
    float brightest = _flash->_factor;
    Release();
    for (int i = 0; i < 40; ++i)
    {
        brightest = std::max(brightest, _flash->_factor);
        Step();
    }
    EXPECT_FLOAT_EQ(brightest, BehaviorAperture::kGentleFactor);
    EXPECT_FLOAT_EQ(_flash->_factor, 0.0f);
}

TEST_F(ApertureTest, AFlashWithTheMonsterInTheBoxKillsItAndSpendsTheDevice)
{
    ObjectiveSystem::Instance().Collect(1);
    PutMonster({150.0f, 190.0f}); // 20 + 200 apart, less a little
    Step();
    EXPECT_TRUE(Device().IsMonsterInHitBox());
    EXPECT_EQ(_lamp->_color, glm::vec4(0, 1, 0, 1));
    EXPECT_EQ(_lamp->_offset, glm::vec2(11, 43));

    Press();
    EXPECT_NE(MessageSystem::Instance().Get("killmonster"), nullptr);
    Release();
    EXPECT_EQ(Device().GetState(), 1);
    Wait(0.6f);
    MessageSystem::Instance().Get("killmonster", true);
    Step();
    Press();
    EXPECT_FALSE(Device()._flashon) << "spent";
    EXPECT_EQ(MessageSystem::Instance().Get("killmonster"), nullptr);
}

TEST_F(ApertureTest, TheMonsterJustOutsideTheBoxIsMissed)
{
    ObjectiveSystem::Instance().Collect(1);
    PutMonster({50.0f + 221.0f, 0.0f});
    Step();
    EXPECT_FALSE(Device().IsMonsterInHitBox());
    Press();
    EXPECT_EQ(MessageSystem::Instance().Get("killmonster"), nullptr);
}

TEST_F(ApertureTest, AHitBoxWithoutSizeIsReported)
{
    Load("flatlab", R"({"entities": [
        {"name": "flat", "components": {"behavioraperture": {"flashhitbox": {"type": 2, "shape": {"radius": 0}}}}},
        {"name": "line", "components": {"behavioraperture": {"flashhitbox": {"type": 1, "shape": {"sides": [
            {"start": {"x": 0, "y": 0}, "end": {"x": 10, "y": 0}}, {"start": {"x": 10, "y": 0}, "end": {"x": 0, "y": 0}}]}}}}},
        {"name": "none", "components": {"behavioraperture": {}}},
        {"name": "box", "components": {"behavioraperture": {"flashhitbox": {"type": 4}}}}]})");
    const std::string trace = test::ReadTrace();
    EXPECT_EQ(test::Count(trace, "the flash hit box has zero size; the flash can never hit"), 2u) << trace;
    EXPECT_NE(trace.find("Data/Level/flatlab.json: /entities/0/components/behavioraperture/flashhitbox: the flash "
                         "hit box has zero size"),
              std::string::npos)
        << trace;
    EXPECT_NE(trace.find("aperture \"none\" has no flash hit box"), std::string::npos) << trace;
    EXPECT_NE(trace.find("must be a polygon (1) or a circle (2), not shape type 4"), std::string::npos) << trace;
}
