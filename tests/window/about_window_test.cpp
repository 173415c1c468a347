// The real desktop program in real X windows on a private Xvfb server, beyond
// the first picture: the About window (Alt+A, Enter, its frame close), how
// quickly the program ends when its window is closed, the main window at
// twice its size, and the window's icon.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "artifact.h"
#include "platform/colour.h"
#include "platform/form.h"
#include "playfield/layout.h"
#include "playfield/playfield.h"
#include "x_session.h"

namespace window_test {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// The windows paint 15 twips to the pixel at their design size.
constexpr double kDesignTwipsPerPixel = 15.0;
constexpr std::uint32_t kPureBlue = 0x0000FF;  // as 0x00RRGGBB

constexpr const char* kMainTitle = "Gulpo";
constexpr const char* kAboutTitle = "About Gulpo";
// The About window's client area: 4785 x 3330 twips.
constexpr int kAboutWidth = 4785 / 15;
constexpr int kAboutHeight = 3330 / 15;
// The main window at twice its design size: 7005 x 7800 twips at 7.5 a pixel.
constexpr WindowSize kDoubleSize{934, 1040};
constexpr double kDoubleTwipsPerPixel = 7.5;

// The one line Qt prints when no runtime directory is set; harmless.
constexpr const char* kHarmlessWarning = "QStandardPaths: XDG_RUNTIME_DIR not set";

std::uint32_t rgbOf(platform::Colour c) {
    return (platform::redOf(c) << 16) | (platform::greenOf(c) << 8) | platform::blueOf(c);
}

// The model's colour at the centre of pixel (px, py) at `twipsPerPixel`.
platform::Colour modelAt(const platform::Form& form, int px, int py, double twipsPerPixel) {
    return form.Point(static_cast<float>((px + 0.5) * twipsPerPixel),
                      static_cast<float>((py + 0.5) * twipsPerPixel));
}

std::string hex(std::uint32_t v) {
    std::ostringstream s;
    s << "#" << std::hex << std::setw(6) << std::setfill('0') << v;
    return s.str();
}

std::string readFile(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The lines of `text` other than Qt's harmless warning.
std::vector<std::string> unexpectedLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.rfind(kHarmlessWarning, 0) != 0) {
            lines.push_back(line);
        }
    }
    return lines;
}

// A box of the scene in whole pixels, right and bottom exclusive.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    long area() const { return static_cast<long>(right - left) * (bottom - top); }
    std::string describe() const {
        std::ostringstream s;
        s << "x " << left << ".." << right - 1 << ", y " << top << ".." << bottom - 1;
        return s.str();
    }
};

PixelRect pixelsOf(const platform::Box& b, double twipsPerPixel) {
    const auto edge = [&](double twips) { return static_cast<int>(twips / twipsPerPixel + 0.5); };
    return {edge(b.left), edge(b.top), edge(b.left + b.width), edge(b.top + b.height)};
}

// Where the window shows pure blue and where the model has walls.
struct WallComparison {
    long modelWalls = 0;
    long shownBlue = 0;
    long mismatches = 0;
    std::vector<std::string> firstMismatches;

    std::string describe(const Screenshot& shot) const {
        std::ostringstream s;
        s << mismatches << " of " << static_cast<long>(shot.width) * shot.height
          << " pixels disagree with the maze (" << modelWalls << " wall pixels in the model, "
          << shownBlue << " pure blue on screen)";
        if (!firstMismatches.empty()) {
            s << "; the first ones:";
            for (const std::string& m : firstMismatches) {
                s << "\n  " << m;
            }
        }
        return s.str();
    }
};

WallComparison compareWalls(const Screenshot& shot, const platform::Form& model,
                            double twipsPerPixel) {
    WallComparison c;
    for (int py = 0; py < shot.height; ++py) {
        for (int px = 0; px < shot.width; ++px) {
            const platform::Colour m = modelAt(model, px, py, twipsPerPixel);
            const bool wall = m == playfield::WallColour;
            const bool blue = shot.at(px, py) == kPureBlue;
            c.modelWalls += wall ? 1 : 0;
            c.shownBlue += blue ? 1 : 0;
            if (wall != blue) {
                ++c.mismatches;
                if (c.firstMismatches.size() < 10) {
                    std::ostringstream s;
                    s << "(" << px << "," << py << ") shows " << hex(shot.at(px, py))
                      << ", model has " << (wall ? "a wall" : "no wall") << " (" << hex(rgbOf(m))
                      << ")";
                    c.firstMismatches.push_back(s.str());
                }
            }
        }
    }
    return c;
}

