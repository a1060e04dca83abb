#include "ItemTestSupport.h"

#include "behaviors/UiLinks.h"
#include "behaviors/items/BehaviorFurniture.h"
#include "behaviors/items/BehaviorThrowable.h"
#include "core/Cheats.h"
#include "physics/Collider.h"
#include "physics/Physics.h"
#include "physics/Status.h"
#include "render/ParticleEmitter.h"

#include <glm/geometric.hpp>

#include <vector>

namespace
{
constexpr unsigned kSlice = static_cast<unsigned>(StatusFlag::Slice);
constexpr unsigned kSmash = static_cast<unsigned>(StatusFlag::Smash);
constexpr unsigned kIgnite = static_cast<unsigned>(StatusFlag::Ignite);

class FurnitureTest : public test::ItemTest
{
protected:
    void SetUp() override
    {
        ItemTest::SetUp();
        // A chip without a Physics of its own: breaking gives it one.
        test::WriteFile("Data/Entity/woodchip.json",
                        R"({"name": "woodchip", "transform": {"scale": {"x": 8, "y": 4}}})");
        _room = &Load("furniturelab", R"({"entities": [
            {"name": "bare", "transform": {"translation": {"x": -300, "y": 0}},
             "components": {"behaviorfurniture": {"destroymaterial": 1, "leftoveramount": 0}}},
            {"name": "crate", "transform": {"translation": {"x": 100, "y": 50}},
             "components": {"behaviorfurniture": {"destroymaterial": 2, "leftoveramount": 3}}},
            {"name": "stool", "transform": {"translation": {"x": 300, "y": 0}},
             "components": {"behaviorfurniture": {"destroymaterial": 0, "leftoveramount": 3}}}]})");
    }

    std::vector<Entity*> Chips() const
    {
        std::vector<Entity*> chips;
        for (const auto& e : _room->GetEntities().Entities())
            if (e->GetName() == "woodchip")
                chips.push_back(e.get());
        return chips;
    }

    Scene* _room = nullptr;
};

class ThrowableTest : public test::ItemTest
{
protected:
    void SetUp() override
    {
        ItemTest::SetUp();
        _room = &Load("throwlab", R"({"entities": [
            {"name": "player", "transform": {"translation": {"x": -500, "y": 0}}},
            {"name": "crate", "transform": {"translation": {"x": 500, "y": 500}}},
            {"name": "brick", "transform": {"translation": {"x": 0, "y": 0}},
             "components": {"physics": {}, "collider": {"type": 2, "rigid": true, "shape": {"radius": 10}},
                            "particleemitter": {"maxparticles": 10},
                            "behaviorthrowable": {"radius": 50, "numuse": 1}}},
            {"name": "stone", "transform": {"translation": {"x": 0, "y": 300}},
             "components": {"behaviorthrowable": {"radius": 50, "numuse": 2}}},
            {"name": "charm", "transform": {"translation": {"x": 0, "y": -300}},
             "components": {"behaviorthrowable": {"radius": 50, "numuse": -1}}},
            {"name": "husk", "transform": {"translation": {"x": 300, "y": 0}},
             "components": {"behaviorthrowable": {"radius": 50, "numuse": 0}}}]})");
    }

    BehaviorThrowable& Item(const std::string& name) { return Behaviour<BehaviorThrowable>(*_room, name); }
    Entity& Named(const std::string& name) { return *_room->FindEntity(name); }
    // Hits `name` with the crate, as the collision pass would.
    void Hit(const std::string& name) { Item(name).OnCollision(Named(name), Named("crate")); }

    static void PlayerAt(const glm::vec2& at)
    {
        MessageSystem::Instance().Send(Message("playerdata", {at, glm::vec2(0.0f), 3, 1.0f}));
    }

    Scene* _room = nullptr;
};
} // namespace

TEST_F(FurnitureTest, OnlyCutsAndBlowsBreakIt)
{
    Behaviour<BehaviorFurniture>(*_room, "crate").OnStatusGained(kIgnite);
    Step(0.0f);
    EXPECT_NE(_room->FindEntity("crate"), nullptr);
    EXPECT_TRUE(Chips().empty());

    Behaviour<BehaviorFurniture>(*_room, "bare").OnStatusGained(kSlice);
    Step(0.0f);
    EXPECT_EQ(_room->FindEntity("bare"), nullptr) << "cut apart";
    EXPECT_TRUE(Chips().empty()) << "no leftovers to scatter";

    Behaviour<BehaviorFurniture>(*_room, "stool").OnStatusGained(kSmash);
    Step(0.0f);
    EXPECT_EQ(_room->FindEntity("stool"), nullptr);
    EXPECT_TRUE(Chips().empty()) << "no material to leave behind";
}

