#include "platform/linux/qt/qt_panel_window.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <QApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QTest>
#include <cmath>

#include "platform/linux/qt/qt_render.h"
#include "platform/linux/qt/qt_text_measurer.h"
#include "platform/linux/qt/qt_values.h"

namespace ornav::linux_platform {
namespace {

const Font kWordFont = Font::system(18);
const Font kDigitFont = Font::system(10.8);
const std::string kShortWord = "سالام";
const std::string kLongWord = "ئۇيغۇرچە كىرگۈزگۈچ";

// A scene as the portable panel would compute it: two cells of one row, right to left; the
// right one highlighted with a digit, the left one holding a word wider than the cell.
struct SampleScene {
  PanelScene scene;
  double cellWidth = 90;
  double cellHeight = 0;
};

SampleScene sampleScene() {
  QtTextMeasurer measurer;
  const Size shortWord = measurer.measure(kShortWord, kWordFont);
  const Size longWord = measurer.measure(kLongWord, kWordFont);
  const Size digit = measurer.measure("1", kDigitFont);
  SampleScene sample;
  sample.cellHeight = std::ceil(shortWord.height) + 6;
  const double height = sample.cellHeight + 12;
  PanelScene& scene = sample.scene;
  scene.frame = Rect{100, 200, 6 + sample.cellWidth + 4 + sample.cellWidth + 6 + 14, height};

  PanelCell highlighted;
  highlighted.globalIndex = 0;
  highlighted.highlighted = true;
  highlighted.frame =
      Rect{scene.frame.width - 6 - sample.cellWidth, 6, sample.cellWidth, sample.cellHeight};
  highlighted.background = Color::ofRole(Color::Role::systemBlue, 0.8);
  highlighted.word =
      PanelLabel{kShortWord, kWordFont, Color::white(1),
                 Rect{sample.cellWidth - 6 - shortWord.width, 3, shortWord.width, shortWord.height},
                 TextDirection::rightToLeft};
  highlighted.digit =
      PanelLabel{"1", kDigitFont, Color::white(1),
                 Rect{6, (sample.cellHeight - digit.height) / 2, digit.width, digit.height},
                 TextDirection::leftToRight};

  PanelCell clipped;
  clipped.globalIndex = 1;
  clipped.dim = true;
  clipped.frame =
      Rect{highlighted.frame.x - 4 - sample.cellWidth, 6, sample.cellWidth, sample.cellHeight};
  clipped.word =
      PanelLabel{kLongWord, kWordFont, Color::white(1, 0.9),
                 Rect{sample.cellWidth - 6 - longWord.width, 3, longWord.width, longWord.height},
                 TextDirection::rightToLeft};
  scene.cells = {highlighted, clipped};
  return sample;
}

// Top-left based pixel rectangle of a frame given in content coordinates.
QRect pixels(const Rect& frame, int contentHeight) {
  return QRect(int(std::floor(frame.x)), int(std::floor(contentHeight - frame.y - frame.height)),
               int(std::ceil(frame.width)), int(std::ceil(frame.height)));
}

Rect inCell(const PanelCell& cell, const Rect& label) {
  return Rect{cell.frame.x + label.x, cell.frame.y + label.y, label.width, label.height};
}

bool near(const QColor& actual, const QColor& expected, int tolerance) {
  return std::abs(actual.red() - expected.red()) <= tolerance &&
         std::abs(actual.green() - expected.green()) <= tolerance &&
         std::abs(actual.blue() - expected.blue()) <= tolerance &&
         std::abs(actual.alpha() - expected.alpha()) <= tolerance;
}

// Source-over of `top` on `bottom`, both not premultiplied.
QColor over(const QColor& top, const QColor& bottom) {
  const double a = top.alphaF() + bottom.alphaF() * (1 - top.alphaF());
  auto channel = [&](double t, double b) {
    return (t * top.alphaF() + b * bottom.alphaF() * (1 - top.alphaF())) / a;
  };
  return QColor::fromRgbF(float(channel(top.redF(), bottom.redF())),
                          float(channel(top.greenF(), bottom.greenF())),
                          float(channel(top.blueF(), bottom.blueF())), float(a));
}

// Text is white; a pixel is text where it is clearly lighter than the dark or blue ground.
bool isText(const QColor& pixel, const QColor& ground) {
  return pixel.red() - ground.red() > 60 && pixel.alpha() > 0;
}

int countText(const QImage& image, const QRect& area, const QColor& ground) {
  int count = 0;
  const QRect inside = area.intersected(image.rect());
  for (int y = inside.top(); y <= inside.bottom(); ++y)
    for (int x = inside.left(); x <= inside.right(); ++x)
      if (isText(image.pixelColor(x, y), ground)) ++count;
  return count;
}

double textCentreX(const QImage& image, const QRect& area, const QColor& ground) {
  double sum = 0;
  int count = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (isText(image.pixelColor(x, y), ground)) {
        sum += x;
        ++count;
      }
  return count > 0 ? sum / count : -1;
}

class QtPanelWindowTest : public ::testing::Test {
 protected:
  SampleScene sample = sampleScene();
  QtPanelWindow window;
  QColor panelGround = toQColor(Color::white(0.15, 0.96), QPalette());
};

TEST_F(QtPanelWindowTest, DrawsTheRoundedDarkBackgroundAndTheHighlightBlue) {
  window.show(sample.scene);
  const QImage image = window.render();
  ASSERT_EQ(image.size(), QSize(int(sample.scene.frame.width), int(sample.scene.frame.height)));

  // Outside the rounded corner the window is transparent; just inside it is the dark ground.
  EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0);
  EXPECT_EQ(image.pixelColor(image.width() - 1, image.height() - 1).alpha(), 0);
  EXPECT_TRUE(near(image.pixelColor(3, 3), panelGround, 2))
      << image.pixelColor(3, 3).name(QColor::HexArgb).toStdString();
  EXPECT_TRUE(near(image.pixelColor(3, image.height() / 2), QColor(38, 38, 38, 245), 2));

