#include "tests/support/invariants.h"

#include <charconv>

namespace gulpo_test {

namespace {

bool isNumberText(const std::string& s, int lo, int hi) {
    int v = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    return ec == std::errc{} && end == s.data() + s.size() && v >= lo && v <= hi &&
           std::to_string(v) == s;
}

}  // namespace

std::string brokenInvariant(game::FrmGulpo& g, GhostSteps steps) {
    for (int n = 1; n <= 3; ++n) {
        const game::Ghost ghost = g.ghost(n);
        const int dx = ghost.dx;
        const int dy = ghost.dy;
        const bool oneStep = (dx == 0) != (dy == 0);
        const bool of25 = (dx == 0 || dx == 25 || dx == -25) && (dy == 0 || dy == 25 || dy == -25);
        if (steps == GhostSteps::checked && (!oneStep || !of25)) {
            return "ghost " + std::to_string(n) + " steps " + std::to_string(dx) + ", " +
                   std::to_string(dy);
        }
        const bool blue = ghost.sprite.picture().Handle() == g.imgBlue.picture().Handle();
        if (blue != ghost.timer.Enabled()) {
            return "ghost " + std::to_string(n) +
                   (blue ? " blue with its timer off" : " normal with its timer on");
        }
    }
    const int pdx = g.PlayerDX;
    const int pdy = g.PlayerDY;
    if ((pdx != 0 && pdx != 30 && pdx != -30) || (pdy != 0 && pdy != 30 && pdy != -30) ||
        (pdx != 0 && pdy != 0)) {
        return "player steps " + std::to_string(pdx) + ", " + std::to_string(pdy);
    }
    if (g.Score < 0 || g.Score > 32767) {
        return "score " + std::to_string(g.Score);
    }
    if (g.Lives < 1 || g.Lives > 3) {
        return "lives " + std::to_string(g.Lives);
    }
    if (g.Level < 1) {
        return "level " + std::to_string(g.Level);
    }
    if ((g.DotsEaten != 0 && g.DotsEaten != 76) || g.FruitDotsEaten != 0) {
        return "dot counters " + std::to_string(g.DotsEaten) + ", " +
               std::to_string(g.FruitDotsEaten);
    }
    const std::string& level = g.lblLevel.Caption();
    if (!level.empty() && level != std::to_string(g.Level)) {
        return "level label '" + level + "' for level " + std::to_string(g.Level);
    }
    const std::string& lives = g.lblLives.Caption();
    const bool afterGameOver = lives == "0" && g.Lives == 3 && g.cmdStart.Visible();
    if (lives != std::to_string(g.Lives) && !afterGameOver) {
        return "lives label '" + lives + "' for " + std::to_string(g.Lives) + " lives";
    }
    const std::string& score = g.lblScore.Caption();
    if (!score.empty() && !isNumberText(score, 0, 32767)) {
        return "score label '" + score + "'";
    }
    return "";
}

std::shared_ptr<const std::string> watchInvariants(core::Replay& replay, GhostSteps steps) {
    auto broken = std::make_shared<std::string>();
    auto check = [&replay, broken, steps] {
        if (broken->empty()) {
            *broken = brokenInvariant(replay.game(), steps);
            if (!broken->empty()) {
                *broken += " at t=" + std::to_string(replay.platform().nowMs());
            }
        }
    };
    check();
    replay.trace().afterEach = check;
    return broken;
}

}  // namespace gulpo_test
