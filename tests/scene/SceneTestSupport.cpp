#include "scene/SceneTestSupport.h"

#include "scene/Scene.h"
#include "scene/SceneSystem.h"

#include <sstream>

namespace test
{
std::vector<std::string> SceneNames()
{
    std::vector<std::string> names;
    for (const auto& scene : SceneSystem::Instance().GetScenes())
        names.push_back(scene->GetName());
    return names;
}

std::vector<std::string> TraceLines()
{
    std::istringstream in(ReadTrace());
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

::testing::AssertionResult InOrder(const std::vector<std::string>& lines, const std::vector<std::string>& wanted)
{
    std::size_t at = 0;
    for (const std::string& want : wanted)
    {
        while (at < lines.size() && lines[at] != want)
            ++at;
        if (at == lines.size())
        {
            std::string all;
            for (const std::string& line : lines)
                all += "\n  " + line;
            return ::testing::AssertionFailure() << "\"" << want << "\" missing or out of order in:" << all;
        }
        ++at;
    }
    return ::testing::AssertionSuccess();
}
} // namespace test
