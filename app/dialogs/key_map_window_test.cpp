// The key map window draws the layout it is given, every cap inside the window and apart from the
// others; the same layout brings back the same window, another one a new.
#include "dialogs/key_map_window.h"

#include <gtest/gtest.h>

#include "dialogs/dialog_test_support.h"

namespace ornav {
namespace {

using key_map_window::KeyCap;
using std::nullopt;
using Caps = std::vector<KeyCap>;

KeyMap sampleLayout() {
  KeyMapExtras extras;
  extras.initial = {{"a", "ئا"}, {"e", "ئە"}, {"E", "ئې"}};
  extras.punctuation = {{",", "،"}, {"?", "؟"}};
  return KeyMap({{"a", "ا"}, {"A", "ا"}, {"e", "ە"}, {"E", "ې"}, {"'", "ئ"}, {"é", "ې"}}, extras);
}

TEST(KeyMapWindowTest, CapsShowWhatTheKeysTypeAndShiftOnlyWhereItDiffers) {
  const auto layout = key_map_window::layoutOf(sampleLayout());
  std::map<std::string, KeyCap> keyboard;
  for (const auto& row : layout.keyboard)
    for (const KeyCap& cap : row)
      keyboard[cap.key] = cap;
  // Shift: its own letter, the same; off the letters; punctuation; Shift alone; passing through.
  for (const KeyCap& cap :
       {KeyCap{"e", "ە", "ې"}, KeyCap{"a", "ا", nullopt}, KeyCap{"'", "ئ", nullopt},
        KeyCap{",", "،", nullopt}, KeyCap{"/", nullopt, "؟"}, KeyCap{"q", nullopt, nullopt}})
    EXPECT_EQ(keyboard[cap.key], cap) << cap.key;

  ASSERT_EQ(layout.sections.size(), 3u);
  EXPECT_EQ(layout.sections[0].note, "词首自动加 ئ");
  EXPECT_EQ(layout.sections[0].caps, (Caps{{"a", "ئا", nullopt}, {"e", "ئە", "ئې"}}));
  EXPECT_EQ(layout.sections[1].caps, (Caps{{",", "،", nullopt}, {"?", "؟", nullopt}}));
  EXPECT_EQ(layout.sections[2].caps, (Caps{{"é", "ې", nullopt}}));
  EXPECT_EQ(key_map_window::shiftLetters(sampleLayout()),
            (std::vector<std::pair<std::string, std::string>>{{"E", "ې"}}));
}

TEST(KeyMapWindowTest, EveryCapStandsInsideTheWindowAndApartFromTheOthers) {
  KeyTable many = sampleLayout().arabic();
  for (char c = '0'; c <= '9'; ++c)
    many[std::string("k") + c] = "ك";  // more keys off the letter rows than one line holds
  for (const KeyMap& keys : {sampleLayout(), KeyMap(many, sampleLayout().extras())}) {
    const WindowDescription window = key_map_window::describe(keys, Font::named("Letters", 1));
    std::vector<Rect> caps;
    for (const ControlDescription& control : window.controls) {
      const Rect& frame = control.frame;
      EXPECT_TRUE(frame.x >= 0 && frame.y >= 0 && frame.maxX() <= window.contentSize.width &&
                  frame.maxY() <= window.contentSize.height);
      if (std::holds_alternative<BoxControl>(control.kind)) caps.push_back(frame);
    }
    // The letter rows, the initial forms, the punctuation, the keys off the rows.
    EXPECT_EQ(caps.size(), 31 + 2 + 2 + (keys.arabic().size() - 5));
    for (std::size_t i = 0; i < caps.size(); ++i)
      for (std::size_t j = i + 1; j < caps.size(); ++j)
        EXPECT_FALSE(caps[i].intersects(caps[j])) << i << " " << j;
  }
}

TEST(KeyMapWindowTest, TheSameLayoutBringsBackItsWindowAnotherDrawsANewOne) {
  dialog_testing::DialogFixture fx;
  fx.ui.showKeyMap(sampleLayout());
  testing::RecordingDialogWindow* shown = fx.window(key_map_window::kTitle);
  fx.ui.showKeyMap(sampleLayout());
  EXPECT_EQ(fx.window(key_map_window::kTitle), shown);
  EXPECT_EQ(shown->showCount, 2);
  fx.ui.showKeyMap(KeyMap({{"q", "ق"}}, KeyMapExtras{}));
  EXPECT_TRUE(shown->closed);
  EXPECT_TRUE(fx.window(key_map_window::kTitle) != shown &&
              fx.window(key_map_window::kTitle)->visible);
}

}  // namespace
}  // namespace ornav
