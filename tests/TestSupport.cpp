#include "TestSupport.h"

#include "Game.h"
#include "Probes.h"
#include "audio/AudioGlobals.h"
#include "behaviors/BehaviorGlobals.h"
#include "core/CoreGlobals.h"
#include "core/Trace.h"
#include "data/DataGlobals.h"
#include "debug/DebugGlobals.h"
#include "input/InputGlobals.h"
#include "render/RenderGlobals.h"
#include "scene/SceneGlobals.h"
#include "ui/UiGlobals.h"

#include <fstream>
#include <sstream>
#include <unistd.h>

namespace test
{
void ResetGlobals()
{
    // Scenes first: ending them touches groups, archetypes, sounds and the trace log.
    // Then from the top layer down; core last, as the others may still write to the log.
    ResetSceneGlobals();
    ResetDebugGlobals();
    ResetUiGlobals();
    ResetBehaviorGlobals();
    ResetAudioGlobals();
    ResetInputGlobals();
    ResetRenderGlobals();
    ResetDataGlobals();
    ResetCoreGlobals();
    // Every test runs with the systems connected as the game connects them.
    Game::Wire();
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
    Calls().Clear();
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