  const PanelCell& cell = sample.scene.cells[0];
  const QRect cellPixels = pixels(cell.frame, image.height());
  const QColor blue = over(toQColor(cell.background, window.widget().palette()), panelGround);
  const QColor pixel = image.pixelColor(cellPixels.left() + 3, cellPixels.center().y());
  EXPECT_TRUE(near(pixel, blue, 3)) << pixel.name(QColor::HexArgb).toStdString() << " vs "
                                    << blue.name(QColor::HexArgb).toStdString();
  EXPECT_GT(pixel.blue(), 200);
  EXPECT_LT(pixel.red(), 30);
}

TEST_F(QtPanelWindowTest, WordAndDigitDrawInsideTheirFramesOnly) {
  window.show(sample.scene);
  const QImage image = window.render();
  const PanelCell& cell = sample.scene.cells[0];
  const QColor blue = over(toQColor(cell.background, window.widget().palette()), panelGround);
  const QRect word = pixels(inCell(cell, cell.word.frame), image.height());
  const QRect digit = pixels(inCell(cell, cell.digit->frame), image.height());
  EXPECT_GT(countText(image, word, blue), 20);
  EXPECT_GT(countText(image, digit, blue), 3);

  // Everywhere else in the cell: only the blue ground (a pixel's margin for antialiasing).
  const QRect cellPixels = pixels(cell.frame, image.height());
  const QRect wordZone = word.adjusted(-2, -2, 2, 2);
  const QRect digitZone = digit.adjusted(-2, -2, 2, 2);
  int stray = 0;
  for (int y = cellPixels.top(); y <= cellPixels.bottom(); ++y)
    for (int x = cellPixels.left(); x <= cellPixels.right(); ++x)
      if (!wordZone.contains(x, y) && !digitZone.contains(x, y) &&
          isText(image.pixelColor(x, y), blue))
        ++stray;
  EXPECT_EQ(stray, 0);
}

TEST_F(QtPanelWindowTest, AWordWiderThanItsCellIsClippedAtTheCellsEdge) {
  const PanelCell& cell = sample.scene.cells[1];
  ASSERT_LT(cell.word.frame.x, -20) << "the sample word must run past the cell";
  window.show(sample.scene);
  const QImage image = window.render();
  const QRect cellPixels = pixels(cell.frame, image.height());
  // Inside the cell the word shows; left of the cell, where it would run on, nothing does.
  EXPECT_GT(countText(image, cellPixels, panelGround), 50);
  const QRect beyond(2, cellPixels.top(), cellPixels.left() - 1 - 2, cellPixels.height());
  EXPECT_EQ(countText(image, beyond, panelGround), 0);
}

TEST_F(QtPanelWindowTest, ALongWordNeverCoversTheDigit) {
  PanelScene digitOnly = sample.scene;
  digitOnly.cells[0].word.text = "";
  const QImage expected = renderPanelScene(digitOnly);
  // The long word at rest runs far past the digit; its area starts 4 points right of it.
  PanelCell& cell = sample.scene.cells[0];
  const Size word = QtTextMeasurer().measure(kLongWord, kWordFont);
  cell.word = PanelLabel{kLongWord, kWordFont, Color::white(1),
                         Rect{sample.cellWidth - 6 - word.width, 3, word.width, word.height}};
  const double areaLeft = cell.digit->frame.maxX() + 4;
  cell.wordArea = Rect{areaLeft, 0, sample.cellWidth - areaLeft, sample.cellHeight};
  window.show(sample.scene);
  const QColor blue = over(toQColor(cell.background, window.widget().palette()), panelGround);
  const QRect area = pixels(cell.frame, int(sample.scene.frame.height));
  for (const double offset : {0.0, word.width / 2}) {  // at rest and sliding
    window.setWordOffset(0, offset);
    const QImage image = window.render();
    EXPECT_GT(countText(image, area.adjusted(int(areaLeft), 0, 0, 0), blue), 50);
    for (int y = area.top(); y <= area.bottom(); ++y)
      for (int x = area.left(); x < area.left() + int(areaLeft); ++x)
        ASSERT_EQ(image.pixel(x, y), expected.pixel(x, y)) << x << "," << y << " at " << offset;
  }
}

TEST_F(QtPanelWindowTest, WordOffsetMovesTheWordWithoutTheDigit) {
  window.show(sample.scene);
  const PanelCell& cell = sample.scene.cells[0];
  const QImage before = window.render();
  const QColor blue = over(toQColor(cell.background, window.widget().palette()), panelGround);
  const QRect cellPixels = pixels(cell.frame, before.height());
  // The part of the cell right of the digit.
  const QRect digit = pixels(inCell(cell, cell.digit->frame), before.height());
  const QRect wordArea(digit.right() + 3, cellPixels.top(), cellPixels.right() - digit.right() - 3,
                       cellPixels.height());

  window.setWordOffset(0, -12);
  const QImage after = window.render();
  EXPECT_NEAR(textCentreX(after, wordArea, blue) - textCentreX(before, wordArea, blue), -12, 1.0);
  EXPECT_EQ(countText(after, digit, blue), countText(before, digit, blue));

  // Out-of-range cells are ignored; a new scene starts without offsets.
  window.setWordOffset(7, 30);
  window.setWordOffset(-1, 30);
  window.show(sample.scene);
  const QImage again = window.render();
  EXPECT_NEAR(textCentreX(again, wordArea, blue), textCentreX(before, wordArea, blue), 0.01);
}

TEST(QtPanelShapeTest, WithoutTranslucencyTheWindowIsCutToItsRoundedShapeAndOpaque) {
  bool translucent = false;
  QtPanelWindow window([&] { return translucent; });
  window.show(sampleScene().scene);
  // An X server without compositing shows the mask's pixels with their alpha ignored (a
  // see-through one shows black), and outside the mask what lies behind the window.
  const QRegion mask = window.widget().mask();
  const QImage image = window.render();
  EXPECT_FALSE(mask.contains(QPoint(0, 0)) || mask.contains(image.rect().bottomRight()));
  int shown = 0;
  int seeThrough = 0;
  for (const QRect& strip : mask)
    for (int y = strip.top(); y <= strip.bottom(); ++y)
      for (int x = strip.left(); x <= strip.right(); ++x, ++shown)
        seeThrough += image.pixelColor(x, y).alpha() != 255;
  EXPECT_EQ(seeThrough, 0);
  EXPECT_GT(shown, image.width() * image.height() * 95 / 100);
  window.hide();
  translucent = true;  // a compositing manager started: found when the panel next comes up
  window.show(sampleScene().scene);
  EXPECT_TRUE(window.widget().mask().isEmpty());
}

TEST(QtPanelGeometryTest, ContentFramesAreFlippedFromTheBottom) {
  PanelScene scene;
  scene.frame = Rect{0, 0, 60, 40};
  scene.cornerRadius = 0;
  scene.background = Color::white(0, 1);
  PanelCell cell;
  cell.frame = Rect{10, 6, 30, 10};
  cell.cornerRadius = 0;
  cell.background = Color{Color::Role::custom, 1, 0, 0, 1};
  scene.cells = {cell};
  const QImage image = renderPanelScene(scene);
  ASSERT_EQ(image.height(), 40);
  auto red = [&](int y) { return image.pixelColor(25, y) == QColor(255, 0, 0); };
  // Six rows of ground under the cell, the cell's ten rows, ground above it.
  for (int y = 34; y < 40; ++y)
    EXPECT_FALSE(red(y)) << y;
  for (int y = 24; y < 34; ++y)
    EXPECT_TRUE(red(y)) << y;
  EXPECT_FALSE(red(23));
  EXPECT_TRUE(image.pixelColor(10, 30) == QColor(255, 0, 0));
  EXPECT_FALSE(image.pixelColor(9, 30) == QColor(255, 0, 0));
  EXPECT_FALSE(image.pixelColor(40, 30) == QColor(255, 0, 0));
}

TEST(QtPanelGeometryTest, TheWindowStandsAtTheScenesScreenFrame) {
  const QRect primary = QGuiApplication::primaryScreen()->geometry();
  QtPanelWindow window;
  PanelScene scene;
  scene.frame = Rect{100, 200, 150, 40};
  window.show(scene);
  EXPECT_EQ(window.widget().geometry(),
            QRect(primary.x() + 100, primary.y() + primary.height() - 200 - 40, 150, 40));
  EXPECT_TRUE(window.isVisible());
  window.hide();
  EXPECT_FALSE(window.isVisible());
}

TEST(QtPanelBehaviourTest, NeverTakesTheFocusAndReportsClickedCells) {
  QtPanelWindow panel;
  const Qt::WindowFlags flags = panel.widget().windowFlags();
  EXPECT_TRUE(flags.testFlag(Qt::Tool));
  EXPECT_TRUE(flags.testFlag(Qt::FramelessWindowHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowDoesNotAcceptFocus));
  EXPECT_TRUE(flags.testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(panel.widget().testAttribute(Qt::WA_ShowWithoutActivating));
  EXPECT_TRUE(panel.widget().testAttribute(Qt::WA_TranslucentBackground));
  EXPECT_EQ(panel.widget().focusPolicy(), Qt::NoFocus);

  // The offscreen platform activates every window it shows, whatever its flags, so what can be
  // checked here is that the panel never holds the focus and leaves the client's focus alone.
  QLineEdit client;
  client.show();
  client.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&client));
  client.setFocus();
  ASSERT_EQ(QApplication::focusWidget(), &client);

