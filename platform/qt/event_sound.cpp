#include "platform/qt/event_sound.h"

#include <canberra.h>
#include <pulse/pulseaudio.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <climits>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace platform {

namespace {

using Steady = std::chrono::steady_clock;
using std::chrono::milliseconds;

// The theme's bell for the window system; themes without it have the plain
// bell.
constexpr const char* kBellEvents[] = {"bell-window-system", "bell"};

// How long the end of the program waits for the worker to hang up.
constexpr milliseconds kHangUpWait{300};
// A dot's sound starts within 100 ms of the dot or not at all; the server
// takes up to about 40 ms to start a sample, so a dot whose sound has not
// been sent this long after it is dropped, and a server that has not
// answered by then is taken for hung.
constexpr milliseconds kFreshFor{50};
// A server that answers connects in milliseconds.
constexpr milliseconds kConnectWait{1000};
// Between tries to reach the server again: doubling from the first to the
// last, so that a server that comes back is heard from within a second.
constexpr milliseconds kFirstRetry{125};
constexpr milliseconds kLastRetry{1000};

// Puts the bell into the sample cache of the server that `applicationName`
// reaches, under the name of its event; that event, or "".
std::string cacheBell(const std::string& applicationName, const std::string& applicationId) {
    ca_context* context = nullptr;
    if (ca_context_create(&context) != CA_SUCCESS) {
        return "";
    }
    std::string cached;
    // Only a sound server: playing straight to the sound card would take it
    // from the desktop.
    if (ca_context_set_driver(context, "pulse") == CA_SUCCESS &&
        ca_context_change_props(context, CA_PROP_APPLICATION_NAME, applicationName.c_str(),
                                CA_PROP_APPLICATION_ID, applicationId.c_str(),
                                nullptr) == CA_SUCCESS &&
        ca_context_open(context) == CA_SUCCESS) {
        for (const char* event : kBellEvents) {
            if (ca_context_cache(context, CA_PROP_EVENT_ID, event, nullptr) == CA_SUCCESS) {
                cached = event;
                break;
            }
        }
    }
    // The sample stays in the server's cache.
    ca_context_destroy(context);
    return cached;
}

}  // namespace

// The game's thread hands dots to the worker here; the rest belongs to the
// worker, which talks to the server through its own main loop so that it
// can bound every wait.
struct EventSound::Shared {
    Shared() : wakeFd(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}
    ~Shared() {
        if (wakeFd >= 0) {
            ::close(wakeFd);
        }
    }
    Shared(const Shared&) = delete;
    Shared& operator=(const Shared&) = delete;

    std::mutex mutex;
    std::condition_variable ended;
    std::vector<Steady::time_point> asked;  // the times of dots not yet taken
    bool stopping = false;
    bool finished = false;
    // Connected, the bell cached and the server answering: the game hands
    // its dots to the worker rather than ringing the X bell.
    std::atomic<bool> ready{false};
    const int wakeFd;

    void wake() const {
        const std::uint64_t one = 1;
        // A full counter already wakes the worker.
        [[maybe_unused]] const ssize_t written = ::write(wakeFd, &one, sizeof one);
    }

    // The worker's side.
    void run(const std::string& applicationName, const std::string& applicationId);
    bool connect(const std::string& applicationName, const std::string& applicationId);
    void serve();
    void play();
    void hangUp();
    bool isStopping();
    // Runs the loop once: until an event of the server, a wake-up, or
    // `until`.
    void waitUntil(Steady::time_point until);

    pa_mainloop* loop = nullptr;
    pa_context* context = nullptr;
    pa_proplist* dotProps = nullptr;
    std::string event;
    std::deque<Steady::time_point> dots;
    // The server is asked whether it still has the bell before a dot's sound
    // is sent: a server that hangs or is stopped plays what it was sent once
    // it goes on, which would be late.
    enum class Asking { no, waiting, answered } asking = Asking::no;
    Steady::time_point askedAt;
    bool lost = false;  // the bell is gone, or the server did not answer
    bool noBell = false;
};

bool EventSound::Shared::isStopping() {
    const std::lock_guard lock(mutex);
    return stopping;
}

void EventSound::Shared::waitUntil(Steady::time_point until) {
    int timeout = -1;
    if (until != Steady::time_point::max()) {
        const auto left =
            std::chrono::duration_cast<std::chrono::microseconds>(until - Steady::now()).count();
        timeout = static_cast<int>(std::clamp<std::int64_t>(left, 0, INT_MAX));
    }
    if (pa_mainloop_prepare(loop, timeout) >= 0 && pa_mainloop_poll(loop) >= 0) {
        pa_mainloop_dispatch(loop);
    }
}

void EventSound::Shared::run(const std::string& applicationName, const std::string& applicationId) {
    loop = pa_mainloop_new();
    pa_mainloop_api* api = loop != nullptr ? pa_mainloop_get_api(loop) : nullptr;
    pa_io_event* wakeEvent = nullptr;
    if (api != nullptr && wakeFd >= 0) {
        wakeEvent = api->io_new(
            api, wakeFd, PA_IO_EVENT_INPUT,
            [](pa_mainloop_api*, pa_io_event*, int fd, pa_io_event_flags_t, void*) {
                std::uint64_t count = 0;
                [[maybe_unused]] const ssize_t got = ::read(fd, &count, sizeof count);
            },
            nullptr);
    }
    auto retry = kFirstRetry;
    while (wakeEvent != nullptr && !noBell && !isStopping()) {
        if (connect(applicationName, applicationId)) {
            retry = kFirstRetry;
            serve();
        }
        hangUp();
        const auto until = Steady::now() + retry;
        while (Steady::now() < until && !isStopping()) {
            waitUntil(until);
        }
        retry = std::min(retry * 2, kLastRetry);
    }
    if (wakeEvent != nullptr) {
        api->io_free(wakeEvent);
    }
    if (loop != nullptr) {
        pa_mainloop_free(loop);
    }
    const std::lock_guard lock(mutex);
    finished = true;
    ended.notify_all();
}