// How many pixels of `area` differ from what `model` has there.
long differingPixels(const Screenshot& shot, const platform::Form& model, const PixelRect& area,
                     double twipsPerPixel) {
    long n = 0;
    for (int py = area.top; py < area.bottom; ++py) {
        for (int px = area.left; px < area.right; ++px) {
            n += shot.at(px, py) != rgbOf(modelAt(model, px, py, twipsPerPixel)) ? 1 : 0;
        }
    }
    return n;
}

// Each test has its own X server and its own copy of the program, showing its
// main window. The program's error output is kept apart from its output.
class GulpoSession : public ::testing::Test {
  protected:
    void SetUp() override {
        if (std::string(GULPO_XVFB).empty()) {
            GTEST_SKIP() << "Xvfb is not installed here, so no real window can be shown";
        }
        name_ = ::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name() +
                std::string("_") + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        try {
            screen_.emplace(GULPO_XVFB, artifactPath("window_" + name_ + ".xvfb.log"));
            outLog_ = artifactPath("window_" + name_ + ".gulpo.out.log");
            errLog_ = artifactPath("window_" + name_ + ".gulpo.err.log");
            program_.emplace(
                std::vector<std::string>{GULPO_PROGRAM},
                std::vector<std::string>{"DISPLAY=" + screen_->display(), "QT_QPA_PLATFORM=xcb"},
                outLog_, -1, errLog_);
            client_.emplace(screen_->display());
        } catch (const std::exception& e) {
            FAIL() << e.what();
        }
        main_ = client_->findTopLevel(kMainTitle, milliseconds(10000));
        ASSERT_NE(main_, 0u) << "no mapped top-level window named \"" << kMainTitle
                             << "\" within 10 s; " << programState();
    }

    void TearDown() override {
        client_.reset();
        if (program_) {
            program_->stop();
            program_.reset();
        }
        screen_.reset();
    }

    // Whether the program still runs, and what it has printed.
    std::string programState() {
        std::ostringstream s;
        if (program_) {
            if (auto status = program_->waitFor(milliseconds(0))) {
                s << "gulpo " << status->describe();
            } else {
                s << "gulpo is still running";
            }
        }
        const std::string out = readFile(outLog_);
        const std::string err = readFile(errLog_);
        if (!out.empty()) {
            s << "; its output:\n" << out;
        }
        if (!err.empty()) {
            s << "; its error output:\n" << err;
        }
        return s.str();
    }

    bool running() { return program_ && !program_->waitFor(milliseconds(0)).has_value(); }

    // Captures `window` until `ready` holds for the picture or `timeout` has
    // passed; the last picture either way.
    template <typename Ready>
    Screenshot captureWhen(XWindowId window, Ready ready, milliseconds timeout) {
        const auto deadline = Clock::now() + timeout;
        for (;;) {
            Screenshot shot = client_->capture(window);
            if ((!shot.empty() && ready(shot)) || Clock::now() >= deadline) {
                return shot;
            }
            std::this_thread::sleep_for(milliseconds(20));
        }
    }

    void keep(const Screenshot& shot, const std::string& what) {
        const std::string path = artifactPath("window_" + name_ + "_" + what + ".png");
        EXPECT_TRUE(savePng(shot, path)) << "could not write " << path;
    }

