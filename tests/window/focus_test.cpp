// Keyboard focus a player can see: the button that Enter or Space would
// press shows the focus, and Start, the window's default button, looks like
// one while it is shown.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "playfield/playfield.h"
#include "stepped_session.h"

namespace window_test {
namespace {

// The window paints 15 twips to the pixel at its design size.
constexpr int kTwipsPerPixel = 15;

// A button's pixels; with `frameOnly`, only the outermost ones, where the
// platform draws a default button's frame, and not the caption.
std::vector<std::uint32_t> pixelsOf(const Screenshot& shot, const platform::Box& box,
                                    bool frameOnly = false) {
    const int left = box.left / kTwipsPerPixel;
    const int top = box.top / kTwipsPerPixel;
    const int right = (box.left + box.width) / kTwipsPerPixel;
    const int bottom = (box.top + box.height) / kTwipsPerPixel;
    std::vector<std::uint32_t> frame;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            const bool edge = x < left + 3 || x >= right - 3 || y < top + 3 || y >= bottom - 3;
            if (edge || !frameOnly) {
                frame.push_back(shot.at(x, y));
            }
        }
    }
    return frame;
}

TEST(Focus, TheFocusedButtonShowsItAndStartLooksLikeTheDefault) {
    if (std::string(GULPO_XVFB).empty()) {
        GTEST_SKIP() << "Xvfb is not installed here, so no real window can be shown";
    }
    std::optional<SteppedSession> session;
    try {
        session.emplace(GULPO_STEPPED, GULPO_XVFB, "focus");
    } catch (const std::exception& e) {
        FAIL() << e.what();
    }
    const playfield::Playfield scene;
    // Focus shows in the window that has the keyboard, as a desktop's
    // active window does.
    ASSERT_TRUE(session->x().focus(session->window(), std::chrono::milliseconds(2000)));
    // Start holds the focus at load; Tab gives it to About.
    ASSERT_EQ(session->compare("start_focused").differing, 0);
    const Screenshot startFocused = session->x().capture(session->window());
    ASSERT_EQ(session->ask("key 9"), "ok");
    ASSERT_EQ(session->compare("about_focused").differing, 0);
    const Screenshot aboutFocused = session->x().capture(session->window());
    ASSERT_FALSE(startFocused.empty() || aboutFocused.empty());

    const platform::Box start = scene.cmdStart.box();
    const platform::Box about = scene.cmdAbout.box();
    EXPECT_NE(pixelsOf(startFocused, start), pixelsOf(aboutFocused, start))
        << "Start looks the same with and without the focus";
    EXPECT_NE(pixelsOf(startFocused, about), pixelsOf(aboutFocused, about))
        << "About looks the same with and without the focus";
    // Neither holds the focus here: Start as the default button, About plain.
    EXPECT_NE(pixelsOf(aboutFocused, start, true), pixelsOf(startFocused, about, true))
        << "Start does not look like the default button";
}

}  // namespace
}  // namespace window_test
