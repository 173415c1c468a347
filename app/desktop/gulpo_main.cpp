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

#include "app/core/cut_short.h"
#include "app/core/output_file.h"
#include "app/core/program.h"
#include "app/core/script_file.h"
#include "app/core/usage_error.h"
#include "app/desktop/options.h"
#include "app/desktop/recording.h"
#include "app/desktop/stepped.h"
#include "app/desktop/timings.h"
#include "app/game_icon.h"
#include "app/graphical_session.h"
#include "platform/qt/form_window.h"
#include "platform/qt/qt_platform.h"

namespace {

constexpr int kNoGraphicalSession = 1;
constexpr int kBadCommandLine = 2;

void say(const std::string& message) {
    std::fprintf(stderr, "gulpo: %s\n", message.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    desktop::Options options;
    try {
        options = desktop::readOptions(argc, argv);
    } catch (const core::UsageError& e) {
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
    std::optional<core::Script> watched;
    if (!options.watchPath.empty()) {
        try {
            watched = core::readScriptFile(options.watchPath);
        } catch (const core::ScriptError& e) {
            say(e.what());
            return kBadCommandLine;
        }
    }
    core::endCutShortOnSignals("gulpo");
    std::unique_ptr<desktop::Recording> recording;
    if (!options.recordPath.empty()) {
        recording = std::make_unique<desktop::Recording>(options.recordPath);
        if (!recording->error().empty()) {
            say(recording->error());
            return kBadCommandLine;
        }
        core::keptIfCutShort(options.recordPath, "the recording");
    }
    std::unique_ptr<core::OutputFile> trace;
    if (!options.tracePath.empty()) {
        trace = std::make_unique<core::OutputFile>(options.tracePath, "the trace");
        if (!trace->good()) {
            say(trace->finish());
            return kBadCommandLine;
        }
        core::removeIfCutShort(options.tracePath, "the trace");
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
    core::TraceWriter::Sink sink;
    if (trace) {
        sink = [&trace](std::string_view lines) { trace->write(lines); };
    }
    core::Program program(platform, sink);
    core::Session& session = program.session();
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
        program.watch(std::move(*watched));
    } else {
        program.play([&recording](std::string_view line) {
            if (recording) {
                recording->take(line);
            }
        });
    }
    // The window carries the player's picture as its icon.
    QApplication::setWindowIcon(
        QIcon(QPixmap::fromImage(app::gameIcon(session.game().imgGulpo.picture().raster(), 64))));
    program.load();
    if (timings) {
        platform.windowOf(session.game().frmGulpo)->installEventFilter(timings.get());
    }

    const bool ended = program.run();
    int status = 0;
    if (trace) {
        if (const std::string lost = trace->finish(); !lost.empty()) {
            say(lost);
            status = 1;
        }
        core::completed(options.tracePath);
    }
    if (!ended) {
        // The watched script is over: the game stands still, shown until
        // the window is closed.
        program.closeOnly();
        platform.linger();
    }
    return status;
}