    // Waits until the main window shows the maze as it is at load, so that
    // the program is idle and takes keys.
    void waitForTheMaze() {
        const playfield::Playfield model;
        const Screenshot shot = captureWhen(
            main_,
            [&](const Screenshot& s) {
                return compareWalls(s, model.frmGulpo, kDesignTwipsPerPixel).mismatches == 0;
            },
            milliseconds(5000));
        ASSERT_FALSE(shot.empty()) << "the main window could not be captured; " << programState();
        const WallComparison c = compareWalls(shot, model.frmGulpo, kDesignTwipsPerPixel);
        if (c.mismatches != 0) {
            keep(shot, "at_load");
        }
        ASSERT_EQ(c.mismatches, 0) << "the main window never showed the maze: " << c.describe(shot);
    }

    // Presses keys the way a keyboard does (through XTEST, into the window
    // that has the input focus).
    void press(const std::string& keys) {
        ASSERT_FALSE(std::string(GULPO_XDOTOOL).empty()) << "xdotool is needed to press keys";
        const ExitStatus s =
            runToCompletion({GULPO_XDOTOOL, "key", keys}, screen_->display(), milliseconds(5000));
        ASSERT_TRUE(s.exited && s.code == 0) << "xdotool key " << keys << ": " << s.describe();
    }

    // Gives `window` the input focus and presses `keys` in it.
    void pressIn(XWindowId window, const std::string& what, const std::string& keys) {
        ASSERT_TRUE(client_->focus(window, milliseconds(2000)))
            << "the " << what << " did not get the input focus";
        press(keys);
    }

    // The top-level windows named "About Gulpo" that are showing.
    std::vector<XWindowId> shownAboutWindows() {
        std::vector<XWindowId> shown;
        for (XWindowId w : client_->topLevelsNamed(kAboutTitle)) {
            if (client_->mapState(w) == MapState::viewable) {
                shown.push_back(w);
            }
        }
        return shown;
    }

    // Alt+A in the main window; the About window it shows.
    XWindowId openAbout(const std::string& when) {
        pressIn(main_, "main window", "alt+a");
        const XWindowId about = client_->findTopLevel(kAboutTitle, milliseconds(5000));
        EXPECT_NE(about, 0u) << "no window named \"" << kAboutTitle << "\" was showing 5 s after "
                             << "Alt+A in the main window " << when << "; " << programState();
        return about;
    }

    void expectAboutSize(XWindowId about) {
        const auto size = client_->size(about);
        ASSERT_TRUE(size.has_value()) << "the About window went away; " << programState();
        EXPECT_EQ(size->width, kAboutWidth) << "the About window's client width";
        EXPECT_EQ(size->height, kAboutHeight) << "the About window's client height";
    }

    void expectOneAboutShowing(const std::string& when) {
        const std::vector<XWindowId> shown = shownAboutWindows();
        EXPECT_EQ(shown.size(), 1u)
            << shown.size() << " windows named \"" << kAboutTitle << "\" are showing " << when;
    }

    // Asks `window` to close and waits, polling every millisecond, for the
    // program to end; how long it took, or nothing if it still ran after 5 s.
    std::optional<milliseconds> closeAndTimeTheEnd(XWindowId window, const std::string& what) {
        EXPECT_TRUE(client_->takesDeleteRequests(window))
            << "the " << what << " does not list WM_DELETE_WINDOW in WM_PROTOCOLS";
        client_->askToClose(window);
        const auto asked = Clock::now();
        const auto deadline = asked + milliseconds(5000);
        for (;;) {
            if (auto s = program_->waitFor(milliseconds(0))) {
                const auto took = std::chrono::duration_cast<milliseconds>(Clock::now() - asked);
                exit_ = *s;
                return took;
            }
            if (Clock::now() >= deadline) {
                return std::nullopt;
            }
            std::this_thread::sleep_for(milliseconds(1));
        }
    }

    void expectCleanEnd(const std::string& after) {
        EXPECT_TRUE(exit_.exited && exit_.code == 0)
            << "gulpo " << exit_.describe() << " after " << after << "; " << programState();
        std::ostringstream others;
        const std::vector<std::string> lines = unexpectedLines(readFile(errLog_));
        for (const std::string& l : lines) {
            others << "\n  " << l;
        }
        EXPECT_TRUE(lines.empty()) << "gulpo printed " << lines.size()
                                   << " unexpected line(s) to its error output:" << others.str();
    }