  std::vector<int> clicks;
  panel.setClickHandler([&](int cell) { clicks.push_back(cell); });
  SampleScene sample = sampleScene();
  panel.show(sample.scene);
  QTest::qWait(20);
  EXPECT_EQ(client.focusWidget(), &client);
  EXPECT_EQ(panel.widget().focusWidget(), nullptr);

  const QRectF second = panel.widget().cellRect(1);
  QTest::mouseClick(&panel.widget(), Qt::LeftButton, {}, second.center().toPoint());
  QTest::mouseClick(&panel.widget(), Qt::LeftButton, {},
                    panel.widget().cellRect(0).center().toPoint());
  QTest::mouseClick(&panel.widget(), Qt::LeftButton, {}, QPoint(1, 1));  // outside every cell
  EXPECT_EQ(clicks, (std::vector<int>{1, 0}));
  EXPECT_EQ(client.focusWidget(), &client);
  EXPECT_EQ(panel.widget().focusWidget(), nullptr);

  // A handler that replaces itself while it runs finishes running.
  int replacedRuns = 0;
  panel.setClickHandler([&](int) {
    panel.setClickHandler([](int) {});
    ++replacedRuns;
  });
  QTest::mouseClick(&panel.widget(), Qt::LeftButton, {}, second.center().toPoint());
  EXPECT_EQ(replacedRuns, 1);
}

