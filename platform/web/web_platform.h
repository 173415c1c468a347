#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/real_time.h"

namespace platform {

class PageWindow;

// The browser backend: the game's windows as parts of the page (the scene
// on a canvas, the labels and buttons as the page's own elements), the
// dot's sound through WebAudio, and the game's clock paced to real time, or
// flat out for a script watched at full speed. It runs on the page's own
// thread: pacing draws what changed and then sleeps, handing the thread to
// the browser, until the clock may move on or the page has input. The
// page's event handlers only queue input; no handler of the game runs
// inside them.
class WebPlatform : public Platform {
  public:
    enum class Pace : std::uint8_t { realTime, flatOut };

    explicit WebPlatform(Pace pace);
    ~WebPlatform() override;

    void attach(Form& form) override;
    // Said on the page, above the game.
    void showNotice(const std::string& text) override;

    // The player's input, as the page hands it over: `window` is the page's
    // number for the form, `element` its number for a button. A key's code
    // is the toolkit's (the page's keyCode); true when the game takes it.
    bool keyDown(int window, int code, bool alt);
    void click(int window, int element);
    // The window's frame close: for the page's own control that ends a game.
    void close(int window);
    // The page's size or pixel ratio changed: every window fits itself anew.
    void refit();

    // Ends the run for the page's own reasons (another game was asked for):
    // the program ends, but the game window was not closed.
    void interrupt();
    bool interrupted() const { return interrupted_; }

    // Shows the windows, running nothing of the game, until `done` says so.
    void linger(const std::function<bool()>& done);

    // The platform the page's input goes to, if one runs.
    static WebPlatform* current();
    // Hands the thread to the browser until the page has news for the
    // program: input, or another game asked for.
    static void waitForPage();

  protected:
    std::int64_t pace(std::int64_t until) override;
    void sound() override;

  private:
    friend class PageWindow;

    PageWindow* windowNumbered(int window) const;
    void windowGone(PageWindow* window);
    void input(const Input& input);
    void draw();

    Pace pace_;
    RealTime realTime_;
    bool interrupted_ = false;
    // When the flat-out clock last let the page draw and take its events.
    std::int64_t lastYieldMs_ = 0;
    std::vector<std::unique_ptr<PageWindow>> windows_;
};

}  // namespace platform
