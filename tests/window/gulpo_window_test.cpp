#include "tests/window/gulpo_window_test.h"

#include <iostream>
#include <sstream>

#include "playfield/playfield.h"

namespace window_test {

GulpoWindowTest::GulpoWindowTest() {
    options.program = GULPO_PROGRAM;
    options.name = currentTestName();
}

std::string currentTestName() {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return std::string(info->test_suite_name()) + "_" + info->name();
}

void GulpoWindowTest::SetUp() {
    if (!xvfbInstalled()) {
        GTEST_SKIP() << "Xvfb is not installed here, so no real window can be shown";
    }
    try {
        session_ = std::make_unique<GulpoSession>(options);
    } catch (const std::exception& e) {
        FAIL() << e.what();
    }
    ASSERT_TRUE(session_->launch())
        << "no mapped top-level window named \"Gulpo\" at the size asked for within 10 s; "
        << state();
}

void GulpoWindowTest::TearDown() {
    session_.reset();
}

void GulpoWindowTest::press(const std::string& keys) {
    const ExitStatus s = session_->press(keys);
    ASSERT_TRUE(s.exited && s.code == 0) << "xdotool key " << keys << ": " << s.describe();
}

void GulpoWindowTest::pressIn(XWindowId window, const std::string& what, const std::string& keys) {
    ASSERT_TRUE(x().focus(window, Millis(2000)))
        << "the " << what << " did not get the input focus";
    press(keys);
}

void GulpoWindowTest::keep(const Screenshot& shot, const std::string& what) {
    EXPECT_FALSE(session_->keep(shot, what).empty()) << "could not keep the picture " << what;
}

void GulpoWindowTest::waitForTheMaze() {
    const playfield::Playfield model;
    const platform::TwipsMapping mapping = session_->mapping();
    const Screenshot shot = session_->captureWhen(
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

std::optional<Millis> GulpoWindowTest::expectCloseEndsTheProgram(XWindowId window,
                                                                 const std::string& what,
                                                                 Millis timeout) {
    EXPECT_TRUE(x().takesDeleteRequests(window))
        << "the " << what << " does not list WM_DELETE_WINDOW in WM_PROTOCOLS, so a window "
        << "manager would kill the program instead of asking it to close";
    const std::optional<Millis> took = session_->closeAndTimeTheEnd(window, timeout);
    if (!took) {
        ADD_FAILURE() << "gulpo was still running " << timeout.count() << " ms after its " << what
                      << " was asked to close; " << state();
        return took;
    }
    const ExitStatus status = *session_->exitStatus();
    EXPECT_TRUE(status.exited && status.code == 0) << "gulpo " << status.describe() << " after its "
                                                   << what << " was asked to close; " << state();
    std::ostringstream others;
    const std::vector<std::string> lines = session_->unexpectedErrorLines();
    for (const std::string& l : lines) {
        others << "\n  " << l;
    }
    EXPECT_TRUE(lines.empty()) << "gulpo printed " << lines.size()
                               << " unexpected line(s) to its error output:" << others.str();
    return took;
}

void GulpoWindowTest::note(const std::string& key, long value) {
    RecordProperty(key, std::to_string(value));
    std::cout << "[ measure  ] " << currentTestName() << ": " << key << " = " << value << "\n";
}

}  // namespace window_test
