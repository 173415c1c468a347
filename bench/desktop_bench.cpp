// The desktop program measured from outside, under its own Xvfb, recording
// its game as a player would: the time from launch to the first painted
// frame, the CPU it uses while waiting for Start and while playing, its peak
// memory, the time from a key press (through XTEST) to the first frame that
// shows the player turned, in Start's pause and in play, and (from the
// timings it writes) the tick rate and the longest gap between ticks.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "app/desktop/timings_figures.h"
#include "sessions/xvfb_game.h"
// Xlib's names clash with Qt's, so it comes after the session's own headers.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace {

using namespace std::chrono;
using sessions::Millis;
using sessions::XvfbGame;

constexpr std::uint32_t kPureBlue = 0x0000FF;

// User plus system CPU time of a process, in seconds.
double cpuSeconds(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::istringstream fields(stat.substr(stat.rfind(')') + 2));
    std::string f;
    long long utime = 0;
    long long stime = 0;
    for (int i = 3; i <= 15 && fields >> f; ++i) {
        if (i == 14) {
            utime = std::stoll(f);
        } else if (i == 15) {
            stime = std::stoll(f);
        }
    }
    return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

long long peakResidentKb(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::stoll(line.substr(6));
        }
    }
    return -1;
}

// Turns the player standing on its start spot, where a wall lies above and
// below, so that only its picture changes, and times each key from the
// moment XTEST sends it to the first frame on the server that shows the
// turn. The milliseconds of each.
std::vector<double> keyToFrame(const std::string& display, sessions::XWindowId window, int turns) {
    Display* d = XOpenDisplay(display.c_str());
    std::vector<double> took;
    if (d == nullptr) {
        return took;
    }
    // The start spot, (840, 2880) twips, at 15 twips a pixel, with a margin.
    const int x = 52;
    const int y = 185;
    const int size = 30;
    auto picture = [&] {
        XImage* image = XGetImage(d, window, x, y, size, size, AllPlanes, ZPixmap);
        std::string bytes;
        if (image != nullptr) {
            bytes.assign(image->data, static_cast<std::size_t>(image->bytes_per_line) * size);
            XDestroyImage(image);
        }
        return bytes;
    };
    for (int i = 0; i < turns; ++i) {
        const std::string before = picture();
        const KeyCode key = XKeysymToKeycode(d, i % 2 == 0 ? XK_Up : XK_Down);
        XTestFakeKeyEvent(d, key, True, 0);
        XTestFakeKeyEvent(d, key, False, 0);
        XFlush(d);
        const auto sent = steady_clock::now();
        while (picture() == before && steady_clock::now() - sent < milliseconds(500)) {
        }
        took.push_back(duration<double, std::milli>(steady_clock::now() - sent).count());
        std::this_thread::sleep_for(milliseconds(60));
    }
    XCloseDisplay(d);
    return took;
}

double median(std::vector<double> v) {
    if (v.empty()) {
        return -1;
    }
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main() {
    const std::string scratch = "/tmp/gulpo-desktop-bench-" + std::to_string(getpid());
    const std::string timings = scratch + ".timings";
    const std::string recording = scratch + ".recording";
    XvfbGame session({"desktop_bench", {"--timings", timings, "--record", recording}});
    if (!session.launch()) {
        std::printf("desktop: the program showed no window: %s\n", session.state().c_str());
        return 1;
    }
    const auto window = session.mainWindow();
    const pid_t pid = session.pid();
    double firstFrameMs = -1;
    while (steady_clock::now() - session.launchedAt() < seconds(10)) {
        const sessions::Screenshot shot = session.x().capture(window);
        // Shape1, the top of the maze, is in view once the scene is painted.
        if (!shot.empty() && (shot.at(30, 12) & 0xFFFFFF) == kPureBlue) {
            firstFrameMs =
                duration<double, std::milli>(steady_clock::now() - session.launchedAt()).count();
            break;
        }
        std::this_thread::sleep_for(milliseconds(2));
    }

    std::this_thread::sleep_for(seconds(1));
    const double idleStart = cpuSeconds(pid);
    std::this_thread::sleep_for(seconds(10));
    const double idleCpu = (cpuSeconds(pid) - idleStart) / 10.0;

    session.x().focus(window, Millis(2000));
    session.press("alt+s");
    const auto started = steady_clock::now();
    const std::vector<double> inPause = keyToFrame(session.display(), window, 8);
    std::this_thread::sleep_until(started + milliseconds(2200));
    const std::vector<double> inPlay = keyToFrame(session.display(), window, 20);
    const double playStart = cpuSeconds(pid);
    const char* arrows[] = {"Left", "Up", "Right", "Down"};
    for (int i = 0; i < 25; ++i) {
        session.press(arrows[i % 4]);
        std::this_thread::sleep_for(milliseconds(400));
    }
    const double playCpu = (cpuSeconds(pid) - playStart) / 10.0;
    const long long peakKb = peakResidentKb(pid);

    session.closeAndTimeTheEnd(window, Millis(5000));
    const auto ended = session.exitStatus();
    const desktop::TickPace pace = desktop::tickPace(desktop::readTimings(timings));
    std::ifstream recorded(recording);
    const auto inputs = std::count(std::istreambuf_iterator<char>(recorded),
                                   std::istreambuf_iterator<char>(), '\n') -
                        1;
    std::remove(timings.c_str());
    std::remove(recording.c_str());
    std::printf("desktop: launch to first painted frame  %.0f ms   (goal < 300 ms)\n",
                firstFrameMs);
    std::printf(
        "desktop: CPU waiting for Start          %.2f %% of a core over 10 s   (goal < 1 %%)\n",
        idleCpu * 100);
    std::printf(
        "desktop: CPU while playing              %.2f %% of a core over 10 s   (goal < 10 %%)\n",
        playCpu * 100);
    std::printf("desktop: peak resident memory           %.1f MB   (goal < 80 MB)\n",
                static_cast<double>(peakKb) / 1024.0);
    std::printf(
        "desktop: %lld ticks, %.2f ticks/s over %.3f s of play, longest gap %.2f ms   "
        "(goal 60/s within 1 %%, no gap over 25 ms)\n",
        pace.ticks, pace.perSecond, pace.playedSeconds, pace.longestGapMs);
    std::printf(
        "desktop: key to the frame showing it, in Start's pause: median %.1f ms, most "
        "%.1f ms over %zu keys (a pause handles keys every 100 ms)\n",
        median(inPause), inPause.empty() ? -1 : *std::max_element(inPause.begin(), inPause.end()),
        inPause.size());
    std::printf(
        "desktop: key to the frame showing it, in play: median %.1f ms, most %.1f ms "
        "over %zu keys\n",
        median(inPlay), inPlay.empty() ? -1 : *std::max_element(inPlay.begin(), inPlay.end()),
        inPlay.size());
    std::printf("desktop: %ld inputs recorded\n", static_cast<long>(inputs));
    std::printf("desktop: exit status %s\n", ended ? ended->describe().c_str() : "(still running)");
    return ended && ended->exited && ended->code == 0 ? 0 : 1;
}
