#include "TestSupport.h"

#include "render/ScreenCamera.h"

namespace
{
int g_uploads = 0;
glm::mat4 g_uploaded{0.0f};

void RecordUpload(int, int, const glm::mat4& projection)
{
    ++g_uploads;
    g_uploaded = projection;
}

glm::vec4 Project(const glm::mat4& m, float x, float y)
{
    return m * glm::vec4(x, y, 0.0f, 1.0f);
}
} // namespace

using ScreenCameraTest = test::ScratchTest;

TEST_F(ScreenCameraTest, AnyFramebufferShowsNineteenTwentyUnitsAcrossAndResizesUpload)
{
    const ScreenProjection small = MakeScreenProjection(1280, 720);
    EXPECT_FLOAT_EQ(small._pixelScale, 1.5f);
    const glm::vec4 corner = Project(small._projection, 960.0f, 540.0f);
    EXPECT_FLOAT_EQ(corner.x, 1.0f) << "1280 pixels wide shows 1920 units";
    EXPECT_FLOAT_EQ(corner.y, 1.0f) << "720 pixels high shows 1080 units";
    const glm::vec4 other = Project(small._projection, -960.0f, -540.0f);
    EXPECT_FLOAT_EQ(other.x, -1.0f);
    EXPECT_FLOAT_EQ(other.y, -1.0f);

    const ScreenProjection wide = MakeScreenProjection(2560, 1080);
    EXPECT_FLOAT_EQ(Project(wide._projection, 960.0f, 0.0f).x, 1.0f);
    EXPECT_FLOAT_EQ(Project(wide._projection, 0.0f, 405.0f).y, 1.0f) << "a wider window shows less height";
    const glm::vec4 seen = Project(wide._view, 30.0f, -40.0f);
    EXPECT_EQ(glm::vec2(seen), glm::vec2(30.0f, -40.0f)) << "looking down -z from (0, 0, 1) leaves x and y alone";

    ScreenCamera& camera = ScreenCamera::Instance();
    camera.Resize(1280, 720);
    EXPECT_FLOAT_EQ(camera.GetPixelScale(), 1.5f) << "without a hook the matrices are still made";

    g_uploads = 0;
    ScreenCamera::SetUploadHook(&RecordUpload);
    camera.Resize(960, 540);
    EXPECT_EQ(g_uploads, 1);
    EXPECT_EQ(g_uploaded, camera.GetProjection());
    EXPECT_FLOAT_EQ(camera.GetPixelScale(), 2.0f);

    camera.Resize(0, 0);
    EXPECT_EQ(g_uploads, 1);
    EXPECT_FLOAT_EQ(camera.GetPixelScale(), 2.0f);
}
