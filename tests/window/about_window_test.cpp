// The About window of the real program, in real X windows on a private Xvfb
// server: Alt+A shows it, Enter hides it, its frame close destroys it, and
// the main window goes on working and closing while it shows.

#include <chrono>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "tests/window/real_program_test.h"

namespace window_test {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr const char* kAboutTitle = "About Gulpo";
// The About window's client area: 4785 x 3330 twips, 15 to the pixel.
constexpr int kAboutWidth = 4785 / 15;
constexpr int kAboutHeight = 3330 / 15;

class AboutWindow : public RealProgramTest {
  protected:
    // The top-level windows named "About Gulpo" that are showing.
    std::vector<XWindowId> shownAboutWindows() {
        std::vector<XWindowId> shown;
        for (XWindowId w : x().topLevelsNamed(kAboutTitle)) {
            if (x().mapState(w) == MapState::viewable) {
                shown.push_back(w);
            }
        }
        return shown;
    }

    // Alt+A in the main window; the About window it shows.
    XWindowId openAbout(const std::string& when) {
        pressIn(mainWindow(), "main window", "alt+a");
        const XWindowId about = x().findTopLevel(kAboutTitle, milliseconds(5000));
        EXPECT_NE(about, 0u) << "no window named \"" << kAboutTitle << "\" was showing 5 s after "
                             << "Alt+A in the main window " << when << "; " << state();
        return about;
    }

    void expectAboutSize(XWindowId about) {
        const auto size = x().size(about);
        ASSERT_TRUE(size.has_value()) << "the About window went away; " << state();
        EXPECT_EQ(size->width, kAboutWidth) << "the About window's client width";
        EXPECT_EQ(size->height, kAboutHeight) << "the About window's client height";
    }

    void expectOneAboutShowing(const std::string& when) {
        const std::vector<XWindowId> shown = shownAboutWindows();
        EXPECT_EQ(shown.size(), 1u)
            << shown.size() << " windows named \"" << kAboutTitle << "\" are showing " << when;
    }
};

TEST_F(AboutWindow, AltAShowsItAtItsDesignSizeEnterHidesItAndAltAShowsTheSameWindowAgain) {
    waitForTheMaze();
    ASSERT_TRUE(shownAboutWindows().empty()) << "an About window shows before Alt+A";

    const XWindowId about = openAbout("at load");
    ASSERT_NE(about, 0u);
    expectAboutSize(about);
    expectOneAboutShowing("after the first Alt+A");
    EXPECT_EQ(x().owner(about), mainWindow()) << "the About window is no dialog of the main one";
    keep(x().capture(about), "about_open");

    // Its Close button is the default button and holds the focus.
    pressIn(about, "About window", "Return");
    EXPECT_TRUE(x().waitForMapState(about, MapState::unmapped, milliseconds(2000)))
        << "2 s after Enter in the About window it is " << describe(x().mapState(about))
        << ", not hidden (unmapped but kept); " << state();
    EXPECT_EQ(x().mapState(mainWindow()), MapState::viewable)
        << "the main window is not showing after the About window closed";
    ASSERT_TRUE(running()) << state();

    const XWindowId again = openAbout("after Enter had hidden the About window");
    ASSERT_NE(again, 0u);
    EXPECT_EQ(again, about) << "Alt+A showed a new About window instead of the hidden one";
    expectAboutSize(again);
    expectOneAboutShowing("after Alt+A showed it again");

    // Alt+A while it shows opens no second one.
    pressIn(mainWindow(), "main window", "alt+a");
    const auto deadline = Clock::now() + milliseconds(500);
    while (Clock::now() < deadline) {
        const std::size_t shown = shownAboutWindows().size();
        ASSERT_LE(shown, 1u) << shown << " About windows show after Alt+A while one was showing";
        std::this_thread::sleep_for(milliseconds(20));
    }
    expectOneAboutShowing("after Alt+A while it was showing");
    EXPECT_EQ(x().topLevelsNamed(kAboutTitle).size(), 1u)
        << "more than one window named \"" << kAboutTitle << "\" exists, shown or not";
}

TEST_F(AboutWindow, TheMainWindowsStartButtonStillWorksWhileItShows) {
    waitForTheMaze();
    const StartButtonArea startButton(program().mapping());

    const XWindowId about = openAbout("at load");
    ASSERT_NE(about, 0u);
    // The Start button's face shows until Start is chosen.
    const Screenshot before = program().captureWhen(
        mainWindow(), [&](const Screenshot& s) { return startButton.faceShows(s); },
        milliseconds(3000));
    ASSERT_FALSE(before.empty()) << "the main window could not be captured; " << state();
    keep(before, "before_start");
    ASSERT_TRUE(startButton.faceShows(before))
        << "with the About window showing, the Start button's face is not showing at "
        << startButton.pixels().describe();

    pressIn(mainWindow(), "main window", "alt+s");
    const Screenshot after = program().captureWhen(
        mainWindow(), [&](const Screenshot& s) { return startButton.gone(s); }, milliseconds(2000));
    keep(after, "after_start");
    EXPECT_TRUE(startButton.gone(after))
        << startButton.differing(after) << " of " << startButton.pixels().area()
        << " pixels of the Start button's area (" << startButton.pixels().describe()
        << ") still differ from the bare window 2 s "
        << "after Alt+S with the About window showing; " << state();
    EXPECT_EQ(x().mapState(about), MapState::viewable)
        << "Start in the main window changed the About window";
    expectOneAboutShowing("after Start");
}

TEST_F(AboutWindow, ItsFrameCloseRemovesItAndAltACreatesItAgain) {
    waitForTheMaze();
    const XWindowId about = openAbout("at load");
    ASSERT_NE(about, 0u);
    ASSERT_TRUE(x().takesDeleteRequests(about))
        << "the About window does not list WM_DELETE_WINDOW in WM_PROTOCOLS";

    x().askToClose(about);
    // Destroyed, or at least no longer mapped.
    MapState shown = x().mapState(about);
    pollUntil(
        [&] {
            shown = x().mapState(about);
            return shown != MapState::viewable;
        },
        milliseconds(2000));
    EXPECT_NE(shown, MapState::viewable)
        << "the About window still shows 2 s after it was asked to close";
    // Give a destroy that follows the unmap a moment to land, then note what
    // became of the window.
    x().waitForMapState(about, MapState::gone, milliseconds(1000));
    shown = x().mapState(about);
    RecordProperty("about_after_frame_close", describe(shown));
    std::cout << "[ observe  ] " << currentTestName() << ": the About window is " << describe(shown)
              << " after its frame close\n";
    EXPECT_TRUE(shownAboutWindows().empty()) << "an About window still shows after the close";

    ASSERT_TRUE(running()) << "closing the About window ended the program: " << state();
    EXPECT_EQ(x().mapState(mainWindow()), MapState::viewable)
        << "the main window is not showing after the About window closed";

    const XWindowId again = openAbout("after the About window's frame close");
    ASSERT_NE(again, 0u);
    expectAboutSize(again);
    expectOneAboutShowing("after Alt+A created it again");
    ASSERT_TRUE(running()) << state();
}

TEST_F(AboutWindow, ClosingTheMainWindowWhileItShowsEndsTheProgramWithStatusZero) {
    waitForTheMaze();
    const XWindowId about = openAbout("at load");
    ASSERT_NE(about, 0u);

    const auto took = expectCloseEndsTheProgram(mainWindow(),
                                                "main window, with the About "
                                                "window showing,",
                                                milliseconds(5000));
    if (took) {
        note("close_to_exit_ms", static_cast<long>(took->count()));
    }
}

}  // namespace
}  // namespace window_test
