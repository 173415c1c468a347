#pragma once

// Running the real program in a real X window: a private Xvfb server, child
// processes on it, and an Xlib client that finds, captures, focuses and
// closes windows the way a window manager would.
//
// Xlib's headers stay inside x_session.cpp (their macros clash with other
// libraries'), so windows are plain X ids here.

#include <sys/types.h>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/whole_file.h"

namespace window_test {

using Millis = std::chrono::milliseconds;
using XWindowId = unsigned long;

// Polls `done` every `step` until it holds or `timeout` has passed; whether
// it held.
template <typename Done>
bool pollUntil(Done done, Millis timeout, Millis step = Millis(10)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (done()) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(step);
    }
}

// How a child process ended.
struct ExitStatus {
    bool exited = false;  // it returned from main or called exit()
    int code = -1;        // its exit code, when it exited
    int signal = 0;       // the signal that ended it, when it did not
    std::string describe() const;
};

// A child's log is read whole, as every test reads a file.
using gulpo_test::readFile;

// A child process, with the test's environment minus any display settings,
// plus `extraEnv` ("NAME=value", each replacing any inherited value of the
// same name). Its output goes to `logPath`; its error output too, unless
// `errorLogPath` names a file of its own. `keepFd`, if not -1, stays open in
// the child. It is killed, if still running, when destroyed, and it dies
// with the test process.
class ChildProcess {
  public:
    ChildProcess(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnv,
                 const std::string& logPath, int keepFd = -1, const std::string& errorLogPath = "");
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess();

    pid_t pid() const { return pid_; }
    // Its status once it has ended; polls until `timeout` has passed.
    std::optional<ExitStatus> waitFor(Millis timeout);
    // SIGTERM, then SIGKILL if it has not ended within `grace`.
    ExitStatus stop(Millis grace = Millis(2000));

  private:
    pid_t pid_ = -1;
    std::optional<ExitStatus> status_;
};

// Runs `argv` to completion (at most `timeout`, then it is killed) on
// `display` and returns how it ended.
ExitStatus runToCompletion(const std::vector<std::string>& argv, const std::string& display,
                           Millis timeout);

// A private Xvfb server on a display number it picks itself.
class VirtualScreen {
  public:
    // Throws std::runtime_error if the server does not come up.
    VirtualScreen(const std::string& xvfbPath, const std::string& logPath);
    const std::string& display() const { return display_; }

  private:
    std::optional<ChildProcess> server_;
    std::string display_;
};

// A window's picture: 0x00RRGGBB per pixel, rows top first.
struct Screenshot {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    bool empty() const { return pixels.empty(); }
    std::uint32_t at(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
};

// The `width` by `height` pixels of `shot` from (left, top) on, which lie
// within it.
Screenshot crop(const Screenshot& shot, int left, int top, int width, int height);

struct WindowSize {
    int width = 0;
    int height = 0;
};

// Where a window stands with the server.
enum class MapState {
    gone,        // the window no longer exists
    unmapped,    // it exists but is not mapped
    unviewable,  // mapped, but an ancestor is not
    viewable,    // mapped and showing
};
const char* describe(MapState state);

// What a window's _NET_WM_ICON property holds: the icons' sizes, in order.
struct WindowIcons {
    std::string type;                // the property's type ("CARDINAL")
    int format = 0;                  // bits per item (32)
    unsigned long items = 0;         // how many items the property has
    std::vector<WindowSize> images;  // each icon's width and height
    bool wellFormed = false;         // the items are exactly whole icons
    // The largest icon's pixels as 0xAARRGGBB, rows top first.
    WindowSize largest;
    std::vector<std::uint32_t> largestPixels;
};

// An Xlib connection to a display.
class XClient {
  public:
    // Throws std::runtime_error if the display cannot be opened.
    explicit XClient(const std::string& display);
    XClient(const XClient&) = delete;
    XClient& operator=(const XClient&) = delete;
    ~XClient();

    // The largest mapped top-level window whose name is exactly `name`;
    // polls until `timeout` has passed, 0 if there is none.
    XWindowId findTopLevel(const std::string& name, Millis timeout);
    // Every top-level window whose name is exactly `name`, mapped or not.
    std::vector<XWindowId> topLevelsNamed(const std::string& name);
    // The names of the top-level windows the server shows (mapped and
    // viewable), "" for one without a name.
    std::vector<std::string> shownTopLevelNames();
    // The client area's size, or nothing if the window is gone.
    std::optional<WindowSize> size(XWindowId window);
    // The size of the screen the windows are on.
    std::optional<WindowSize> screenSize();
    // The window that `window` belongs to (WM_TRANSIENT_FOR), or 0.
    XWindowId owner(XWindowId window);
    MapState mapState(XWindowId window);
    // Polls until the window is in `wanted`; false if it is not by `timeout`.
    bool waitForMapState(XWindowId window, MapState wanted, Millis timeout);
    // What a window manager does when the user drags the frame: asks the
    // server for a new client size (with no window manager running, the
    // server grants it at once) and waits until the server reports it.
    bool resize(XWindowId window, WindowSize wanted, Millis timeout);
    // The window's _NET_WM_ICON property, or nothing if it has none.
    std::optional<WindowIcons> icons(XWindowId window);
    // The instance part of the window's WM_CLASS ("" if none).
    std::string instanceName(XWindowId window);
    // Whether the window lists WM_DELETE_WINDOW among its WM_PROTOCOLS.
    bool takesDeleteRequests(XWindowId window);
    // The window's client area as it is on the screen now (empty if the
    // window is gone).
    Screenshot capture(XWindowId window);
    // Gives the window the input focus, as a window manager would, and waits
    // until the server reports it has it.
    bool focus(XWindowId window, Millis timeout);
    // What a window manager's close button does: a WM_DELETE_WINDOW client
    // message on WM_PROTOCOLS.
    void askToClose(XWindowId window);

  private:
    void* display_ = nullptr;  // Display*
};

}  // namespace window_test
