#include "TestSupport.h"

#include "render/Mesh.h"

#include <gmock/gmock.h>

using ::testing::HasSubstr;

namespace
{
json Component(const std::string& meshJson)
{
    return json::parse(R"({"mesh": )" + meshJson + "}");
}
} // namespace

using MeshTest = test::ScratchTest;

TEST_F(MeshTest, SpritesNamingOneMeshGetCopiesOfTheFirstOnesGeometryButInstanceMeshesAreNew)
{
    auto first = Mesh::ForComponent(Component(R"({"type": "quad", "name": "card", "halfsizex": 2, "halfsizey": 1,
                                                  "u": 1, "v": 1})"));
    auto second = Mesh::ForComponent(Component(R"({"type": "quad", "name": "card", "halfsizex": 50})"));
    ASSERT_TRUE(first && second);
    EXPECT_EQ(Mesh::Table().size(), 1u);
    EXPECT_NE(first.get(), second.get()) << "each sprite owns its copy";
    EXPECT_NE(first->GetGpu(), second->GetGpu());
    EXPECT_FLOAT_EQ(second->GetShape().halfSizeX, 2.0f) << "the second halfsizex has no effect";
    EXPECT_FLOAT_EQ(second->GetGpu()->Vertices()[0].position.x, 2.0f);
    EXPECT_EQ(second->GetGpu()->GetVertexCount(), 6u);
    EXPECT_EQ(second->GetGpu()->GetDrawMode(), LumMesh::Filled);

    const json c = Component(R"({"type": "quadinstance", "name": "swarm", "halfsizex": 1, "halfsizey": 1})");
    EXPECT_NE(Mesh::LookupOrBuild(c["mesh"]), Mesh::LookupOrBuild(c["mesh"]));
    EXPECT_EQ(Mesh::Table().size(), 3u);

    auto circle = Mesh::ForComponent(Component(R"({"type": "circle", "name": "ring", "divisions": 3})"));
    ASSERT_TRUE(circle);
    EXPECT_EQ(circle->GetGpu()->GetVertexCount(), 9u);
    EXPECT_EQ(circle->GetGpu()->GetIndexCount(), 6u);
    EXPECT_EQ(circle->GetGpu()->Indices().back(), (IndexPair{5, 8}));

    Mesh::ClearTable();
    EXPECT_EQ(Mesh::ForComponent(json::parse(R"({"text": "x"})")), nullptr);
    EXPECT_EQ(Mesh::ForComponent(Component(R"({"type": "circle", "name": "nothing", "divisions": -3})")), nullptr);
    EXPECT_TRUE(Mesh::Table().empty()) << "a failed build adds nothing to the table";
    EXPECT_THAT(test::ReadTrace(), HasSubstr("(entity): /mesh/type: mesh \"nothing\" has no vertices; not drawn"));

    auto huge = Mesh::ForComponent(Component(R"({"type": "circle", "name": "huge", "divisions": 2000000000})"));
    ASSERT_TRUE(huge);
    EXPECT_EQ(huge->GetGpu()->GetVertexCount(), 3u * Mesh::kMaxDivisions);
    Mesh::ClearTable();

    EXPECT_THROW(Mesh::ForComponent(Component(R"({"type": 3, "name": "q"})")), json::type_error);
    EXPECT_THROW(Mesh::ForComponent(Component(R"({"type": "quad", "name": "q", "halfsizex": "big"})")),
                 json::type_error);
    EXPECT_THROW(Mesh::ForComponent(Component(R"("quad")")), json::type_error);
    EXPECT_TRUE(Mesh::Table().empty());
}
