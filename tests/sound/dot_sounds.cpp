#include "tests/sound/dot_sounds.h"

#include <fstream>
#include <sstream>

namespace sound_test {

namespace {

constexpr Nanos kNanosPerMs = 1'000'000;
constexpr Nanos kSpacing = 300 * kNanosPerMs;
constexpr Nanos kQuietBefore = 60 * kNanosPerMs;

}  // namespace

std::vector<DotTick> readDotTicks(const std::string& beepLogPath) {
    std::vector<DotTick> dots;
    std::ifstream in(beepLogPath);
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line);
        DotTick d;
        // A line still being written is left for the next read.
        if (fields >> d.at >> d.tick >> d.beeps) {
            dots.push_back(d);
        }
    }
    return dots;
}

std::vector<DotSound> dotSounds(const std::vector<DotTick>& dots, const SinkRecorder& sink,
                                double windowMs) {
    std::vector<DotSound> sounds;
    const auto window = static_cast<Nanos>(windowMs * static_cast<double>(kNanosPerMs));
    const Nanos recorded = sink.recordedUntil();
    for (std::size_t i = 0; i < dots.size(); ++i) {
        const DotTick& dot = dots[i];
        if (i > 0 && dot.at - dots[i - 1].at < kSpacing) {
            continue;
        }
        if (dot.at + window > recorded) {
            break;
        }
        DotSound s;
        s.dot = dot;
        s.silentBefore = !sink.firstSoundBetween(dot.at - kQuietBefore, dot.at).has_value();
        if (const auto heard = sink.firstSoundBetween(dot.at, dot.at + window)) {
            s.delayMs = static_cast<double>(*heard - dot.at) / static_cast<double>(kNanosPerMs);
        }
        sounds.push_back(s);
    }
    return sounds;
}

}  // namespace sound_test