TEST_F(FurnitureTest, SmashedItScattersChipsOutwardAroundWhereItStood)
{
    BehaviorFurniture& crate = Behaviour<BehaviorFurniture>(*_room, "crate");
    crate.OnStatusGained(kSmash);
    crate.OnStatusGained(kSlice); // the same contact may carry both
    Step(0.0f);
    EXPECT_EQ(_room->FindEntity("crate"), nullptr);
    const std::vector<Entity*> chips = Chips();
    ASSERT_TRUE(chips.size() == 3 || chips.size() == 4) << chips.size();
    const glm::vec2 centre(100.0f, 50.0f);
    for (Entity* chip : chips)
    {
        const glm::vec2 offset = chip->GetTransform().GetTranslation() - centre;
        EXPECT_NEAR(glm::length(offset), BehaviorFurniture::kChipDistance, 1e-3f);
        const Physics* physics = chip->Get<Physics>(ctype::Physics);
        ASSERT_NE(physics, nullptr);
        EXPECT_NEAR(glm::length(physics->GetVelocity()), BehaviorFurniture::kChipSpeed, 1e-3f);
        EXPECT_NEAR(glm::dot(glm::normalize(offset), glm::normalize(physics->GetVelocity())), 1.0f, 1e-4f);
    }
}

TEST_F(FurnitureTest, AMissingChipArchetypeIsReportedAndItStillBreaks)
{
    std::filesystem::remove("Data/Entity/woodchip.json");
    Behaviour<BehaviorFurniture>(*_room, "crate").OnStatusGained(kSmash);
    Step(0.0f);
    EXPECT_EQ(_room->FindEntity("crate"), nullptr);
    EXPECT_TRUE(Chips().empty());
    EXPECT_NE(test::ReadTrace().find("Data/Entity/woodchip.json: no archetype \"woodchip\" could be made; the "
                                     "furniture breaks without chips"),
              std::string::npos);
}

TEST_F(FurnitureTest, TheCheatClearsAwayEveryPiece)
{
    Cheats::SetQuery([](std::string_view name) { return name == "Destroy Furniture"; });
    Step();
    Step();
    EXPECT_EQ(_room->FindEntity("bare"), nullptr);
    EXPECT_EQ(_room->FindEntity("crate"), nullptr);
    EXPECT_EQ(_room->FindEntity("stool"), nullptr);
    EXPECT_TRUE(Chips().empty()) << "cleared, not broken";
}

TEST_F(ThrowableTest, WithOneUseItBreaksOnTheFirstHitThatIsNotThePlayer)
{
    Item("brick").OnCollision(Named("brick"), Named("player"));
    EXPECT_EQ(Item("brick")._numUse, 1) << "the thrower is never hit";
    const ParticleEmitter* dust = Named("brick").Get<ParticleEmitter>(ctype::ParticleEmitter);
    EXPECT_EQ(dust->AliveCount(), 0u);
    Hit("brick");
    EXPECT_EQ(dust->AliveCount(), 3u) << "one for the knock, two as it breaks";
    Step();
    EXPECT_EQ(_room->FindEntity("brick"), nullptr);
}

TEST_F(ThrowableTest, HitsCountOncePerKnockAndEndlessOnesNeverBreak)
{
    Hit("stone");
    EXPECT_EQ(Item("stone")._numUse, 1);
    Hit("stone");
    EXPECT_EQ(Item("stone")._numUse, 1) << "still ringing from the last hit";
    LetSoundsEnd();
    Hit("stone");
    Step();
    EXPECT_EQ(_room->FindEntity("stone"), nullptr);

    for (int i = 0; i < 3; ++i)
    {
        Hit("charm");
        LetSoundsEnd();
    }
    EXPECT_EQ(Item("charm")._numUse, BehaviorThrowable::kEndless);
    EXPECT_NE(_room->FindEntity("charm"), nullptr);
}

TEST_F(ThrowableTest, LyingStillItGlowsAndStopsColliding)
{
    Lighting& glow = AddLight(*_room, "brick");
    Lighting& husk = AddLight(*_room, "husk");
    husk._factor = 5.0f;
    Step();
    EXPECT_FALSE(Named("brick").Get<Collider>(ctype::Collider)->IsEnabled());
    EXPECT_FLOAT_EQ(glow._factor, BehaviorThrowable::kHighlight);
    EXPECT_FLOAT_EQ(husk._factor, 0.0f) << "used up: no highlight";

    Named("brick").Get<Physics>(ctype::Physics)->SetVelocity({300.0f, 0.0f});
    Step();
    EXPECT_FLOAT_EQ(glow._factor, 0.0f) << "in flight";
}

TEST_F(ThrowableTest, InteractingCloseByHandsItToThePlayer)
{
    // Too far: nothing happens.
    PlayerAt({60.0f, 0.0f});
    Press();
    Release();
    EXPECT_EQ(MessageSystem::Instance().Get("throwable"), nullptr);

    // A used-up one is left where it lies.
    PlayerAt({300.0f, 20.0f});
    Press();
    Release();
    EXPECT_EQ(MessageSystem::Instance().Get("throwable"), nullptr);
    EXPECT_NE(_room->FindEntity("husk"), nullptr);

    PlayerAt({0.0f, 40.0f});
    Press();
    Message* handed = MessageSystem::Instance().Get("throwable", true);
    ASSERT_NE(handed, nullptr);
    const EntityParcel* parcel = handed->Arg<EntityParcel>(0);
    ASSERT_TRUE(parcel && *parcel && **parcel);
    std::unique_ptr<Entity> item = std::move(**parcel);
    EXPECT_EQ(item->GetName(), "brick");
    EXPECT_EQ(item->Get<BehaviorThrowable>(ctype::Behavior)->_numUse, 1) << "its uses go with it";
    Release();
    EXPECT_EQ(_room->FindEntity("brick"), nullptr) << "gone from the floor";
}
