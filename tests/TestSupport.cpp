#include "TestSupport.h"

#include "audio/SoundSystem.h"
#include "core/MainLoop.h"
#include "core/MessageSystem.h"
#include "core/Screen.h"
#include "core/Trace.h"
#include "data/Archetypes.h"
#include "data/EntityList.h"
#include "data/GroupSystem.h"
#include "data/StaticSettings.h"
#include "debug/DebugLines.h"
#include "input/InputSystem.h"
#include "render/Mesh.h"
#include "render/RenderState.h"
#include "render/SceneCamera.h"
#include "render/ScreenCamera.h"
#include "render/ShaderSystem.h"
#include "render/SpriteSource.h"
#include "scene/SceneSystem.h"
#include "ui/OptionSystem.h"

#include <fstream>
#include <sstream>
#include <unistd.h>

namespace test
{
void ResetGlobals()
{
    // Scenes first: ending them touches groups, archetypes, sounds and the trace log.
    SceneSystem::Instance().Reset();
    SoundSystem::Instance().Reset();
    OptionSystem::Reset();
    OptionSystem::SetWindowModeFunction(nullptr);
    MessageSystem::Instance().Clear();
    GroupSystem::Instance().Reset();
    ClearArchetypes();
    InputSystem::Instance().Reset();
    Mesh::ClearTable();
    SpriteSource::ClearTable();
    ShaderSystem::Instance().Exit();
    Engine::ResetRunFlag();
    Engine::SetClock(nullptr);
    RenderState::Reset();
    ScreenCamera::Instance().Reset();
    ScreenCamera::SetUploadHook(nullptr);
    FreeCameraSwitch() = false;
    SceneCamera::SetPointerSource(nullptr);
    Screen::SetQueries(nullptr, nullptr);
    Trace::Close();
    Trace::SetEcho(false);
    DebugLines::Instance().Clear();
}

std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteFile(const std::filesystem::path& path, const std::string& text)
{
    if (path.has_parent_path())
        std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

std::string ReadTrace()
{
    Trace::Close();
    return ReadFile("Trace.log");
}

void ScratchTest::SetUp()
{
    _previous = std::filesystem::current_path();
    std::string pattern = (std::filesystem::temp_directory_path() / "gloamer-test-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    _scratch = pattern;
    std::filesystem::current_path(_scratch);
    ResetGlobals();
}

void ScratchTest::TearDown()
{
    ResetGlobals();
    std::filesystem::current_path(_previous);
    std::error_code ec;
    std::filesystem::remove_all(_scratch, ec);
}

void ScratchTest::CopyContent()
{
    std::filesystem::copy(GLOAMER_CONTENT, _scratch,
                          std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
}

void ScratchTest::CopyTestData(const std::string& relative)
{
    std::filesystem::copy(std::filesystem::path(GLOAMER_TEST_DATA) / relative, _scratch,
                          std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
}
} // namespace test
