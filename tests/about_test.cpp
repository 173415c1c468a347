// The About window: created on first use, one at most, hidden by Close,
// destroyed by its frame, and no part of the game.
#include <gtest/gtest.h>

#include "game/about.h"
#include "tests/support/scenario.h"
#include "tests/support/trace_fields.h"

namespace {

using gulpo_test::field;
using gulpo_test::Scenario;

TEST(AboutWindow, AboutTwiceGivesOneWindowShowingTheInstructions) {
    Scenario s("100 click about\n200 click about\n300 end\n");
    ASSERT_EQ(s.lines("about").size(), 2u);
    EXPECT_EQ(field(s.lines("load")[0], "about"), "none");
    EXPECT_EQ(field(s.lines("about")[0], "about"), "shown");
    game::FrmAbout* about = s.game().frmAbout();
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->frmAbout.caption(), "About Gulpo");
    EXPECT_EQ(about->frmAbout.clientWidth(), 4785);
    EXPECT_EQ(about->frmAbout.clientHeight(), 3330);
    EXPECT_EQ(about->Label1.Caption(), "Gulpo");
    EXPECT_TRUE(about->Label2.Caption().starts_with("Programmed By"));
    EXPECT_EQ(about->Label3.Caption(),
              "Instructions: Use arrow keys to move Gulpo. Collect food while avoiding the ghosts. "
              "Eat the big food to make the ghosts edible. As you reach higher levels, new fruits "
              "become available.");
    EXPECT_EQ(about->cmdClose.Caption(), "&Close");
    EXPECT_EQ(about->frmAbout.defaultButton(), &about->cmdClose);
}

TEST(AboutWindow, CloseHidesItAndAboutShowsTheSameWindowAgain) {
    Scenario s("100 alt A\n200 click close\n300 end\n");
    game::FrmAbout* first = s.game().frmAbout();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(field(s.lines("close")[0], "about"), "hidden");
    EXPECT_FALSE(first->frmAbout.Visible());
    s.platform().post(400, [&] { s.game().frmGulpo.click(s.game().cmdAbout); });
    s.runTo(500);
    EXPECT_EQ(s.game().frmAbout(), first);
    EXPECT_TRUE(first->frmAbout.Visible());
}

TEST(AboutWindow, AltCPressesCloseOnlyWhileTheWindowIsShown) {
    Scenario s("100 alt C\n200 alt A\n300 alt C\n400 click close\n500 end\n");
    EXPECT_EQ(s.lines("close").size(), 1u);
    EXPECT_EQ(field(s.lines().back(), "about"), "hidden");
}

TEST(AboutWindow, TheMainWindowsButtonsStillWorkWhileItIsOpen) {
    Scenario s("100 click about\n200 click start\n2300 end\n");
    EXPECT_EQ(s.lines("start").size(), 1u);
    EXPECT_EQ(field(s.lines("start")[0], "about"), "shown") << "it stays open during play";
    EXPECT_FALSE(s.lines("tick").empty());
}

TEST(AboutWindow, TheFrameCloseDestroysItAndAboutCreatesANewOne) {
    Scenario s(
        "100 click about\n200 closewin about\n250 click close\n300 closewin about\n"
        "400 click about\n500 end\n");
    // A window that does not exist is not destroyed twice.
    EXPECT_EQ(field(s.only("aboutwin"), "about"), "none");
    EXPECT_TRUE(s.lines("close").empty());
    ASSERT_EQ(s.lines("about").size(), 2u);
    EXPECT_EQ(field(s.lines("about")[1], "about"), "shown");
}

TEST(AboutWindow, ClosingTheMainWindowWithAboutOpenEndsTheProgram) {
    Scenario s("100 click about\n200 closewin main\n300 click about\n");
    EXPECT_TRUE(s.platform().ending());
    EXPECT_EQ(s.lines("about").size(), 1u);
    EXPECT_EQ(s.lines().back(), "{\"t\":200,\"ev\":\"exit\",\"depth\":0}");
}

TEST(EndingTheProgram, ClosingDuringStartsPauseReturnsFromTheWaitHarmlessly) {
    Scenario s("0 click start\n500 closewin main\n");
    const auto lines = s.lines();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[lines.size() - 3], "{\"t\":500,\"ev\":\"wait_end\",\"depth\":0}");
    EXPECT_TRUE(lines[lines.size() - 2].starts_with("{\"t\":500,\"ev\":\"start\""));
    EXPECT_EQ(lines.back(), "{\"t\":500,\"ev\":\"exit\",\"depth\":0}");
    EXPECT_TRUE(s.lines("tick").empty());
}

}  // namespace
