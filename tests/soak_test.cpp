// Thousands of random sessions through the game: keys, clicks, access keys,
// windows closed and state injected at random, with the game's rules checked
// after every handler. Each session's seed is printed on failure, so it can
// be run again alone.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "app/core/replay.h"
#include "sessions/dice.h"
#include "tests/support/invariants.h"

namespace {

// Seeded, so every failure reproduces.
std::string randomSession(std::uint64_t seed, long long lengthMs) {
    sessions::Dice d(seed);
    std::string s;
    long long t = d.roll(300);
    auto line = [&](const std::string& text) { s += std::to_string(t) + " " + text + "\n"; };
    line("click start");
    const char* letters = "SACX";
    while (t < lengthMs) {
        t += d.roll(d.roll(8) == 0 ? 4000 : 400);
        switch (d.roll(20)) {
            case 0:
                line("key " + std::to_string(d.roll(256)));
                break;
            case 1:
                line(std::string("alt ") + letters[d.roll(4)]);
                break;
            case 2:
                line(d.roll(2) == 0 ? "click start"
                                    : (d.roll(2) == 0 ? "click about" : "click close"));
                break;
            case 3:
                line(d.roll(6) == 0 ? "closewin about" : "key 13");
                break;
            case 4:
                line("food " + std::to_string(d.roll(76)) + " " + std::to_string(d.roll(2)));
                break;
            case 5:
                line("big " + std::to_string(d.roll(4)) + " " + std::to_string(d.roll(2)));
                break;
            case 6: {
                const char* sprites[] = {"imgGulpo", "imgGhost1", "imgGhost2", "imgGhost3"};
                line(std::string("place ") + sprites[d.roll(4)] + " " +
                     std::to_string(d.roll(6400)) + " " + std::to_string(d.roll(6600)));
                break;
            }
            case 7:
                line("set Score " + std::to_string(d.roll(32768)));
                break;
            case 8:
                // Most of the dots gone at once: levels and fruit come quicker.
                for (int i = d.roll(76); i < 76; ++i) {
                    line("food " + std::to_string(i) + " 0");
                }
                break;
            default:
                line("key " + std::to_string(37 + d.roll(4)));
                break;
        }
    }
    if (d.roll(10) == 0) {
        line("closewin main");
    }
    return s;
}

TEST(Soak, RandomSessionsKeepEveryRuleAfterEveryHandler) {
    constexpr int kSessions = 2000;
    constexpr long long kLengthMs = 30000;
    long long ticks = 0;
    long long levels = 0;
    long long gameOvers = 0;
    for (int session = 0; session < kSessions; ++session) {
        const std::string text = randomSession(static_cast<std::uint64_t>(session), kLengthMs);
        const core::Script script = core::parseScript(text, "soak");
        core::Replay run(nullptr);
        const auto broken = gulpo_test::watchInvariants(run);
        run.run(script, kLengthMs + 5000);
        ASSERT_EQ(*broken, "") << "session seed " << session << ", script:\n" << text;
        ticks += run.trace().ticks();
        levels += run.game().Level > 1 ? 1 : 0;
        gameOvers += run.game().lblLives.Caption() == "0" ? 1 : 0;
    }
    // The sessions did play: many ticks, levels completed, games lost.
    EXPECT_GT(ticks, 1000000);
    EXPECT_GT(levels, 50);
    EXPECT_GT(gameOvers, 10);
    std::printf("soak: %d sessions, %lld ticks, %lld reached level 2+, %lld ended in game over\n",
                kSessions, ticks, levels, gameOvers);
}

}  // namespace
