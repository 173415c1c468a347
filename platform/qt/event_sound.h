#pragma once

#include <memory>
#include <string>
#include <thread>

namespace platform {

// The desktop's event sound for a dot eaten: the sound theme's window-system
// bell, played by the user's sound server (PulseAudio, or PipeWire speaking
// its protocol).
//
// A worker thread owns the connection: it connects, has libcanberra cache
// the sample, then plays one sound per dot from the cache, so the game's
// thread never waits on the sound server and no beep reads a file. A sound
// starts within 100 ms of its dot or not at all: the worker asks the server
// before each sound and drops a dot it cannot send in time. While the server
// hangs or is gone the X bell stands in, and the worker reconnects once it
// is back. Sounds overlap as the server mixes them.
class EventSound {
  public:
    // Starts connecting in the background, as the application of that name
    // and desktop entry id; returns at once.
    EventSound(const std::string& applicationName, const std::string& applicationId);
    EventSound(const EventSound&) = delete;
    EventSound& operator=(const EventSound&) = delete;
    // Waits only briefly for the worker: a sound server that does not answer
    // must not hold up the end of the program.
    ~EventSound();

    // Asks for one sound. False when the sound server cannot play it (none
    // reachable, still connecting, hung or gone): the caller rings the X bell
    // instead.
    bool play();

  private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
    std::thread worker_;
};

}  // namespace platform