TEST(QtPanelBehaviourTest, ShadowAndLevelFollowTheScene) {
  QtPanelWindow panel;
  PanelScene scene;
  scene.frame = Rect{0, 0, 40, 20};
  scene.hasShadow = false;
  scene.level = WindowLevel::normal;
  panel.show(scene);
  EXPECT_TRUE(panel.widget().windowFlags().testFlag(Qt::NoDropShadowWindowHint));
  EXPECT_FALSE(panel.widget().windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(panel.isVisible());
  scene.hasShadow = true;
  scene.level = WindowLevel::popUpMenu;
  panel.show(scene);
  EXPECT_FALSE(panel.widget().windowFlags().testFlag(Qt::NoDropShadowWindowHint));
  EXPECT_TRUE(panel.widget().windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(panel.isVisible());
  // Scenes of the same kind keep the native window: no flicker on every keystroke.
  const WId native = panel.widget().winId();
  scene.frame.width = 80;
  panel.show(scene);
  EXPECT_EQ(panel.widget().winId(), native);
  EXPECT_EQ(panel.widget().width(), 80);
}

TEST(QtRenderTest, ScenesRenderToPngFiles) {
  const SampleScene sample = sampleScene();
  const QImage image = renderPanelScene(sample.scene);
  const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                     ("ornav-qt-render-" + std::to_string(::getpid()) + ".png");
  ASSERT_TRUE(savePng(image, file));
  const QImage read(QString::fromStdString(file.string()));
  std::filesystem::remove(file);
  EXPECT_EQ(read.size(), image.size());
  // Within the rounding of premultiplied pixels to the file's 8 bits.
  EXPECT_TRUE(
      near(read.pixelColor(3, read.height() / 2), image.pixelColor(3, image.height() / 2), 1));
  EXPECT_FALSE(savePng(QImage(), file));
  EXPECT_FALSE(savePng(image, "/nonexistent-folder/panel.png"));
}

}  // namespace
}  // namespace ornav::linux_platform
