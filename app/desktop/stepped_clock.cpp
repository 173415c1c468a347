#include "app/desktop/stepped_clock.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QPixmap>
#include <sstream>

#include "platform/qt/form_window.h"

namespace desktop {

namespace {

// How long a window may take to hear of its new size.
constexpr int kTakesItsSize = 2000;

}  // namespace

SteppedClock::SteppedClock(platform::QtPlatform& platform, core::Session& session,
                           const std::string& commandsPath, const std::string& repliesPath)
    : platform_(platform),
      session_(session),
      pipe_(commandsPath, repliesPath),
      arrived_(pipe_.commandsFd(), QSocketNotifier::Read) {
    platform_.steppedClock = [this](std::int64_t until) { return pace(until); };
}

void SteppedClock::reply(const std::string& answer) {
    pipe_.reply(answer);
}

std::int64_t SteppedClock::pace(std::int64_t until) {
    if (until <= allowed_) {
        return allowed_;
    }
    // The game stands still until the test says more.
    if (replyOwed_) {
        replyOwed_ = false;
        reply("ok " + std::to_string(platform_.nowMs()));
    }
    for (;;) {
        while (auto line = pipe_.nextLine()) {
            if (serve(*line)) {
                return allowed_;
            }
        }
        if (pipe_.closed()) {
            // The test has gone: so has the game.
            platform_.endProgram();
            return allowed_;
        }
        // Paints the window meanwhile; the pipe's notifier wakes it.
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

bool SteppedClock::serve(const std::string& line) {
    std::istringstream in(line);
    std::string verb;
    in >> verb;
    if (!verb.empty() && verb[0] >= '0' && verb[0] <= '9') {
        return input(line);
    }
    if (verb == "advance") {
        long long ms = -1;
        if (in >> ms && ms >= 0) {
            allowed_ += ms;
            replyOwed_ = true;
            return true;
        }
        reply("error advance takes a whole number of milliseconds");
    } else if (verb == "state") {
        reply("ok " + session_.trace().stateNow());
    } else if (verb == "snap") {
        std::string path;
        int width = 0;
        int height = 0;
        in >> path >> width >> height;
        reply(snap(path, width, height));
    } else {
        reply("error unknown command '" + verb + "'");
    }
    return false;
}

bool SteppedClock::input(const std::string& line) {
    try {
        lines_.push_back(core::parseScript(line, "stepped input"));
    } catch (const core::ScriptError& e) {
        reply(std::string("error ") + e.what());
        return false;
    }
    const core::Script& script = lines_.back();
    for (const core::ScriptEvent& e : script.events) {
        if (e.t < platform_.nowMs()) {
            reply("error " + line + ": the clock already reads " +
                  std::to_string(platform_.nowMs()));
            return false;
        }
        platform_.post(e.t, [this, &script, e] { session_.deliver(e, script.written(e)); });
    }
    replyOwed_ = true;
    return true;
}

std::string SteppedClock::snap(const std::string& path, int width, int height) {
    platform::FormWindow* window = platform_.windowOf(session_.game().frmGulpo);
    // A size the X server has granted reaches the window as an event a
    // moment later; and what the game wrote reaches the screen first.
    const QSize screenSize(width, height);
    QDeadlineTimer deadline(kTakesItsSize);
    QApplication::processEvents();
    while (window->size() != screenSize && !deadline.hasExpired()) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    }
    if (window->size() != screenSize) {
        return "error the window is not the size the screen shows";
    }
    if (!window->grab().save(QString::fromStdString(path), "PNG")) {
        return "error cannot write " + path;
    }
    return "ok " + std::to_string(platform_.nowMs());
}

}  // namespace desktop
