// Keyboard focus a player can see: the button that Enter or Space would
// press shows the focus and looks like the default button; no other does.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "playfield/playfield.h"
#include "tests/window/real_program_test.h"

namespace window_test {
namespace {

// A button's pixels; with `frameOnly`, only the outermost ones, where the
// platform draws a default button's frame, and not the caption.
std::vector<std::uint32_t> buttonLook(const Screenshot& shot, const PixelRect& button,
                                      bool frameOnly = false) {
    std::vector<std::uint32_t> look;
    for (int y = button.top; y < button.bottom; ++y) {
        for (int x = button.left; x < button.right; ++x) {
            const bool edge = x < button.left + 3 || x >= button.right - 3 || y < button.top + 3 ||
                              y >= button.bottom - 3;
            if (edge || !frameOnly) {
                look.push_back(shot.at(x, y));
            }
        }
    }
    return look;
}

class Focus : public RealProgramTest {
  protected:
    Focus() { stepped = true; }
};

TEST_F(Focus, TheFocusedButtonShowsItAndOnlyTheButtonEnterPressesLooksLikeTheDefault) {
    const playfield::Playfield scene;
    // Focus shows in the window that has the keyboard, as a desktop's
    // active window does.
    ASSERT_TRUE(x().focus(mainWindow(), Millis(2000)));
    // Start holds the focus at load; Tab gives it to About.
    ASSERT_EQ(clock().compare("start_focused").differing, 0);
    const Screenshot startFocused = x().capture(mainWindow());
    ASSERT_EQ(clock().input("key 9").substr(0, 2), "ok");
    ASSERT_EQ(clock().compare("about_focused").differing, 0);
    const Screenshot aboutFocused = x().capture(mainWindow());
    ASSERT_FALSE(startFocused.empty() || aboutFocused.empty());

    const platform::TwipsMapping mapping = program().mapping();
    const PixelRect start = pixelsOf(scene.cmdStart.box(), mapping);
    const PixelRect about = pixelsOf(scene.cmdAbout.box(), mapping);
    EXPECT_NE(buttonLook(startFocused, start), buttonLook(aboutFocused, start))
        << "Start looks the same with and without the focus";
    EXPECT_NE(buttonLook(startFocused, about), buttonLook(aboutFocused, about))
        << "About looks the same with and without the focus";
    // The buttons have one size: Enter's looks alike whichever it is, so does the other.
    EXPECT_EQ(buttonLook(startFocused, start, true), buttonLook(aboutFocused, about, true))
        << "About, which Enter presses now, does not look like the default button";
    EXPECT_EQ(buttonLook(startFocused, about, true), buttonLook(aboutFocused, start, true))
        << "Start still looks like the default button while Enter presses About";
}

}  // namespace
}  // namespace window_test
