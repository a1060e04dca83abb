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

class MeshTest : public test::ScratchTest
{
};

TEST_F(MeshTest, SpritesNamingOneMeshGetCopiesOfTheFirstOnesGeometry)
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
}

TEST_F(MeshTest, QuadInstanceMeshesAreAlwaysNew)
{
    const json c = Component(R"({"type": "quadinstance", "name": "swarm", "halfsizex": 1, "halfsizey": 1})");
    Mesh* a = Mesh::LookupOrBuild(c["mesh"]);
    Mesh* b = Mesh::LookupOrBuild(c["mesh"]);
    EXPECT_NE(a, b);
    EXPECT_EQ(Mesh::Table().size(), 2u);
}

TEST_F(MeshTest, CircleCopyKeepsItsOutlinePairs)
{
    auto circle = Mesh::ForComponent(Component(R"({"type": "circle", "name": "ring", "divisions": 3})"));
    ASSERT_TRUE(circle);
    EXPECT_EQ(circle->GetGpu()->GetVertexCount(), 9u);
    EXPECT_EQ(circle->GetGpu()->GetIndexCount(), 6u);
    EXPECT_EQ(circle->GetGpu()->Indices().back(), (IndexPair{5, 8}));
}

TEST_F(MeshTest, NoMeshKeyMeansNoMesh)
{
    EXPECT_EQ(Mesh::ForComponent(json::parse(R"({"text": "x"})")), nullptr);
    EXPECT_TRUE(Mesh::Table().empty());
}

TEST_F(MeshTest, EmptyShapesGiveNoMeshAndHugeDivisionsAreCapped)
{
    EXPECT_EQ(Mesh::ForComponent(Component(R"({"type": "circle", "name": "nothing", "divisions": -3})")), nullptr);
    EXPECT_TRUE(Mesh::Table().empty()) << "a failed build adds nothing to the table";
    EXPECT_THAT(test::ReadTrace(), HasSubstr("(entity): /mesh/type: mesh \"nothing\" has no vertices; not drawn"));

    auto huge = Mesh::ForComponent(Component(R"({"type": "circle", "name": "huge", "divisions": 2000000000})"));
    ASSERT_TRUE(huge);
    EXPECT_EQ(huge->GetGpu()->GetVertexCount(), 3u * Mesh::kMaxDivisions);
}

TEST_F(MeshTest, WrongTypesAreJsonErrorsAndAddNothing)
{
    EXPECT_THROW(Mesh::ForComponent(Component(R"({"type": 3, "name": "q"})")), json::type_error);
    EXPECT_THROW(Mesh::ForComponent(Component(R"({"type": "quad", "name": "q", "halfsizex": "big"})")),
                 json::type_error);
    EXPECT_THROW(Mesh::ForComponent(Component(R"("quad")")), json::type_error);
    EXPECT_TRUE(Mesh::Table().empty());
}
