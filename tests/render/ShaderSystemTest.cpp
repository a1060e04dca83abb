#include "TestSupport.h"

#include "render/ShaderSystem.h"

#include <gmock/gmock.h>

using ::testing::HasSubstr;

// Without a GL context the table is read and checked but nothing is compiled.
class ShaderSystemTest : public test::ScratchTest
{
protected:
    bool InitWith(const std::string& table)
    {
        test::WriteFile(ShaderSystem::kTablePath, table);
        return ShaderSystem::Instance().Init();
    }
};

TEST_F(ShaderSystemTest, RowsLoadInOrderBadOnesAreReportedAndNoUsableRowFailsStartUp)
{
    ASSERT_TRUE(InitWith(R"([
        {"name": "default", "vertexfile": "a.glsl", "pixelfile": "b.glsl"},
        {"name": "fog", "vertexfile": "c.glsl", "pixelfile": "d.glsl", "fadeswithtint": true},
        {"name": "default", "vertexfile": "e.glsl", "pixelfile": "f.glsl"}])"));
    const auto& entries = ShaderSystem::Instance().Entries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_FALSE(entries[0]->_fadesWithTint) << "unless the row says so";
    EXPECT_TRUE(entries[1]->_fadesWithTint);
    EXPECT_EQ(entries[0]->_name, "default");
    EXPECT_EQ(entries[0]->_pixelFile, "b.glsl");
    EXPECT_EQ(entries[1]->_vertexFile, "c.glsl");
    EXPECT_TRUE(entries[1]->_geometryFile.empty());
    EXPECT_EQ(ShaderSystem::Instance().Find("fog"), entries[1].get());
    EXPECT_EQ(ShaderSystem::Instance().Find("Fog"), nullptr);

    ShaderSystem::Instance().Exit();
    EXPECT_TRUE(ShaderSystem::Instance().Entries().empty()) << "exit empties the list";
    EXPECT_EQ(ShaderSystem::Instance().Find("default"), nullptr);

    ASSERT_TRUE(InitWith(R"({"one": {"name": "default", "vertexfile": "a", "pixelfile": "b"}})"));
    EXPECT_NE(ShaderSystem::Instance().Find("default"), nullptr);

    ShaderSystem::Instance().Exit();
    ASSERT_TRUE(InitWith(R"([
        {"name": "nopixel", "vertexfile": "a.glsl"},
        {"name": "numeric", "vertexfile": "a.glsl", "pixelfile": 7},
        {"name": "fades", "vertexfile": "a.glsl", "pixelfile": "b.glsl", "fadeswithtint": "yes"},
        "not a row",
        {"name": "good", "vertexfile": "a.glsl", "pixelfile": "b.glsl"}])"));
    ASSERT_EQ(ShaderSystem::Instance().Entries().size(), 1u);
    EXPECT_EQ(ShaderSystem::Instance().Entries()[0]->_name, "good");
    const std::string trace = test::ReadTrace();
    EXPECT_THAT(trace, HasSubstr("Data/Shaders/shaders.json: /0: key 'pixelfile' not found"));
    EXPECT_THAT(trace, HasSubstr("Data/Shaders/shaders.json: /1/pixelfile: type must be string, but is number"));
    EXPECT_THAT(trace, HasSubstr("Data/Shaders/shaders.json: /2/fadeswithtint: type must be boolean, but is string"));
    EXPECT_THAT(trace, HasSubstr("Data/Shaders/shaders.json: /3: type must be object, but is string"));

    ShaderSystem::Instance().Exit();
    std::filesystem::remove(ShaderSystem::kTablePath);
    EXPECT_FALSE(ShaderSystem::Instance().Init());
    EXPECT_THAT(test::ReadTrace(), HasSubstr("Data/Shaders/shaders.json: cannot open the shader table"));

    for (const char* table : {"", "[]", "{", "42", R"([{"name": "x"}])"})
    {
        EXPECT_FALSE(InitWith(table)) << table;
        ShaderSystem::Instance().Exit();
    }
    EXPECT_THAT(test::ReadTrace(), HasSubstr("the shader table holds no usable entry"));
}
