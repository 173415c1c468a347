// The desktop program on a stepped clock, for the window tests: the real
// game in its real window, driven line by line over a pair of named pipes.
//
//   gulpo-stepped COMMANDS_PIPE REPLIES_PIPE
//
// Commands (each answered with one line, "ok ..." or "error ..."):
//   key CODE            a key press with the toolkit's key code (37 to 40, 13, 9, 32)
//   advance MS          moves the clock on; timers fire at their times
//   place SPRITE L T    puts a sprite at (L, T) twips
//   food I 0|1          hides or shows a dot
//   holdwait            at the next wait's first sleep, serves commands until "resume"
//   snap PATH W H       once the window has taken the size W x H the screen gives
//                       it, paints what is pending, then saves a fresh rendering of
//                       the whole window to PATH
//   state               the game's state in one line
#include <QApplication>
#include <QDeadlineTimer>
#include <QKeyEvent>
#include <QPixmap>
#include <QSocketNotifier>
#include <cstdio>
#include <sstream>
#include <string>

#include "game/frm_gulpo.h"
#include "platform/qt/form_window.h"
#include "tests/window/stepped/command_pipe.h"
#include "tests/window/stepped/stepped_platform.h"

namespace {

using window_test::CommandPipe;
using window_test::SteppedPlatform;

// How long a window may take to hear of its new size.
constexpr int kTakesItsSize = 2000;

int qtKeyOf(int code) {
    switch (code) {
        case platform::keys::left:
            return Qt::Key_Left;
        case platform::keys::up:
            return Qt::Key_Up;
        case platform::keys::right:
            return Qt::Key_Right;
        case platform::keys::down:
            return Qt::Key_Down;
        case platform::keys::enter:
            return Qt::Key_Return;
        case platform::keys::tab:
            return Qt::Key_Tab;
        case platform::keys::space:
            return Qt::Key_Space;
        default:
            return 0;
    }
}

class SteppedGame {
  public:
    SteppedGame(SteppedPlatform& platform, game::FrmGulpo& gulpo, CommandPipe& pipe)
        : platform_(platform), gulpo_(gulpo), pipe_(pipe) {}

    // Serves every command that has arrived.
    void serveArrived() {
        while (auto line = pipe_.nextLine()) {
            serve(*line);
        }
    }

    // Serves commands, waiting for them, until "resume".
    void serveUntilResume() {
        while (auto line = pipe_.waitForLine()) {
            if (*line == "resume") {
                pipe_.reply("ok");
                return;
            }
            serve(*line);
        }
    }

  private:
    void serve(const std::string& line) {
        std::istringstream in(line);
        std::string verb;
        in >> verb;
        try {
            pipe_.reply(run(verb, in));
        } catch (const std::exception& e) {
            pipe_.reply(std::string("error ") + e.what());
        }
    }

    std::string run(const std::string& verb, std::istringstream& in) {
        if (verb == "key") {
            int code = 0;
            in >> code;
            press(qtKeyOf(code));
        } else if (verb == "advance") {
            long long ms = 0;
            in >> ms;
            platform_.advance(ms);
        } else if (verb == "place") {
            std::string name;
            float left = 0;
            float top = 0;
            in >> name >> left >> top;
            game::place(gulpo_.sprite(name), left, top);
        } else if (verb == "food") {
            int index = 0;
            int shown = 0;
            in >> index >> shown;
            gulpo_.shpFood(index).setVisible(shown == 1);
        } else if (verb == "holdwait") {
            platform_.whileWaiting = [this] { serveUntilResume(); };
        } else if (verb == "snap") {
            std::string path;
            QSize size;
            in >> path >> size.rwidth() >> size.rheight();
            snap(path, size);
        } else if (verb == "state") {
            return "ok " + state();
        } else {
            return "error unknown command '" + verb + "'";
        }
        return "ok";
    }

    platform::FormWindow& window() { return *platform_.windowOf(gulpo_.frmGulpo); }

    void press(int qtKey) {
        QWidget* target = QApplication::focusWidget();
        QKeyEvent event(QEvent::KeyPress, qtKey, Qt::NoModifier);
        QApplication::sendEvent(target != nullptr ? target : &window(), &event);
    }

    void snap(const std::string& path, QSize screenSize) {
        // A size the X server has granted reaches the window as an event a
        // moment later; and what the game wrote reaches the screen first.
        QDeadlineTimer deadline(kTakesItsSize);
        QApplication::processEvents();
        while (window().size() != screenSize && !deadline.hasExpired()) {
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
        }
        if (window().size() != screenSize) {
            throw std::runtime_error("the window is not the size the screen shows");
        }
        if (!window().grab().save(QString::fromStdString(path), "PNG")) {
            throw std::runtime_error("cannot write " + path);
        }
    }

    std::string state() {
        std::ostringstream s;
        auto at = [&](const platform::Image& i) {
            s << i.Left() << "," << i.Top() << "," << i.picture().Handle();
        };
        int eaten = 0;
        for (int i = 0; i < gulpo_.shpFood.size(); ++i) {
            eaten += gulpo_.shpFood(i).Visible() ? 0 : 1;
        }
        s << "score=" << gulpo_.Score << " lives=" << gulpo_.Lives << " level=" << gulpo_.Level
          << " eaten=" << eaten << " start=" << gulpo_.cmdStart.Visible() << " gulpo=";
        at(gulpo_.imgGulpo);
        for (int n = 1; n <= 3; ++n) {
            const game::Ghost g = gulpo_.ghost(n);
            s << " ghost" << n << "=";
            at(g.sprite);
            s << "," << (g.timer.Enabled() ? "blue" : "normal");
        }
        return s.str();
    }

    SteppedPlatform& platform_;
    game::FrmGulpo& gulpo_;
    CommandPipe& pipe_;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: gulpo-stepped COMMANDS_PIPE REPLIES_PIPE\n");
        return 2;
    }
    SteppedPlatform platform;
    game::FrmGulpo gulpo(platform);
    gulpo.load();
    CommandPipe pipe(argv[1], argv[2]);
    SteppedGame stepped(platform, gulpo, pipe);
    QSocketNotifier arrived(pipe.commandsFd(), QSocketNotifier::Read);
    QObject::connect(&arrived, &QSocketNotifier::activated, [&] { stepped.serveArrived(); });
    return platform.run();
}
