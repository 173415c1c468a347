// Writes the game's icon for installing beside the program: a PNG of the
// given size, or the scalable SVG.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string_view>

#include "app/desktop/game_icon.h"
#include "app/desktop/icon_svg.h"
#include "playfield/artwork.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: gulpo-write-icon SIZE FILE.png | scalable FILE.svg\n");
        return 2;
    }
    const platform::Raster player = playfield::artwork::gulpoStart();
    bool written = false;
    if (std::string_view(argv[1]) == "scalable") {
        std::ofstream file(argv[2], std::ios::binary);
        file << desktop::iconSvg(player);
        written = static_cast<bool>(file.flush());
    } else {
        const int size = std::atoi(argv[1]);
        written = size > 0 && desktop::gameIcon(player, size).save(argv[2]);
    }
    if (!written) {
        std::fprintf(stderr, "gulpo-write-icon: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
