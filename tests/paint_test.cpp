// The painted main window agrees with the scene's colour query pixel for
// pixel: blue exactly where a wall is, at the design size and scaled.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QScreen>

#include "game/frm_gulpo.h"
#include "platform/qt/form_window.h"
#include "platform/qt/qt_platform.h"
#include "playfield/layout.h"

namespace {

struct Painted {
    QImage image;
    int mismatches = 0;
    std::string firstMismatch;
};

// Paints the main window at the given size and compares every pixel whose
// centre the scene calls a wall (and no other) with pure blue.
Painted paintAndCompare(game::FrmGulpo& gulpo, platform::FormWindow& window, QSize size) {
    window.resize(size);
    Painted p;
    p.image = QImage(size, QImage::Format_RGB32);
    window.render(&p.image);
    const platform::TwipsMapping& m = window.mapping();
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            const double tx = (x - m.offsetX + 0.5) * m.twipsPerPixel;
            const double ty = (y - m.offsetY + 0.5) * m.twipsPerPixel;
            const bool wall = gulpo.frmGulpo.Point(static_cast<float>(tx),
                                                   static_cast<float>(ty)) == playfield::WallColour;
            const bool blue = p.image.pixel(x, y) == qRgb(0, 0, 255);
            if (wall != blue) {
                if (p.mismatches++ == 0) {
                    p.firstMismatch = "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
                }
            }
        }
    }
    return p;
}

void saveArtifact(const QImage& image, const char* name) {
    QDir().mkpath(GULPO_ARTIFACT_DIR);
    image.save(QString(GULPO_ARTIFACT_DIR) + "/" + name);
}

class PaintedWindow : public ::testing::Test {
  protected:
    platform::QtPlatform platform;
    game::FrmGulpo gulpo{platform};
    platform::FormWindow* window = nullptr;

    void SetUp() override {
        gulpo.load();
        window = platform.windowOf(gulpo.frmGulpo);
        ASSERT_NE(window, nullptr);
    }
};

TEST_F(PaintedWindow, AtTheDesignSizeIsBlueExactlyWhereTheWallsAre) {
    EXPECT_EQ(window->designSize(), QSize(467, 520));
    EXPECT_EQ(window->windowTitle(), "Gulpo");
    const Painted p = paintAndCompare(gulpo, *window, window->designSize());
    saveArtifact(p.image, "main-window-100.png");
    EXPECT_EQ(p.mismatches, 0) << "first at " << p.firstMismatch;
    // The player's start picture and a dot are in view, not black.
    EXPECT_NE(p.image.pixel(68, 200), qRgb(0, 0, 0));
    EXPECT_EQ(p.image.pixel(2760 / 15 + 4, 3600 / 15 + 4), qRgb(255, 255, 0));
}

TEST_F(PaintedWindow, ScaledUpKeepsTheWallsWhereTheSceneHasThem) {
    const Painted twice = paintAndCompare(gulpo, *window, QSize(934, 1040));
    saveArtifact(twice.image, "main-window-200.png");
    EXPECT_EQ(twice.mismatches, 0) << "first at " << twice.firstMismatch;
    EXPECT_DOUBLE_EQ(window->mapping().twipsPerPixel, 7.5);
    // A wide window centres the scene on black.
    const Painted wide = paintAndCompare(gulpo, *window, QSize(1401, 1040));
    saveArtifact(wide.image, "main-window-wide.png");
    EXPECT_EQ(wide.mismatches, 0) << "first at " << wide.firstMismatch;
    EXPECT_EQ(window->mapping().offsetX, 233);
    EXPECT_EQ(wide.image.pixel(100, 500), qRgb(0, 0, 0));
}

// The picture the platform holds for the window, as the window's own
// repaints left it.
QImage heldPicture(platform::FormWindow& window) {
    QCoreApplication::processEvents();
    return window.screen()
        ->grabWindow(window.winId())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

TEST_F(PaintedWindow, MovedSpritesAndEatenDotsShowWithoutAskingForARepaint) {
    heldPicture(*window);
    gulpo.shpFood(0).setVisible(false);
    gulpo.imgGhost1.setLeft(2520);
    gulpo.imgGhost1.setTop(1320);
    gulpo.imgGulpo.setLeft(gulpo.imgGulpo.Left() - 30);
    gulpo.lblScore.setCaption("100");
    const QImage held = heldPicture(*window);
    const QImage fresh = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(held.size(), fresh.size());
    int stale = 0;
    for (int y = 0; y < held.height(); ++y) {
        for (int x = 0; x < held.width(); ++x) {
            stale += held.pixel(x, y) != fresh.pixel(x, y) ? 1 : 0;
        }
    }
    EXPECT_EQ(stale, 0) << "pixels the repaints left behind";
    // Where the dot was, the window shows the black background now.
    EXPECT_EQ(held.pixel(2760 / 15 + 4, 3600 / 15 + 4), qRgb(0, 0, 0));
}

}  // namespace
