#include "app/desktop/options.h"

#include <algorithm>
#include <array>

#include "app/core/shown_text.h"
#include "app/core/usage_error.h"

namespace desktop {

namespace {

using core::UsageError;

// The options Qt takes for itself, with one dash or two: those that take a
// value (also written -name=value), and those that take none.
constexpr std::array<std::string_view, 16> kQtOptionsWithValue = {"platform",
                                                                  "platformpluginpath",
                                                                  "platformtheme",
                                                                  "plugin",
                                                                  "qwindowgeometry",
                                                                  "geometry",
                                                                  "qwindowtitle",
                                                                  "title",
                                                                  "qwindowicon",
                                                                  "icon",
                                                                  "session",
                                                                  "display",
                                                                  "name",
                                                                  "visual",
                                                                  "style",
                                                                  "stylesheet"};
constexpr std::array<std::string_view, 7> kQtFlags = {
    "reverse", "widgetcount", "sync", "nograb", "dograb", "testability", "qmljsdebugger"};

bool listed(std::string_view name, auto const& list) {
    return std::find(list.begin(), list.end(), name) != list.end();
}

// How many words a Qt option takes (the option itself included), or 0 when
// the word is not one of Qt's.
int qtOptionWords(std::string_view arg) {
    std::string_view name = arg.substr(arg.starts_with("--") ? 2 : 1);
    const auto equals = name.find('=');
    if (equals != std::string_view::npos) {
        name = name.substr(0, equals);
        return listed(name, kQtOptionsWithValue) || listed(name, kQtFlags) ? 1 : 0;
    }
    if (listed(name, kQtOptionsWithValue)) {
        return 2;
    }
    return listed(name, kQtFlags) ? 1 : 0;
}

}  // namespace

std::string_view helpText() {
    return "usage: gulpo [--record FILE] [--trace FILE]\n"
           "       gulpo --watch SCRIPT [--trace FILE]\n"
           "       gulpo --help | --version\n"
           "\n"
           "Gulpo: steer Gulpo through the maze with the arrow keys, eat every dot and\n"
           "keep away from the ghosts. Alt+S or Enter starts, Alt+A tells how to play.\n"
           "\n"
           "  --record FILE   write every input of the game (keys, clicks, closes) to FILE\n"
           "                  as a replay script, a line as it happens, so that\n"
           "                  gulpo-replay or --watch plays the same game again\n"
           "  --trace FILE    write the game's JSON Lines trace to FILE as it goes, the\n"
           "                  trace gulpo-replay writes for the same inputs\n"
           "  --watch SCRIPT  play a replay script (a recording, or any script\n"
           "                  gulpo-replay takes) in the window at its own pace; the keys\n"
           "                  do not steer, and closing the window ends the program; when\n"
           "                  the script ends without closing the window, the game stops\n"
           "                  and the window stays until it is closed\n"
           "  --timings FILE  write the wall-clock time of every tick, beep and repaint to\n"
           "                  FILE, for measuring the game\n"
           "  --help          this text\n"
           "  --version       the program's version\n"
           "\n"
           "Qt's own options (-platform, -style, -reverse, ...) work as in any Qt program.\n"
           "\n"
           "No file may serve two options. A file that cannot be written to its end\n"
           "during the game is said at once, in the window's title too, and the game goes\n"
           "on: a recording is kept up to its last whole line, a trace or timings removed.\n"
           "\n"
           "Exit status: 0 when the window was closed and every file written whole;\n"
           "1 when there is no graphical session; 2 for a bad command line, a script that\n"
           "cannot be read, a file that cannot be written or one file named twice (before\n"
           "any window opens, with no file changed); 3 when a file could not be written\n"
           "to its end; 4 when the display server went away (the trace is removed, the\n"
           "recording kept); 128 + N when signal N cut the game short.\n";
}

Options readOptions(int argc, const char* const* argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc || argv[i + 1][0] == '\0') {
                throw UsageError(std::string(arg) + " needs a file name");
            }
            return argv[++i];
        };
        if (arg == "--record") {
            options.recordPath = value();
        } else if (arg == "--trace") {
            options.tracePath = value();
        } else if (arg == "--watch") {
            options.watchPath = value();
        } else if (arg == "--timings") {
            options.timingsPath = value();
        } else if (arg == "--stepped") {
            options.steppedCommands = value();
            options.steppedReplies = value();
        } else if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--version") {
            options.version = true;
        } else if (arg.size() > 1 && arg.front() == '-' && qtOptionWords(arg) > 0) {
            i += qtOptionWords(arg) - 1;
        } else if (arg.size() > 1 && arg.front() == '-') {
            throw UsageError("unknown option " + core::singleQuoted(arg) +
                             " (gulpo --help lists them)");
        } else {
            throw UsageError("unexpected argument " + core::singleQuoted(arg) +
                             " (to play a script in the window: gulpo --watch " +
                             core::escaped(arg) + ")");
        }
    }
    if (!options.recordPath.empty() && !options.watchPath.empty()) {
        throw UsageError("--record and --watch do not go together: a watched game takes no input");
    }
    return options;
}

}  // namespace desktop
