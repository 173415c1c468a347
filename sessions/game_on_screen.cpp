#include "sessions/game_on_screen.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>

#include <stdexcept>
#include <thread>

#include "sessions/dot_sounds.h"

namespace sessions {

GameOnScreen::GameOnScreen(XvfbGame& program, std::string beepLog,
                           const std::vector<std::string>& environment)
    : xvfb_(program), beepLog_(std::move(beepLog)) {
    XvfbGameOptions& options = xvfb_.options();
    options.arguments = {"--timings", beepLog_};
    options.environment.insert(options.environment.end(), environment.begin(), environment.end());
    Display* bellWatch = XOpenDisplay(xvfb_.display().c_str());
    if (bellWatch == nullptr) {
        throw std::runtime_error("cannot open display " + xvfb_.display());
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
    if (!xvfb_.launch()) {
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

bool GameOnScreen::press(const std::string& keys) {
    if (!xvfb_.x().focus(xvfb_.mainWindow(), Millis(2000))) {
        return false;
    }
    const ExitStatus s = xvfb_.press(keys);
    return s.exited && s.code == 0;
}

bool GameOnScreen::walk(const Leg& leg) {
    const std::size_t before = readDotTicks(beepLog_).size();
    const bool ate =
        press(leg.key) &&
        pollUntil([&] { return readDotTicks(beepLog_).size() >= before + leg.dots; }, Millis(5000));
    std::this_thread::sleep_for(Millis(300));
    return ate;
}

std::optional<ExitStatus> GameOnScreen::close(Millis timeout) {
    xvfb_.x().askToClose(xvfb_.mainWindow());
    return xvfb_.waitForEnd(timeout);
}

}  // namespace sessions
