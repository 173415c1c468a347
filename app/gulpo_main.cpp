// The Gulpo desktop program: the game in a window on the desktop backend,
// played from the keyboard and mouse, or from a script (--watch); it can
// record its inputs (--record) and write its trace (--trace).
#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "app/desktop/options.h"
#include "app/desktop/recording.h"
#include "app/desktop/stepped.h"
#include "app/desktop/timings.h"
#include "app/game_icon.h"
#include "app/graphical_session.h"
#include "app/replay/cut_short.h"
#include "app/replay/options.h"
#include "app/replay/output_file.h"
#include "app/replay/script_file.h"
#include "app/replay/session.h"
#include "platform/qt/form_window.h"
#include "platform/qt/qt_platform.h"

namespace {

constexpr int kNoGraphicalSession = 1;
constexpr int kBadCommandLine = 2;

void say(const std::string& message) {
    std::fprintf(stderr, "gulpo: %s\n", message.c_str());
}

// A watched script that does not close the window ends at its last event:
// the game stops there, as at an end line.
void stopAtTheLastEvent(replay::Script& script) {
    if (script.end) {
        return;
    }
    replay::ScriptEvent end;
    end.verb = replay::Verb::end;
    end.t = script.events.empty() ? 0 : script.events.back().t;
    script.events.push_back(end);
    script.end = end.t;
}

// Ends the program when the main window is closed, and takes no other input.
void closeOnly(platform::QtPlatform& platform) {
    platform.onInput = [&platform](const platform::Input& input, std::int64_t /*at*/) {
        if (input.kind == platform::Input::Kind::frameClose && input.form == "frmGulpo") {
            platform.endProgram();
        }
    };
}

}  // namespace

int main(int argc, char** argv) {
    desktop::Options options;
    try {
        options = desktop::readOptions(argc, argv);
    } catch (const replay::UsageError& e) {
        say(e.what());
        return kBadCommandLine;
    }
    if (options.help || options.version) {
        const std::string text = options.help ? std::string(desktop::helpText())
                                              : std::string("gulpo " GULPO_VERSION "\n");
        std::fwrite(text.data(), 1, text.size(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }

    // Every file is read or opened before any window: a mistake costs no game.
    std::optional<replay::Script> watched;
    if (!options.watchPath.empty()) {
        try {
            watched = replay::readScriptFile(options.watchPath);
        } catch (const replay::ScriptError& e) {
            say(e.what());
            return kBadCommandLine;
        }
        stopAtTheLastEvent(*watched);
    }
    replay::endCutShortOnSignals("gulpo");
    std::unique_ptr<desktop::Recording> recording;
    if (!options.recordPath.empty()) {
        recording = std::make_unique<desktop::Recording>(options.recordPath);
        if (!recording->error().empty()) {
            say(recording->error());
            return kBadCommandLine;
        }
        replay::keptIfCutShort(options.recordPath, "the recording");
    }
    std::unique_ptr<replay::OutputFile> trace;
    if (!options.tracePath.empty()) {
        trace = std::make_unique<replay::OutputFile>(options.tracePath, "the trace");
        if (!trace->good()) {
            say(trace->finish());
            return kBadCommandLine;
        }
        replay::removeIfCutShort(options.tracePath, "the trace");
    }
    // Qt aborts when it finds no display; say what is missing instead.
    if (!app::graphicalSessionFound(argc, argv)) {
        std::fprintf(stderr, "%s\n", app::kNoGraphicalSession);
        return kNoGraphicalSession;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName("Gulpo");
    QApplication::setDesktopFileName(GULPO_APP_ID);
    platform::QtPlatform platform;
    replay::TraceWriter::Sink sink;
    if (trace) {
        sink = [&trace](std::string_view lines) { trace->write(lines); };
    }
    replay::Session session(platform, sink);
    session.trace().flushEachLine();
    std::unique_ptr<desktop::Timings> timings;
    if (!options.timingsPath.empty()) {
        timings = std::make_unique<desktop::Timings>(options.timingsPath, platform);
        if (!timings->isOpen()) {
            say("cannot write the timings " + options.timingsPath);
            return kBadCommandLine;
        }
        session.alsoTell(*timings);
        platform.onBeep = [&timings] { timings->beeped(); };
    }
    std::unique_ptr<desktop::SteppedGame> stepped;
    if (!options.steppedCommands.empty()) {
        stepped = std::make_unique<desktop::SteppedGame>(platform, session, options.steppedCommands,
                                                         options.steppedReplies);
    }
    if (watched) {
        session.play(*watched);
        closeOnly(platform);
    } else {
        session.takePlayerInput([&recording](const replay::ScriptEvent& e) {
            if (recording) {
                recording->take(e);
            }
        });
    }
    // The window carries the player's picture as its icon.
    QApplication::setWindowIcon(
        QIcon(QPixmap::fromImage(app::gameIcon(session.game().imgGulpo.picture().raster(), 64))));
    session.load();
    if (timings) {
        platform.windowOf(session.game().frmGulpo)->installEventFilter(timings.get());
    }

    session.run();
    int status = 0;
    if (trace) {
        if (const std::string lost = trace->finish(); !lost.empty()) {
            say(lost);
            status = 1;
        }
        replay::completed(options.tracePath);
    }
    if (!platform.ending()) {
        // The watched script is over: the game stands still, shown until
        // the window is closed.
        closeOnly(platform);
        platform.linger();
    }
    return status;
}