bool EventSound::Shared::connect(const std::string& applicationName,
                                 const std::string& applicationId) {
    pa_proplist* props = pa_proplist_new();
    pa_proplist_sets(props, PA_PROP_APPLICATION_NAME, applicationName.c_str());
    pa_proplist_sets(props, PA_PROP_APPLICATION_ID, applicationId.c_str());
    context =
        pa_context_new_with_proplist(pa_mainloop_get_api(loop), applicationName.c_str(), props);
    pa_proplist_free(props);
    // A game starts no sound server of its own.
    if (context == nullptr ||
        pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
        return false;
    }
    const auto until = Steady::now() + kConnectWait;
    while (PA_CONTEXT_IS_GOOD(pa_context_get_state(context)) &&
           pa_context_get_state(context) != PA_CONTEXT_READY && Steady::now() < until &&
           !isStopping()) {
        waitUntil(until);
    }
    if (pa_context_get_state(context) != PA_CONTEXT_READY) {
        return false;
    }
    // Reads the bell's file: once per connection, on this thread.
    event = cacheBell(applicationName, applicationId);
    if (event.empty()) {
        // With the server still there, the theme has no bell, or libcanberra
        // cannot reach the server: trying again would not help.
        noBell = pa_context_get_state(context) == PA_CONTEXT_READY;
        return false;
    }
    dotProps = pa_proplist_new();
    pa_proplist_sets(dotProps, PA_PROP_EVENT_ID, event.c_str());
    pa_proplist_sets(dotProps, PA_PROP_EVENT_DESCRIPTION, "Dot eaten");
    pa_proplist_sets(dotProps, PA_PROP_MEDIA_ROLE, "event");
    return true;
}

void EventSound::Shared::serve() {
    ready = true;
    while (!isStopping() && !lost && pa_context_get_state(context) == PA_CONTEXT_READY) {
        {
            const std::lock_guard lock(mutex);
            dots.insert(dots.end(), asked.begin(), asked.end());
            asked.clear();
        }
        const auto now = Steady::now();
        while (!dots.empty() && now - dots.front() > kFreshFor) {
            dots.pop_front();
        }
        if (asking == Asking::answered) {
            ready = true;
            asking = Asking::no;
            play();
        }
        if (asking == Asking::no && !dots.empty()) {
            pa_operation* question = pa_context_get_sample_info_by_name(
                context, event.c_str(),
                [](pa_context*, const pa_sample_info*, int eol, void* self) {
                    auto* shared = static_cast<Shared*>(self);
                    if (eol < 0) {
                        shared->lost = true;
                    } else if (eol > 0) {
                        shared->asking = Asking::answered;
                    }
                },
                this);
            if (question == nullptr) {
                return;
            }
            pa_operation_unref(question);
            asking = Asking::waiting;
            askedAt = now;
        }
        auto until = Steady::time_point::max();
        if (asking == Asking::waiting) {
            if (now - askedAt > kFreshFor) {
                // Hung: the X bell stands in until it answers.
                ready = false;
            } else {
                until = askedAt + kFreshFor + milliseconds(1);
            }
        }
        waitUntil(until);
    }
}

void EventSound::Shared::play() {
    for (std::size_t i = 0; i < dots.size(); ++i) {
        pa_operation* played = pa_context_play_sample_with_proplist(
            context, event.c_str(), nullptr, PA_VOLUME_INVALID, dotProps,
            [](pa_context*, std::uint32_t sinkInput, void* self) {
                if (sinkInput == PA_INVALID_INDEX) {
                    static_cast<Shared*>(self)->lost = true;
                }
            },
            this);
        if (played == nullptr) {
            lost = true;
            return;
        }
        pa_operation_unref(played);
    }
    dots.clear();
}

void EventSound::Shared::hangUp() {
    ready = false;
    if (context != nullptr) {
        pa_context_disconnect(context);
        pa_context_unref(context);
        context = nullptr;
    }
    if (dotProps != nullptr) {
        pa_proplist_free(dotProps);
        dotProps = nullptr;
    }
    dots.clear();
    asking = Asking::no;
    lost = false;
    const std::lock_guard lock(mutex);
    asked.clear();
}

EventSound::EventSound(const std::string& applicationName, const std::string& applicationId)
    : shared_(std::make_shared<Shared>()) {
    worker_ = std::thread([shared = shared_, applicationName, applicationId] {
        shared->run(applicationName, applicationId);
    });
}

EventSound::~EventSound() {
    std::unique_lock lock(shared_->mutex);
    shared_->stopping = true;
    shared_->wake();
    if (shared_->ended.wait_for(lock, kHangUpWait, [this] { return shared_->finished; })) {
        lock.unlock();
        worker_.join();
    } else {
        // Stuck on a server that does not answer; the worker keeps its own
        // share of the state and ends with the process.
        lock.unlock();
        worker_.detach();
    }
}

bool EventSound::play() {
    if (!shared_->ready) {
        return false;
    }
    {
        const std::lock_guard lock(shared_->mutex);
        shared_->asked.push_back(Steady::now());
    }
    shared_->wake();
    return true;
}

}  // namespace platform
