#include "sessions/dot_sounds.h"

#include "app/desktop/timings_figures.h"

namespace sessions {

namespace {

constexpr Nanos kNanosPerMs = 1'000'000;
constexpr Nanos kSpacing = 300 * kNanosPerMs;
constexpr Nanos kQuietBefore = 60 * kNanosPerMs;

}  // namespace

std::vector<DotTick> readDotTicks(const std::string& timingsPath) {
    std::vector<DotTick> dots;
    long long ticks = 0;
    for (const desktop::TimingsLine& line : desktop::readTimings(timingsPath)) {
        ticks += line.what == "tick" ? 1 : 0;
        // A beep comes in the tick whose line follows it, and a line still
        // being written is left for the next read.
        if (line.what == "beep" && line.beeps > 0) {
            dots.push_back({line.ns, ticks + 1, line.beeps});
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

}  // namespace sessions
