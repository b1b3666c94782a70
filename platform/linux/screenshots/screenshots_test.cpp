// Facts in the pixels of the documentation's pictures: the panel's dark rounded background, the
// highlight's blue, the first candidate standing right of the second, the marquee moving a word,
// the dialogs at their sizes with their texts drawn.
#include "platform/linux/screenshots/screenshot_book.h"

#include <gtest/gtest.h>

#include <map>

namespace ornav::linux_platform {
namespace {

class Screenshots : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    for (auto& shot : takeScreenshots(ORNAV_BUNDLE_DIR))
      shots_->emplace(shot.name, std::move(shot));
  }
  static const Screenshot& shot(const std::string& name) {
    const auto it = shots_->find(name);
    if (it == shots_->end()) throw std::runtime_error("no picture " + name);
    return it->second;
  }
  // A pixel of a cell's own background: centred, 1.5 points below its top edge, above its text
  // (content coordinates have their origin at the bottom left).
  static QColor backgroundOf(const Screenshot& panel, const PanelCell& cell) {
    const double height = panel.scene.frame.height;
    const double scale = panel.image.height() / height;
    const int x = int((cell.frame.x + cell.frame.width / 2) * scale);
    const int y = int((height - cell.frame.maxY() + 1.5) * scale);
    return panel.image.pixelColor(x, y);
  }
  // Whether any pixel inside a cell is much brighter than the panel's background: drawn text.
  static bool hasTextIn(const Screenshot& panel, const PanelCell& cell) {
    const double height = panel.scene.frame.height;
    const double scale = panel.image.height() / height;
    const QRect area(int(cell.frame.x * scale), int((height - cell.frame.maxY()) * scale),
                     int(cell.frame.width * scale), int(cell.frame.height * scale));
    for (int y = area.top(); y <= area.bottom(); ++y) {
      for (int x = area.left(); x <= area.right(); ++x) {
        if (panel.image.pixelColor(x, y).lightness() > 150) return true;
      }
    }
    return false;
  }

  static inline std::map<std::string, Screenshot>* shots_ = new std::map<std::string, Screenshot>;
};

TEST_F(Screenshots, EveryPictureIsThere) {
  for (const char* name :
       {"panel-row", "panel-grid", "panel-marquee", "update-offered", "update-downloading",
        "update-failed", "update-latest", "feedback", "about", "welcome", "key-map"}) {
    EXPECT_FALSE(shot(name).image.isNull()) << name;
  }
}

TEST_F(Screenshots, ThePanelIsADarkRoundedRectangle) {
  const Screenshot& row = shot("panel-row");
  const QColor inside = row.image.pixelColor(row.image.width() / 2, 2);
  EXPECT_NEAR(inside.red(), 38, 3);  // white 0.15
  EXPECT_NEAR(inside.green(), 38, 3);
  EXPECT_NEAR(inside.alpha(), 245, 3);               // alpha 0.96
  EXPECT_EQ(row.image.pixelColor(0, 0).alpha(), 0);  // outside the rounded corner
}

TEST_F(Screenshots, TheFirstCandidateIsBlueAndStandsRightOfTheSecond) {
  const Screenshot& row = shot("panel-row");
  ASSERT_GE(row.scene.cells.size(), 2u);
  const PanelCell& first = row.scene.cells[0];
  const PanelCell& second = row.scene.cells[1];
  EXPECT_GT(first.frame.x, second.frame.x);
  const QColor blue = backgroundOf(row, first);
  EXPECT_GT(blue.blue(), 180);
  EXPECT_LT(blue.red(), 80);
  EXPECT_TRUE(hasTextIn(row, first));
  EXPECT_TRUE(hasTextIn(row, second));
  EXPECT_LT(backgroundOf(row, second).blue(), 100);  // not highlighted
}

TEST_F(Screenshots, TheGridHighlightsRowTwo) {
  const Screenshot& grid = shot("panel-grid");
  int highlighted = -1;
  for (std::size_t i = 0; i < grid.scene.cells.size(); ++i) {
    if (grid.scene.cells[i].highlighted) highlighted = int(i);
  }
  ASSERT_EQ(highlighted, 7);  // row 1, column 2
  EXPECT_GT(backgroundOf(grid, grid.scene.cells[highlighted]).blue(), 180);
  EXPECT_EQ(grid.scene.cells[highlighted].frame.width, 96);
}

TEST_F(Screenshots, TheMarqueeHasMovedTheWideWord) {
  const Screenshot& marquee = shot("panel-marquee");
  const Screenshot& grid = shot("panel-grid");
  EXPECT_NE(marquee.image, grid.image);
  ASSERT_GE(marquee.scene.cells.size(), 6u);
  const PanelCell& wide = marquee.scene.cells[5];
  EXPECT_TRUE(wide.highlighted);
  EXPECT_GT(wide.word.frame.width, wide.frame.width - 12);  // it does not fit its cell
}

TEST_F(Screenshots, DialogsHaveTheirSizes) {
  const auto size = [](const char* name) { return shot(name).image.size(); };
  const qreal scale = shot("about").image.devicePixelRatio();
  EXPECT_EQ(size("update-offered"), QSize(500, 340) * scale);
  EXPECT_EQ(size("feedback"), QSize(470, 320) * scale);
  EXPECT_EQ(size("about"), QSize(380, 288) * scale);
  EXPECT_EQ(size("welcome"), QSize(470, 202) * scale);
  // The update window's status line changed between its states.
  EXPECT_NE(shot("update-offered").image, shot("update-downloading").image);
  EXPECT_NE(shot("update-downloading").image, shot("update-failed").image);
}

}  // namespace
}  // namespace ornav::linux_platform
