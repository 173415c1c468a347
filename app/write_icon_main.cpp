// Writes the game's icon as a PNG file, for installing beside the program.
#include <QGuiApplication>
#include <cstdio>

#include "app/game_icon.h"
#include "playfield/artwork.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: gulpo-write-icon SIZE FILE.png\n");
        return 2;
    }
    const int size = std::atoi(argv[1]);
    if (size <= 0 || !app::gameIcon(playfield::artwork::gulpoStart(), size).save(argv[2])) {
        std::fprintf(stderr, "gulpo-write-icon: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
