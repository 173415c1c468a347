// Gulpo in a page: the game on the browser backend, played from the
// keyboard and mouse and recorded as it goes, or watching a script (a file
// the player chose or dropped, or ?watch=URL), at the game's pace or flat
// out. The page's script (web/gulpo-page.js) asks for each game through the
// functions below and reads the trace and the recording they write.
#include <emscripten.h>

#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "app/core/program.h"
#include "app/core/script.h"
#include "game/game_events.h"
#include "platform/web/web_platform.h"

// What the game hands the page: the trace and the recording as they grow,
// and whether the game is over for good (a watched script at its end, the
// game's window closed).
EM_JS(void, gulpo_page_begin_game, (int watching), { Module.gulpoGame.beginGame(watching != 0); });
EM_JS(void, gulpo_page_trace, (const char* bytes, int length),
      { Module.gulpoGame.addTrace(UTF8ToString(bytes, length)); });
EM_JS(void, gulpo_page_record, (const char* bytes, int length),
      { Module.gulpoGame.addRecording(UTF8ToString(bytes, length)); });
EM_JS(void, gulpo_page_game_over, (int windowClosed),
      { Module.gulpoGame.gameOver(windowClosed != 0); });
// For measuring the page: the time of each handler and wait, if asked.
EM_JS(int, gulpo_page_timed, (void), { return Module.gulpoGame.timings ? 1 : 0; });
EM_JS(void, gulpo_page_time, (const char* what), {
    Module.gulpoGame.timings.push([ performance.now(), UTF8ToString(what) ]);
});

namespace {

// A game the page asked for.
struct Game {
    // The script to watch, or none for the player to play.
    std::optional<core::Script> watched;
    platform::WebPlatform::Pace pace = platform::WebPlatform::Pace::realTime;
};

// The next game asked for, which ends the one running.
std::optional<Game> next;

void ask(Game game) {
    next = std::move(game);
    if (platform::WebPlatform* running = platform::WebPlatform::current()) {
        running->interrupt();
    }
}

// Tells the page's timings of every handler and wait.
class Timings : public game::GameEvents {
  public:
    void handlerReturned(game::Handler handler, int /*detail*/) override {
        gulpo_page_time(std::string(game::handlerName(handler)).c_str());
    }
    void waitBegan(int /*ms*/) override { gulpo_page_time("wait"); }
    void waitEnded() override { gulpo_page_time("wait_end"); }
};

void runGame(Game game) {
    platform::WebPlatform platform(game.pace);
    const bool watching = game.watched.has_value();
    gulpo_page_begin_game(watching ? 1 : 0);
    core::Program program(platform, [](std::string_view lines) {
        gulpo_page_trace(lines.data(), static_cast<int>(lines.size()));
    });
    Timings timings;
    if (gulpo_page_timed() != 0) {
        program.session().alsoTell(timings);
    }
    if (watching) {
        program.watch(std::move(*game.watched));
    } else {
        const std::string header = core::recordingHeader(std::time(nullptr));
        gulpo_page_record(header.data(), static_cast<int>(header.size()));
        program.play([](std::string_view line) {
            gulpo_page_record(line.data(), static_cast<int>(line.size()));
        });
    }
    program.load();
    const bool closed = program.run();
    if (platform.interrupted()) {
        return;
    }
    gulpo_page_game_over(closed ? 1 : 0);
    if (!closed) {
        // The watched script is over: the game stands still, shown until
        // the page asks for another game or the window is closed.
        program.closeOnly();
        platform.linger([&platform] { return next.has_value() || platform.ending(); });
    }
}

std::string lastError;

}  // namespace

extern "C" {

// Watches a script of `length` bytes; `name` names it in messages. Returns
// "" when the script is good, else the one line saying what is wrong with
// it, and the game that runs goes on.
EMSCRIPTEN_KEEPALIVE const char* gulpo_watch(const char* bytes, int length, const char* name,
                                             int flatOut) {
    try {
        Game game;
        game.watched =
            core::parseScript(std::string_view(bytes, static_cast<std::size_t>(length)), name);
        game.pace = flatOut != 0 ? platform::WebPlatform::Pace::flatOut
                                 : platform::WebPlatform::Pace::realTime;
        ask(std::move(game));
        lastError.clear();
    } catch (const core::ScriptError& e) {
        lastError = e.what();
    }
    return lastError.c_str();
}

// A new game for the player to play, recorded afresh.
EMSCRIPTEN_KEEPALIVE void gulpo_play() {
    ask(Game{});
}
}

int main() {
    for (;;) {
        while (!next) {
            platform::WebPlatform::waitForPage();
        }
        Game game = std::move(*next);
        next.reset();
        runGame(std::move(game));
    }
}
