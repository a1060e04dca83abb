#include "gl/GlTest.h"

#include "core/FatalError.h"
#include "render/GlState.h"
#include "render/LumInstance.h"

#include <glad/gl.h>
#include <gmock/gmock.h>

using ::testing::HasSubstr;

class GlStateTest : public test::GlTest
{
};

TEST_F(GlStateTest, AnErrorIsBlamedOnTheCallThatMadeItNotOnALaterCheck)
{
    GLuint array = 0;
    glGenVertexArrays(1, &array);
    GlState::BindVertexArray(array);

    // An unchecked call leaves an error pending; the upload's own calls are fine.
    glEnable(0x1234);
    LumInstance instances;
    EXPECT_NO_THROW(instances.UploadOffsets(3, {{1.0f, 2.0f}}));
    EXPECT_THAT(test::ReadTrace(),
                HasSubstr("GL error GL_INVALID_ENUM (0x500) left by an unchecked call before an instance upload"));

    glEnable(0x1234);
    try
    {
        GlState::CheckError("glEnable");
        FAIL() << "a pending error stops the program";
    }
    catch (const FatalError& e)
    {
        EXPECT_THAT(e.what(), HasSubstr("GL error GL_INVALID_ENUM (0x500) in glEnable"));
    }
    GlState::BindVertexArray(0);
    GlState::ForgetVertexArray(array);
    glDeleteVertexArrays(1, &array);
}