    // Notes a measurement in the test's XML report and on the console.
    void note(const std::string& key, long value) {
        RecordProperty(key, std::to_string(value));
        std::cout << "[ measure  ] " << name_ << ": " << key << " = " << value << "\n";
    }

    std::string name_;
    std::string outLog_;
    std::string errLog_;
    std::optional<VirtualScreen> screen_;
    std::optional<ChildProcess> program_;
    std::optional<XClient> client_;
    XWindowId main_ = 0;
    ExitStatus exit_;
};

using AboutWindow = GulpoSession;

TEST_F(AboutWindow, AltAShowsItAtItsDesignSizeEnterHidesItAndAltAShowsTheSameWindowAgain) {
    waitForTheMaze();
    ASSERT_TRUE(shownAboutWindows().empty()) << "an About window shows before Alt+A";

    const XWindowId about = openAbout("at load");
    ASSERT_NE(about, 0u);
    expectAboutSize(about);
    expectOneAboutShowing("after the first Alt+A");
    keep(captureWhen(
             about, [](const Screenshot&) { return true; }, milliseconds(0)),
         "about_open");

    // Its Close button is the default button and holds the focus.
    pressIn(about, "About window", "Return");
    EXPECT_TRUE(client_->waitForMapState(about, MapState::unmapped, milliseconds(2000)))
        << "2 s after Enter in the About window it is " << describe(client_->mapState(about))
        << ", not hidden (unmapped but kept); " << programState();
    EXPECT_EQ(client_->mapState(main_), MapState::viewable)
        << "the main window is not showing after the About window closed";
    ASSERT_TRUE(running()) << programState();

    const XWindowId again = openAbout("after Enter had hidden the About window");
    ASSERT_NE(again, 0u);
    EXPECT_EQ(again, about) << "Alt+A showed a new About window instead of the hidden one";
    expectAboutSize(again);
    expectOneAboutShowing("after Alt+A showed it again");

    // Alt+A while it shows opens no second one.
    pressIn(main_, "main window", "alt+a");
    const auto deadline = Clock::now() + milliseconds(500);
    while (Clock::now() < deadline) {
        const std::size_t shown = shownAboutWindows().size();
        ASSERT_LE(shown, 1u) << shown << " About windows show after Alt+A while one was showing";
        std::this_thread::sleep_for(milliseconds(20));
    }
    expectOneAboutShowing("after Alt+A while it was showing");
    EXPECT_EQ(client_->topLevelsNamed(kAboutTitle).size(), 1u)
        << "more than one window named \"" << kAboutTitle << "\" exists, shown or not";
}

TEST_F(AboutWindow, TheMainWindowsStartButtonStillWorksWhileItShows) {
    waitForTheMaze();
    const playfield::Playfield atLoad;
    playfield::Playfield started;
    started.cmdStart.setVisible(false);
    started.cmdAbout.setVisible(false);
    const PixelRect startButton = pixelsOf(atLoad.cmdStart.box(), kDesignTwipsPerPixel);
    const auto buttonGone = [&](const Screenshot& s) {
        return differingPixels(s, started.frmGulpo, startButton, kDesignTwipsPerPixel) == 0;
    };
    const auto differing = [&](const Screenshot& s) {
        return differingPixels(s, started.frmGulpo, startButton, kDesignTwipsPerPixel);
    };

    const XWindowId about = openAbout("at load");
    ASSERT_NE(about, 0u);
    // The Start button's face shows until Start is chosen.
    const Screenshot before = captureWhen(
        main_, [&](const Screenshot& s) { return differing(s) * 2 > startButton.area(); },
        milliseconds(3000));
    ASSERT_FALSE(before.empty()) << "the main window could not be captured; " << programState();
    keep(before, "before_start");
    ASSERT_GT(differing(before) * 2, startButton.area())
        << "with the About window showing, the Start button's face is not showing at "
        << startButton.describe();

    pressIn(main_, "main window", "alt+s");
    const Screenshot after = captureWhen(main_, buttonGone, milliseconds(2000));
    keep(after, "after_start");
    EXPECT_TRUE(buttonGone(after))
        << differing(after) << " of " << startButton.area() << " pixels of the Start button's "
        << "area (" << startButton.describe() << ") still differ from the bare window 2 s "
        << "after Alt+S with the About window showing; " << programState();
    EXPECT_EQ(client_->mapState(about), MapState::viewable)
        << "Start in the main window changed the About window";
    expectOneAboutShowing("after Start");
}

