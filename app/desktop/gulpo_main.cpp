// The Gulpo desktop program: the game in a window on the desktop backend,
// played from the keyboard and mouse, or from a script (--watch); it can
// record its inputs (--record) and write its trace (--trace).
#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <algorithm>
#include <array>
#include <cstdio>
#include <ctime>
#include <memory>
#include <optional>
#include <string>

#include "app/core/cut_short.h"
#include "app/core/one_file_one_job.h"
#include "app/core/output_file.h"
#include "app/core/program.h"
#include "app/core/script_file.h"
#include "app/core/standard_streams.h"
#include "app/core/usage_error.h"
#include "app/desktop/game_icon.h"
#include "app/desktop/graphical_session.h"
#include "app/desktop/options.h"
#include "app/desktop/stepped_clock.h"
#include "app/desktop/timings.h"
#include "platform/qt/display_gone.h"
#include "platform/qt/form_window.h"
#include "platform/qt/qt_platform.h"

namespace {

constexpr int kNoGraphicalSession = 1;
constexpr int kBadCommandLine = 2;
constexpr int kOutputLost = 3;
constexpr int kDisplayGone = 4;

constexpr const char* kDisplayWentAway = "the display server went away";

void say(const std::string& message) {
    std::fprintf(stderr, "gulpo: %s\n", message.c_str());
}

std::unique_ptr<core::OutputFile> outputFile(const std::string& path, const char* what,
                                             core::OutputFile::Kind kind) {
    return path.empty() ? nullptr : std::make_unique<core::OutputFile>(path, what, kind);
}

}  // namespace

int main(int argc, char** argv) {
    core::openClosedStandardStreams();
    desktop::Options options;
    try {
        options = desktop::readOptions(argc, argv);
        core::refuseOneFileForTwoJobs({{"--record", options.recordPath},
                                       {"--trace", options.tracePath},
                                       {"--watch", options.watchPath},
                                       {"--timings", options.timingsPath},
                                       {"--stepped", options.steppedCommands},
                                       {"--stepped", options.steppedReplies}});
    } catch (const core::UsageError& e) {
        say(e.what());
        return kBadCommandLine;
    }
    if (options.help || options.version) {
        const std::string text = options.help ? std::string(desktop::helpText())
                                              : std::string("gulpo " GULPO_VERSION "\n");
        std::fwrite(text.data(), 1, text.size(), stdout);
        return !core::closedAtStart(STDOUT_FILENO) && std::fflush(stdout) == 0 ? 0 : 1;
    }

    // Every check comes before any window, and before any file is emptied:
    // a mistake costs neither a game nor an earlier recording.
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
    using Kind = core::OutputFile::Kind;
    const auto recording = outputFile(options.recordPath, "the recording", Kind::lines);
    const auto trace = outputFile(options.tracePath, "the trace", Kind::whole);
    const auto timingsFile = outputFile(options.timingsPath, "the timings", Kind::whole);
    const std::array outputs{recording.get(), trace.get(), timingsFile.get()};
    for (core::OutputFile* o : outputs) {
        if (o != nullptr && !o->check().empty()) {
            say(o->error());
            return kBadCommandLine;
        }
    }
    // Qt aborts when it finds no display; say what is missing instead.
    if (!desktop::graphicalSessionFound(argc, argv)) {
        std::fprintf(stderr, "%s\n", desktop::kNoGraphicalSession);
        return kNoGraphicalSession;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName("Gulpo");
    QApplication::setDesktopFileName(GULPO_APP_ID);
    platform::QtPlatform platform;
    // The display is there and the toolkit runs: only now are the files
    // emptied. A write that fails later is said at once, on standard error
    // and in the window, and the game goes on.
    for (core::OutputFile* o : outputs) {
        if (o == nullptr) {
            continue;
        }
        if (!o->open()) {
            say(o->error());
            return kBadCommandLine;
        }
        o->onLost = [o, &platform](const std::string& message) {
            say(message);
            platform.showNotice(o->stopped());
        };
    }
    if (recording) {
        recording->write(core::recordingHeader(std::time(nullptr)));
    }
    core::TraceWriter::Sink sink;
    if (trace) {
        sink = [&trace](std::string_view lines) { trace->write(lines); };
    }
    core::Program program(platform, sink);
    core::Session& session = program.session();
    std::unique_ptr<desktop::Timings> timings;
    if (timingsFile) {
        timings = std::make_unique<desktop::Timings>(*timingsFile, platform);
        session.alsoTell(*timings);
        platform.onBeep = [&timings] { timings->beeped(); };
    }
    std::unique_ptr<desktop::SteppedClock> stepped;
    if (!options.steppedCommands.empty()) {
        stepped = std::make_unique<desktop::SteppedClock>(
            platform, session, options.steppedCommands, options.steppedReplies);
    }
    if (watched) {
        program.watch(std::move(*watched));
    } else {
        program.play([&recording](std::string_view line) {
            if (recording) {
                recording->write(line);
            }
        });
    }
    // The window carries the player's picture as its icon.
    QApplication::setWindowIcon(QIcon(
        QPixmap::fromImage(desktop::gameIcon(session.game().imgGulpo.picture().raster(), 64))));
    // A display server that goes away ends the game as a signal does.
    core::cutShortOnExit(kDisplayWentAway, kDisplayGone);
    platform::whenTheDisplayGoes([] { core::endCutShort(kDisplayWentAway, kDisplayGone); });
    program.load();
    if (timings) {
        platform.windowOf(session.game().frmGulpo)->installEventFilter(timings.get());
    }

    const bool ended = program.run();
    if (trace) {
        trace->finish();
    }
    if (!ended) {
        // The watched script is over: the game stands still, shown until
        // the window is closed.
        program.closeOnly();
        platform.linger();
    }
    const bool allWritten = std::all_of(outputs.begin(), outputs.end(), [](core::OutputFile* o) {
        return o == nullptr || o->finish();
    });
    core::exitsAsPlanned();
    return allWritten ? 0 : kOutputLost;
}
