#include "platform/web/web_platform.h"

#include <emscripten.h>

#include <algorithm>
#include <cmath>

#include "platform/form.h"
#include "platform/key_press.h"
#include "platform/web/page.h"
#include "platform/web/page_window.h"

// Hands the thread to the browser for up to `ms` milliseconds (forever when
// negative), or until the page has news for the game: input, a new size, a
// hidden page shown again, another game asked for.
EM_ASYNC_JS(void, gulpo_page_sleep, (double ms), { await Module.gulpoPage.sleep(ms); });

namespace platform {

namespace {

WebPlatform* running = nullptr;

// A flat-out clock lets the page draw and take its events this often.
constexpr std::int64_t kFlatOutSliceMs = 25;

}  // namespace

WebPlatform::WebPlatform(Pace pace) : pace_(pace) {
    running = this;
}

WebPlatform::~WebPlatform() {
    windows_.clear();
    if (running == this) {
        running = nullptr;
    }
}

WebPlatform* WebPlatform::current() {
    return running;
}

void WebPlatform::waitForPage() {
    gulpo_page_sleep(-1);
}

void WebPlatform::attach(Form& form) {
    const int number = windows_.empty() ? 0 : windows_.back()->number() + 1;
    windows_.push_back(std::make_unique<PageWindow>(number, form, *this));
}

PageWindow* WebPlatform::windowNumbered(int window) const {
    for (const auto& w : windows_) {
        if (w->number() == window) {
            return w.get();
        }
    }
    return nullptr;
}

void WebPlatform::windowGone(PageWindow* window) {
    std::erase_if(windows_, [window](const auto& w) { return w.get() == window; });
}

void WebPlatform::input(const Input& input) {
    takeInput(input, pace_ == Pace::flatOut ? nowMs() : realTime_.now());
}

bool WebPlatform::keyDown(int window, int code, bool alt) {
    PageWindow* w = windowNumbered(window);
    if (w == nullptr || w->form() == nullptr) {
        return false;
    }
    const auto press = keyPress(w->form()->name(), code, alt);
    if (press) {
        input(*press);
    }
    return press.has_value();
}

void WebPlatform::click(int window, int element) {
    PageWindow* w = windowNumbered(window);
    CommandButton* b = w != nullptr ? w->button(element) : nullptr;
    if (b != nullptr) {
        input({Input::Kind::click, w->form()->name(), 0, b->name()});
    }
}

void WebPlatform::close(int window) {
    PageWindow* w = windowNumbered(window);
    if (w != nullptr && w->form() != nullptr) {
        input({Input::Kind::frameClose, w->form()->name(), 0, {}});
    }
}

void WebPlatform::showNotice(const std::string& text) {
    gulpo_page_notice(text.c_str());
}

void WebPlatform::refit() {
    for (const auto& w : windows_) {
        w->fit();
    }
}

void WebPlatform::interrupt() {
    interrupted_ = true;
    endProgram();
}

void WebPlatform::draw() {
    if (gulpo_page_resized() != 0) {
        refit();
    }
    for (const auto& w : windows_) {
        w->draw();
    }
}

std::int64_t WebPlatform::pace(std::int64_t until) {
    if (pace_ == Pace::flatOut) {
        // Flat out, but the page still draws and takes its events.
        if (realTime_.elapsedMs() - lastYieldMs_ >= kFlatOutSliceMs) {
            draw();
            gulpo_page_sleep(0);
            lastYieldMs_ = realTime_.elapsedMs();
        }
        return until;
    }
    const std::uint64_t postedBefore = posted();
    for (;;) {
        draw();
        // A hidden page stops the game's clock where it stood: the time it
        // was hidden is given up when it shows again.
        while (gulpo_page_hidden() != 0 && !ending()) {
            gulpo_page_sleep(-1);
        }
        realTime_.giveUpLongLag(until);
        const std::int64_t allowed = realTime_.now();
        if (allowed >= until || posted() != postedBefore || ending()) {
            return allowed;
        }
        gulpo_page_sleep(static_cast<double>(std::min<std::int64_t>(until - allowed, 1 << 30)));
    }
}

void WebPlatform::linger(const std::function<bool()>& done) {
    while (!done()) {
        draw();
        gulpo_page_sleep(-1);
    }
}

void WebPlatform::sound() {
    if (pace_ == Pace::flatOut) {
        return;
    }
    // The game's clock reads the dot's time; real time has moved on by as
    // much as the clock runs behind it.
    gulpo_page_beep(static_cast<double>(std::max<std::int64_t>(0, realTime_.now() - nowMs())));
}

}  // namespace platform

// The page's input, from its event handlers: each is only queued.
extern "C" {

EMSCRIPTEN_KEEPALIVE int gulpo_key(int window, int code, int alt) {
    platform::WebPlatform* p = platform::WebPlatform::current();
    return p != nullptr && p->keyDown(window, code, alt != 0) ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE void gulpo_click(int window, int element) {
    if (platform::WebPlatform* p = platform::WebPlatform::current()) {
        p->click(window, element);
    }
}

EMSCRIPTEN_KEEPALIVE void gulpo_close(int window) {
    if (platform::WebPlatform* p = platform::WebPlatform::current()) {
        p->close(window);
    }
}
}
