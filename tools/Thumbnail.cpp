// Shrinks a screenshot for the README: gloamer_thumbnail IN.png OUT.(png|jpg) WIDTH
// Full-size frames of a grainy dark game compress badly; a smaller picture keeps docs/ light.
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>
#define STB_IMAGE_RESIZE_IMPLEMENTATION
#include <stb_image_resize.h>
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    if (argc != 4)
    {
        std::cerr << "usage: gloamer_thumbnail IN.png OUT.(png|jpg) WIDTH\n";
        return 2;
    }
    const std::string out = argv[2];
    const int width = std::atoi(argv[3]);
    int w = 0, h = 0, channels = 0;
    unsigned char* pixels = stbi_load(argv[1], &w, &h, &channels, 3);
    if (!pixels || width <= 0)
    {
        std::cerr << "gloamer_thumbnail: cannot read " << argv[1] << " ("
                  << (pixels ? "bad width" : stbi_failure_reason()) << ")\n";
        stbi_image_free(pixels);
        return 1;
    }
    const int height = h * width / w;
    std::vector<unsigned char> small(static_cast<std::size_t>(width) * height * 3);
    const bool resized = stbir_resize_uint8(pixels, w, h, 0, small.data(), width, height, 0, 3) != 0;
    stbi_image_free(pixels);
    const bool jpeg = out.size() > 4 && out.substr(out.size() - 4) == ".jpg";
    const bool written = resized && (jpeg ? stbi_write_jpg(out.c_str(), width, height, 3, small.data(), 90)
                                          : stbi_write_png(out.c_str(), width, height, 3, small.data(), width * 3));
    if (!written)
    {
        std::cerr << "gloamer_thumbnail: cannot write " << out << "\n";
        return 1;
    }
    return 0;
}