TEST_F(AboutWindow, ItsFrameCloseRemovesItAndAltACreatesItAgain) {
    waitForTheMaze();
    const XWindowId about = openAbout("at load");
    ASSERT_NE(about, 0u);
    ASSERT_TRUE(client_->takesDeleteRequests(about))
        << "the About window does not list WM_DELETE_WINDOW in WM_PROTOCOLS";

    client_->askToClose(about);
    const auto asked = Clock::now();
    // Destroyed, or at least no longer mapped.
    const auto deadline = asked + milliseconds(2000);
    MapState state = client_->mapState(about);
    while (state == MapState::viewable && Clock::now() < deadline) {
        std::this_thread::sleep_for(milliseconds(10));
        state = client_->mapState(about);
    }
    EXPECT_NE(state, MapState::viewable)
        << "the About window still shows 2 s after it was asked to close";
    // Give a destroy that follows the unmap a moment to land, then note what
    // became of the window.
    client_->waitForMapState(about, MapState::gone, milliseconds(1000));
    state = client_->mapState(about);
    RecordProperty("about_after_frame_close", describe(state));
    std::cout << "[ observe  ] " << name_ << ": the About window is " << describe(state)
              << " after its frame close\n";
    EXPECT_TRUE(shownAboutWindows().empty()) << "an About window still shows after the close";

    ASSERT_TRUE(running()) << "closing the About window ended the program: " << programState();
    EXPECT_EQ(client_->mapState(main_), MapState::viewable)
        << "the main window is not showing after the About window closed";

    const XWindowId again = openAbout("after the About window's frame close");
    ASSERT_NE(again, 0u);
    expectAboutSize(again);
    expectOneAboutShowing("after Alt+A created it again");
    ASSERT_TRUE(running()) << programState();
}

TEST_F(AboutWindow, ClosingTheMainWindowWhileItShowsEndsTheProgramWithStatusZero) {
    waitForTheMaze();
    const XWindowId about = openAbout("at load");
    ASSERT_NE(about, 0u);

    const auto took = closeAndTimeTheEnd(main_, "main window");
    ASSERT_TRUE(took.has_value()) << "gulpo was still running 5 s after its main window was "
                                  << "asked to close with the About window showing; "
                                  << programState();
    note("close_to_exit_ms", static_cast<long>(took->count()));
    expectCleanEnd("its main window was closed with the About window showing");
}

using StartPause = GulpoSession;

TEST_F(StartPause, ClosingTheWindowHalfASecondAfterStartEndsTheProgramWithinHalfASecond) {
    waitForTheMaze();
    const playfield::Playfield atLoad;
    playfield::Playfield started;
    started.cmdStart.setVisible(false);
    started.cmdAbout.setVisible(false);
    const PixelRect startButton = pixelsOf(atLoad.cmdStart.box(), kDesignTwipsPerPixel);
    const auto buttonGone = [&](const Screenshot& s) {
        return differingPixels(s, started.frmGulpo, startButton, kDesignTwipsPerPixel) == 0;
    };

    pressIn(main_, "main window", "alt+s");
    const auto pressed = Clock::now();
    const Screenshot after = captureWhen(main_, buttonGone, milliseconds(450));
    keep(after, "after_start");
    ASSERT_TRUE(buttonGone(after))
        << "the Start button still shows after Alt+S, so Start was "
        << "not chosen and there is no pause to close in; " << programState();

    // Well inside the two seconds between Start and play.
    std::this_thread::sleep_until(pressed + milliseconds(500));
    const auto took = closeAndTimeTheEnd(main_, "main window");
    const auto sinceStart =
        std::chrono::duration_cast<milliseconds>(Clock::now() - pressed).count();
    ASSERT_TRUE(took.has_value()) << "gulpo was still running 5 s after its window was asked "
                                  << "to close during the pause after Start; " << programState();
    note("close_to_exit_ms", static_cast<long>(took->count()));
    note("start_to_exit_ms", static_cast<long>(sinceStart));
    EXPECT_LT(took->count(), 500) << "gulpo took " << took->count() << " ms to end after its "
                                  << "window was asked to close during the pause after Start";
    expectCleanEnd("its window was closed during the pause after Start");
}

