#include "sessions/sink_recorder.h"

#include <pulse/error.h>
#include <pulse/simple.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <stdexcept>

namespace sessions {

namespace {

// A null sink plays exact zeros; anything above this is the game's sound.
constexpr int kSilence = 8;

}  // namespace

Nanos steadyNow() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

SinkRecorder::SinkRecorder(const std::string& server, const std::string& source) {
    const pa_sample_spec format{PA_SAMPLE_S16LE, kRate, 2};
    // Small fragments: the blocks come as the sink plays them, not in bursts.
    pa_buffer_attr attr{};
    attr.maxlength = static_cast<std::uint32_t>(-1);
    attr.fragsize = kBlockFrames * 4;
    int err = 0;
    pa_simple* stream =
        pa_simple_new(server.c_str(), "gulpo-sink-recorder", PA_STREAM_RECORD, source.c_str(),
                      "sink monitor", &format, nullptr, &attr, &err);
    if (stream == nullptr) {
        throw std::runtime_error("cannot record " + source + " on " + server + ": " +
                                 pa_strerror(err));
    }
    stream_ = stream;
    worker_ = std::thread([this, stream] { record(stream); });
}

SinkRecorder::~SinkRecorder() {
    stopping_ = true;
    worker_.join();
    pa_simple_free(static_cast<pa_simple*>(stream_));
}

void SinkRecorder::record(void* stream) {
    std::array<std::int16_t, static_cast<std::size_t>(kBlockFrames) * 2> block{};
    while (!stopping_) {
        int err = 0;
        if (pa_simple_read(static_cast<pa_simple*>(stream), block.data(), sizeof block, &err) < 0) {
            const std::lock_guard lock(mutex_);
            error_ = std::string("recording failed: ") + pa_strerror(err);
            return;
        }
        const Nanos arrived = steadyNow();
        const std::lock_guard lock(mutex_);
        blockEnds_.push_back(arrived);
        for (std::size_t f = 0; f < block.size(); f += 2) {
            const int left = std::abs(static_cast<int>(block[f]));
            const int right = std::abs(static_cast<int>(block[f + 1]));
            loudness_.push_back(static_cast<std::uint16_t>(std::max(left, right)));
        }
    }
}

std::optional<Nanos> SinkRecorder::firstSoundBetween(Nanos from, Nanos to) const {
    const std::lock_guard lock(mutex_);
    for (auto block = std::lower_bound(blockEnds_.begin(), blockEnds_.end(), from);
         block != blockEnds_.end() && *block < to; ++block) {
        const auto first = static_cast<std::size_t>(block - blockEnds_.begin()) * kBlockFrames;
        for (std::size_t f = first; f < first + kBlockFrames; ++f) {
            if (loudness_[f] > kSilence) {
                return *block;
            }
        }
    }
    return std::nullopt;
}

Nanos SinkRecorder::recordedUntil() const {
    const std::lock_guard lock(mutex_);
    return blockEnds_.empty() ? 0 : blockEnds_.back();
}

std::string SinkRecorder::error() const {
    const std::lock_guard lock(mutex_);
    return error_;
}

}  // namespace sessions
