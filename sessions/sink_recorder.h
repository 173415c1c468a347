#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace sessions {

// Nanoseconds on the steady clock, the system's monotonic clock: the same in
// every process on the machine.
using Nanos = std::int64_t;
Nanos steadyNow();

// Records a sink's monitor from the moment it is made, in blocks of 64
// frames (1.5 ms), and keeps each frame's loudness with the time its block
// arrived: the sink mixes a block at once, ahead of playing it, so by then
// every frame of it had reached the sink.
class SinkRecorder {
  public:
    static constexpr int kRate = 44100;

    // Throws std::runtime_error if the server or the source cannot be reached.
    SinkRecorder(const std::string& server, const std::string& source);
    SinkRecorder(const SinkRecorder&) = delete;
    SinkRecorder& operator=(const SinkRecorder&) = delete;
    ~SinkRecorder();

    // The arrival of the first block in [from, to) with a frame louder than
    // silence, if any.
    std::optional<Nanos> firstSoundBetween(Nanos from, Nanos to) const;
    // The time of the last frame recorded.
    Nanos recordedUntil() const;
    // What went wrong while recording, or "".
    std::string error() const;

  private:
    static constexpr int kBlockFrames = 64;
    void record(void* stream);

    mutable std::mutex mutex_;
    std::vector<Nanos> blockEnds_;
    std::vector<std::uint16_t> loudness_;  // per frame: the louder channel
    std::string error_;
    std::atomic<bool> stopping_{false};
    void* stream_ = nullptr;  // pa_simple*
    std::thread worker_;
};

}  // namespace sessions
