#include "tests/window/real_program_test.h"

#include <algorithm>
#include <iostream>
#include <sstream>

#include "playfield/playfield.h"

namespace window_test {

std::string currentTestName() {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "_" + info->name();
    std::replace(name.begin(), name.end(), '/', '_');
    return name;
}

RealProgramTest::RealProgramTest() {
    options.name = currentTestName();
}

void RealProgramTest::SetUp() {
    if (!onX) {
        return;
    }
    if (!xvfbInstalled()) {
        GTEST_SKIP() << "Xvfb is not installed here, so no real window can be shown";
    }
    try {
        xvfb_ = std::make_unique<XvfbGame>(options);
        if (stepped) {
            clock_.emplace(*xvfb_, dir());
        }
    } catch (const std::exception& e) {
        FAIL() << e.what();
    }
    if (!launchInSetUp) {
        return;
    }
    ASSERT_TRUE(xvfb_->launch())
        << "no mapped top-level window named \"Gulpo\" at the size asked for within 10 s; "
        << state();
    if (clock_) {
        try {
            clock_->connect();
        } catch (const std::exception& e) {
            FAIL() << e.what();
        }
    }
}

void RealProgramTest::TearDown() {
    clock_.reset();
    xvfb_.reset();
    if (HasFailure()) {
        // The servers' logs, for a look at what went wrong.
        scratch_.keep();
        std::cerr << "the session's logs are kept in " << dir() << "\n";
    }
}

std::string RealProgramTest::artifact(const std::string& what) const {
    return artifactPath(options.name + "." + what);
}

void RealProgramTest::press(const std::string& keys) {
    const ExitStatus s = xvfb_->press(keys);
    ASSERT_TRUE(s.exited && s.code == 0) << "xdotool key " << keys << ": " << s.describe();
}

void RealProgramTest::pressIn(XWindowId window, const std::string& what, const std::string& keys) {
    ASSERT_TRUE(x().focus(window, Millis(2000)))
        << "the " << what << " did not get the input focus";
    press(keys);
}

void RealProgramTest::keep(const Screenshot& shot, const std::string& what) {
    EXPECT_TRUE(savePng(shot, artifact(what + ".png"))) << "could not keep the picture " << what;
}

void RealProgramTest::waitForTheMaze() {
    const playfield::Playfield model;
    const platform::TwipsMapping mapping = xvfb_->mapping();
    const Screenshot shot = xvfb_->captureWhen(
        mainWindow(),
        [&](const Screenshot& s) {
            return compareWalls(s, model.frmGulpo, mapping).mismatches == 0;
        },
        Millis(5000));
    ASSERT_FALSE(shot.empty()) << "the main window could not be captured; " << state();
    const WallComparison c = compareWalls(shot, model.frmGulpo, mapping);
    if (c.mismatches != 0) {
        keep(shot, "at_load");
    }
    ASSERT_EQ(c.mismatches, 0) << "the main window never showed the maze: " << c.describe(shot);
}

std::optional<Millis> RealProgramTest::expectCloseEndsTheProgram(XWindowId window,
                                                                 const std::string& what,
                                                                 Millis timeout) {
    EXPECT_TRUE(x().takesDeleteRequests(window))
        << "the " << what << " does not list WM_DELETE_WINDOW in WM_PROTOCOLS, so a window "
        << "manager would kill the program instead of asking it to close";
    const std::optional<Millis> took = xvfb_->closeAndTimeTheEnd(window, timeout);
    if (!took) {
        ADD_FAILURE() << "gulpo was still running " << timeout.count() << " ms after its " << what
                      << " was asked to close; " << state();
        return took;
    }
    const ExitStatus status = *xvfb_->exitStatus();
    EXPECT_TRUE(status.exited && status.code == 0) << "gulpo " << status.describe() << " after its "
                                                   << what << " was asked to close; " << state();
    std::ostringstream others;
    const std::vector<std::string> lines = xvfb_->unexpectedErrorLines();
    for (const std::string& l : lines) {
        others << "\n  " << l;
    }
    EXPECT_TRUE(lines.empty()) << "gulpo printed " << lines.size()
                               << " unexpected line(s) to its error output:" << others.str();
    return took;
}

void RealProgramTest::note(const std::string& key, long value) {
    RecordProperty(key, std::to_string(value));
    std::cout << "[ measure  ] " << currentTestName() << ": " << key << " = " << value << "\n";
}

}  // namespace window_test
