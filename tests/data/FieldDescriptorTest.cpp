#include "Probes.h"
#include "TestSupport.h"

#include "data/StaticSettings.h"
#include "data/TypeRegistry.h"

TEST(FieldDescriptor, ReadsPresentKeysRefusesOutOfRangeNumbersAndWritesWhatItReads)
{
    ProbeSprite p;
    p.Read(json::parse(R"({"offset": {"y": 3}, "count": 9.7, "on": true})"));
    EXPECT_EQ(p._offset, glm::vec2(2, 3));
    EXPECT_EQ(p._count, 9) << "integers take any number, converted";
    EXPECT_TRUE(p._on);
    EXPECT_EQ(p._speed, 1.5f);

    ProbeSprite a;
    a._label = "lamp";
    a._speed = 0.1f;
    a._count = -4;
    a._on = true;
    a._offset = {-1.25f, 7.0f};
    json j;
    a.Write(j);
    EXPECT_EQ(j.dump(), R"({"count":-4,"label":"lamp","offset":{"x":-1.25,"y":7.0},"on":true,"speed":0.1})");

    ProbeSprite b;
    b.Read(j);
    json again;
    b.Write(again);
    EXPECT_EQ(again, j);

    unsigned u = 7;
    EXPECT_THROW(FieldIo::ReadValue(u, json(-1)), json::out_of_range);
    EXPECT_THROW(FieldIo::ReadValue(u, json(4294967296.0)), json::out_of_range);
    FieldIo::ReadValue(u, json(4294967295u));
    EXPECT_EQ(u, 4294967295u);
    int i = 0;
    FieldIo::ReadValue(i, json(-2147483648.9));
    EXPECT_EQ(i, -2147483648) << "a fraction is truncated before the check";
    float f = 0.0f;
    EXPECT_THROW(FieldIo::ReadValue(f, json(1e300)), json::out_of_range);

    struct Trap
    {
        Timer _stunTimer{3.0f, 3.0f};
    };
    const FieldDescriptor<Trap> descriptor("Trap", {GLOAMER_FIELD(Trap, _stunTimer)});

    Trap trap;
    descriptor.Read(trap, json::parse(R"({"stuntimer": {"timer": 0.5}})"));
    EXPECT_EQ(trap._stunTimer, (Timer{0.5f, 3.0f})) << "the duration keeps its value";
    json written;
    descriptor.Write(trap, written);
    EXPECT_EQ(written.dump(), R"({"stuntimer":{"duration":3.0,"timer":0.5}})");
    EXPECT_THROW(descriptor.Read(trap, json::parse(R"({"stuntimer": 2})")), json::type_error);
    EXPECT_THROW(descriptor.Read(trap, json::parse(R"({"stuntimer": {"duration": "long"}})")), json::type_error);
}

TEST(ComponentRegistry, FindsByLowerCaseNameAndReplacesByName)
{
    const auto* node = ComponentRegistry::Find("probesprite");
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->_type, 0u);
    EXPECT_NE(dynamic_cast<ProbeSprite*>(node->Create().get()), nullptr);
    EXPECT_EQ(ComponentRegistry::Find("ProbeSprite"), nullptr) << "data files must use lower case";
    ASSERT_NE(ComponentRegistry::Find("transform"), nullptr);

    // Registering under a taken name leaves only the newer node, under both maps.
    ComponentRegistry::Register<ProbePhysics>(5, "ReplacedProbe");
    ComponentRegistry::Register<ProbeSprite>(0, "ReplacedProbe");
    const auto* replaced = ComponentRegistry::Find("replacedprobe");
    ASSERT_NE(replaced, nullptr);
    EXPECT_EQ(replaced->_type, 0u);
    EXPECT_NE(dynamic_cast<ProbeSprite*>(replaced->Create().get()), nullptr);
    EXPECT_EQ(ComponentRegistry::FindType(0), replaced);
    EXPECT_EQ(ComponentRegistry::FindType(5), nullptr) << "the destroyed node is not left under its old type";
    ComponentRegistry::Register<ProbeSprite>(0, "ProbeSprite");
    ComponentRegistry::Register<ProbePhysics>(5, "ProbePhysics");
}

namespace
{
float s_gain = 0.5f;
int s_radius = 10;
glm::vec2 s_origin{1, 1};
} // namespace

using StaticSettingsTest = test::ScratchTest;

TEST_F(StaticSettingsTest, BadKeysKeepDefaultsAndFilesAreCompletedAfterUseOrKeptAsBad)
{
    CopyTestData("corpus");
    s_gain = 0.5f;
    s_radius = 10;
    s_origin = {1, 1};
    StaticSettings::SetWriteBack(true);
    {
        StaticSettings settings("ProbeSettings", {{&s_gain, "_gain"}, {&s_radius, "_radius"}, {&s_origin, "_origin"}});
        settings.EnsureLoaded();
        EXPECT_EQ(s_gain, 0.5f) << "a string gain is reported and skipped";
        EXPECT_EQ(s_radius, 40);
        s_radius = 41;
    }
    StaticSettings::SetWriteBack(false);
    EXPECT_EQ(test::ReadFile("Data/Static/probesettings.json"),
              R"({"gain":0.5,"origin":{"x":1.0,"y":1.0},"radius":41})");
    EXPECT_NE(test::ReadTrace().find("Data/Static/probesettings.json: /gain: type must be number, but is string"),
              std::string::npos);

    test::WriteFile("Data/Static/probesettings.json", "[1, 2");
    StaticSettings::SetWriteBack(true);
    StaticSettings("Unused", {{&s_gain, "_gain"}});
    StaticSettings("ProbeSettings", {{&s_gain, "_gain"}}).EnsureLoaded();
    StaticSettings::SetWriteBack(false);
    EXPECT_FALSE(std::filesystem::exists("Data/Static/unused.json"));
    EXPECT_EQ(test::ReadFile("Data/Static/probesettings.json.bad"), "[1, 2");
}
