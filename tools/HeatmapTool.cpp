// Draws a heatmap file over a top view of its level as a PNG, so a designer sees where
// players walk, die and meet the monster instead of reading numbers.
#include "debug/HeatmapImage.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    return RunHeatmapTool(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
