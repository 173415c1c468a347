#pragma once

#include <string>
#include <string_view>

namespace desktop {

// What the gulpo command line asked for. Qt's own options (-platform,
// -style, ...) are left on the command line for Qt.
struct Options {
    std::string recordPath;
    std::string tracePath;
    std::string watchPath;
    // For measuring the game: the wall-clock time of every tick, beep and
    // repaint.
    std::string timingsPath;
    // For tests: the clock moves only when the test says, over two pipes.
    std::string steppedCommands;
    std::string steppedReplies;
    bool help = false;
    bool version = false;
};

// Reads the command line; throws core::UsageError naming what is wrong.
Options readOptions(int argc, const char* const* argv);

std::string_view helpText();

}  // namespace desktop