using DoubleSize = GulpoSession;

TEST_F(DoubleSize, ShowsPureBlueExactlyWhereTheMazeHasWallsWithNoMargins) {
    waitForTheMaze();
    ASSERT_TRUE(client_->resize(main_, kDoubleSize, milliseconds(3000)))
        << "the main window did not take the size " << kDoubleSize.width << " x "
        << kDoubleSize.height;

    const playfield::Playfield model;
    const Screenshot shot = captureWhen(
        main_,
        [&](const Screenshot& s) {
            return s.width == kDoubleSize.width && s.height == kDoubleSize.height &&
                   compareWalls(s, model.frmGulpo, kDoubleTwipsPerPixel).mismatches == 0;
        },
        milliseconds(5000));
    ASSERT_FALSE(shot.empty()) << "the main window could not be captured; " << programState();
    keep(shot, "double_size");
    ASSERT_EQ(shot.width, kDoubleSize.width);
    ASSERT_EQ(shot.height, kDoubleSize.height);

    const WallComparison c = compareWalls(shot, model.frmGulpo, kDoubleTwipsPerPixel);
    // The comparison means something only if the maze has walls on screen.
    ASSERT_GT(c.modelWalls, 40000);
    EXPECT_EQ(c.mismatches, 0) << "at twice the size, " << c.describe(shot);

    // The buttons grow and move with the scene.
    playfield::Playfield bare;
    bare.cmdStart.setVisible(false);
    bare.cmdAbout.setVisible(false);
    const PixelRect startButton = pixelsOf(model.cmdStart.box(), kDoubleTwipsPerPixel);
    const long differing = differingPixels(shot, bare.frmGulpo, startButton, kDoubleTwipsPerPixel);
    EXPECT_GT(differing * 2, startButton.area())
        << "at twice the size the Start button's face does not cover its area ("
        << startButton.describe() << "): only " << differing << " of " << startButton.area()
        << " pixels differ from the bare window";
}

using WindowIcon = GulpoSession;

TEST_F(WindowIcon, TheMainWindowCarriesThePlayersPicture) {
    const std::optional<WindowIcons> icons = client_->icons(main_);
    ASSERT_TRUE(icons.has_value()) << "the main window has no _NET_WM_ICON property";
    std::ostringstream sizes;
    for (const WindowSize& s : icons->images) {
        sizes << " " << s.width << "x" << s.height;
    }
    RecordProperty("icon_sizes", sizes.str());
    std::cout << "[ observe  ] " << name_ << ": _NET_WM_ICON has " << icons->items
              << " items, icons" << sizes.str() << "\n";
    EXPECT_EQ(icons->type, "CARDINAL");
    EXPECT_EQ(icons->format, 32);
    ASSERT_TRUE(icons->wellFormed) << "_NET_WM_ICON does not hold whole icons: " << icons->items
                                   << " items, sizes" << sizes.str();
    ASSERT_GT(icons->largest.width, 0);
    ASSERT_GT(icons->largest.height, 0);

    // The player: pure yellow on a clear background.
    long yellow = 0;
    long clear = 0;
    for (std::uint32_t p : icons->largestPixels) {
        yellow += p == 0xFFFFFF00u ? 1 : 0;
        clear += (p >> 24) == 0 ? 1 : 0;
    }
    const long total = static_cast<long>(icons->largestPixels.size());
    EXPECT_GT(yellow * 4, total) << "only " << yellow << " of " << total
                                 << " pixels of the largest icon are opaque pure yellow";
    EXPECT_GT(clear * 10, total) << "only " << clear << " of " << total
                                 << " pixels of the largest icon are clear";
}

}  // namespace
}  // namespace window_test
