#include "tests/sound/game_on_screen.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>

#include <sstream>
#include <stdexcept>

namespace sound_test {

namespace {

using window_test::Millis;

}  // namespace

GameOnScreen::GameOnScreen(const Paths& paths, const std::string& dir,
                           const std::vector<std::string>& extraEnv)
    : paths_(paths),
      beepLog_(dir + "/beeps.log"),
      outputLog_(dir + "/gulpo.out.log"),
      errorLog_(dir + "/gulpo.err.log") {
    screen_.emplace(paths.xvfb, dir + "/xvfb.log");
    Display* bellWatch = XOpenDisplay(screen_->display().c_str());
    if (bellWatch == nullptr) {
        throw std::runtime_error("cannot open display " + screen_->display());
    }
    bellWatch_ = bellWatch;
    int opcode = 0;
    int error = 0;
    int major = XkbMajorVersion;
    int minor = XkbMinorVersion;
    if (!XkbQueryExtension(bellWatch, &opcode, &xkbEvent_, &error, &major, &minor)) {
        throw std::runtime_error("the X server has no XKB, which reports the bell");
    }
    XkbSelectEvents(bellWatch, XkbUseCoreKbd, XkbBellNotifyMask, XkbBellNotifyMask);
    XSync(bellWatch, False);
    // env(1) sets the variables in place of any the test has itself (a
    // PULSE_SERVER of the desktop the test runs on, say).
    std::vector<std::string> command{"/usr/bin/env", "DISPLAY=" + screen_->display(),
                                     "QT_QPA_PLATFORM=xcb"};
    command.insert(command.end(), extraEnv.begin(), extraEnv.end());
    command.insert(command.end(), {paths.probe, "--beep-log", beepLog_});
    program_.emplace(command, std::vector<std::string>{}, outputLog_, -1, errorLog_);
    client_.emplace(screen_->display());
    window_ = client_->findTopLevel("Gulpo", Millis(10000));
    if (window_ == 0) {
        throw std::runtime_error("no window named \"Gulpo\" within 10 s; " + state());
    }
}

GameOnScreen::~GameOnScreen() {
    if (bellWatch_ != nullptr) {
        XCloseDisplay(static_cast<Display*>(bellWatch_));
    }
}

int GameOnScreen::bellsRung() {
    auto* d = static_cast<Display*>(bellWatch_);
    XSync(d, False);
    while (XPending(d) > 0) {
        XEvent event;
        XNextEvent(d, &event);
        if (event.type == xkbEvent_ &&
            reinterpret_cast<XkbAnyEvent*>(&event)->xkb_type == XkbBellNotify) {
            ++bells_;
        }
    }
    return bells_;
}

std::string GameOnScreen::errorOutput() const {
    return window_test::readFile(errorLog_);
}

std::string GameOnScreen::state() {
    std::ostringstream s;
    if (auto status = program_->waitFor(Millis(0))) {
        s << "the program " << status->describe();
    } else {
        s << "the program is still running";
    }
    s << "; its output:\n" << window_test::readFile(outputLog_) << window_test::readFile(errorLog_);
    return s.str();
}

bool GameOnScreen::press(const std::string& keys) {
    if (!client_->focus(window_, Millis(2000))) {
        return false;
    }
    const window_test::ExitStatus s = window_test::runToCompletion(
        {paths_.xdotool, "key", keys}, screen_->display(), Millis(5000));
    return s.exited && s.code == 0;
}

std::vector<std::string> GameOnScreen::shownWindows() {
    std::vector<std::string> names;
    Display* d = XOpenDisplay(screen_->display().c_str());
    if (d == nullptr) {
        return names;
    }
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &count) != 0) {
        for (unsigned int i = 0; i < count; ++i) {
            XWindowAttributes a{};
            if (XGetWindowAttributes(d, children[i], &a) == 0 || a.map_state != IsViewable) {
                continue;
            }
            char* title = nullptr;
            XFetchName(d, children[i], &title);
            names.emplace_back(title != nullptr ? title : "");
            if (title != nullptr) {
                XFree(title);
            }
        }
        if (children != nullptr) {
            XFree(children);
        }
    }
    XCloseDisplay(d);
    return names;
}

std::optional<window_test::ExitStatus> GameOnScreen::close(Millis timeout) {
    client_->askToClose(window_);
    return program_->waitFor(timeout);
}

}  // namespace sound_test
