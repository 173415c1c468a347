// The real program's main window carries the player's picture as its icon,
// where window managers and task bars read it (_NET_WM_ICON).

#include <cstdint>
#include <iostream>
#include <optional>
#include <sstream>

#include "tests/window/real_program_test.h"

namespace window_test {
namespace {

using WindowIcon = RealProgramTest;

TEST_F(WindowIcon, TheMainWindowCarriesThePlayersPicture) {
    const std::optional<WindowIcons> icons = x().icons(mainWindow());
    ASSERT_TRUE(icons.has_value()) << "the main window has no _NET_WM_ICON property";
    std::ostringstream sizes;
    for (const WindowSize& s : icons->images) {
        sizes << " " << s.width << "x" << s.height;
    }
    RecordProperty("icon_sizes", sizes.str());
    std::cout << "[ observe  ] " << currentTestName() << ": _NET_WM_ICON has " << icons->items
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
