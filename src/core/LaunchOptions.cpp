#include "core/LaunchOptions.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace
{
template <typename T> bool ParseInteger(const std::string& text, T& out)
{
    const char* end = text.data() + text.size();
    auto result = std::from_chars(text.data(), end, out);
    return result.ec == std::errc() && result.ptr == end;
}

// "FRAME:PATH" with a frame counted from 0 and a non-empty path.
bool ParseFramePath(const std::string& text, std::map<long long, std::string>& out)
{
    const auto colon = text.find(':');
    long long frame = -1;
    if (colon == std::string::npos || !ParseInteger(text.substr(0, colon), frame) || frame < 0 ||
        colon + 1 == text.size())
        return false;
    out[frame] = text.substr(colon + 1);
    return true;
}

bool ParseFloat(const std::string& text, float& out)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    out = std::strtof(text.c_str(), &end);
    return end == text.c_str() + text.size() && std::isfinite(out);
}
} // namespace

std::string LaunchUsage()
{
    return "Usage: gloamer [options]\n"
           "  --frames N      quit after N frames\n"
           "  --fixed-dt S    every frame advances S seconds instead of the clock, and the\n"
           "                  game keeps running without the focus\n"
           "  --seed N        seed the random generator with N instead of the time\n"
           "  --data DIR      content root (default: the executable's folder)\n"
           "  --scene NAME    first scene instead of splash_screen\n"
           "  --headless      no window and no GL; logic only\n"
           "  --windowed      stay in a 1920 x 1080 window instead of going fullscreen\n"
           "  --input FILE    play scripted input from FILE (see README.md)\n"
           "  --screenshot FRAME:PATH\n"
           "                  save the image drawn in frame FRAME (counted from 0) as a PNG\n"
           "  --dump FRAME:PATH\n"
           "                  write every live scene and its entities as JSON at the end of frame FRAME\n"
           "  --help          show this text\n"
           "  --version       show the version\n";
}

LaunchParse ParseLaunchOptions(const std::vector<std::string>& args)
{
    LaunchParse parse;
    LaunchOptions& o = parse.options;
    for (std::size_t i = 0; i < args.size(); ++i)
    {
        const std::string& flag = args[i];
        auto value = [&](std::string& out)
        {
            if (i + 1 >= args.size())
            {
                parse.error = flag + " needs a value";
                return false;
            }
            out = args[++i];
            return true;
        };

        std::string v;
        if (flag == "--help" || flag == "-h")
            o.help = true;
        else if (flag == "--version")
            o.version = true;
        else if (flag == "--headless")
            o.headless = true;
        else if (flag == "--windowed")
            o.windowed = true;
        else if (flag == "--input")
        {
            if (!value(o.inputFile))
                break;
            if (o.inputFile.empty())
                parse.error = "--input needs a file";
        }
        else if (flag == "--screenshot")
        {
            if (!value(v))
                break;
            if (!ParseFramePath(v, o.screenshots))
                parse.error = "--screenshot needs FRAME:PATH, not '" + v + "'";
        }
        else if (flag == "--dump")
        {
            if (!value(v))
                break;
            if (!ParseFramePath(v, o.dumps))
                parse.error = "--dump needs FRAME:PATH, not '" + v + "'";
        }
        else if (flag == "--frames")
        {
            if (!value(v))
                break;
            if (!ParseInteger(v, o.frames) || o.frames < 0)
                parse.error = "--frames needs a whole number of frames, not '" + v + "'";
        }
        else if (flag == "--fixed-dt")
        {
            if (!value(v))
                break;
            if (!ParseFloat(v, o.fixedDt) || o.fixedDt < 0.0f || o.fixedDt > 1.0f)
                parse.error = "--fixed-dt needs seconds between 0 and 1, not '" + v + "'";
        }
        else if (flag == "--seed")
        {
            if (!value(v))
                break;
            unsigned seed = 0;
            if (!ParseInteger(v, seed))
                parse.error = "--seed needs a non-negative whole number, not '" + v + "'";
            else
                o.seed = seed;
        }
        else if (flag == "--data")
        {
            if (!value(o.dataDir))
                break;
            if (o.dataDir.empty())
                parse.error = "--data needs a folder";
        }
        else if (flag == "--scene")
        {
            if (!value(o.scene))
                break;
            if (o.scene.empty())
                parse.error = "--scene needs a scene name";
        }
        else
            parse.error = "unknown option '" + flag + "'";

        if (!parse.error.empty())
            break;
    }
    return parse;
}
