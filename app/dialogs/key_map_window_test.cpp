// The key map window draws whatever layout it is given: what each key and its Shift layer type,
// the word-initial forms, the punctuation and the keys off the letter rows; every cap inside the
// window and none over another; the same layout brings back the same window, another one a new.
#include "dialogs/key_map_window.h"

#include <gtest/gtest.h>

#include "dialogs/dialog_test_support.h"

namespace ornav {
namespace {

using key_map_window::KeyCap;
using std::nullopt;

KeyMap sampleLayout() {
  KeyMapExtras extras;
  extras.initial = {{"a", "ئا"}, {"e", "ئە"}, {"E", "ئې"}};
  extras.punctuation = {{",", "،"}, {"?", "؟"}};
  return KeyMap({{"a", "ا"}, {"A", "ا"}, {"e", "ە"}, {"E", "ې"}, {"'", "ئ"}, {"é", "ې"}},
                std::move(extras));
}

std::optional<KeyCap> capOnKeyboard(const key_map_window::Layout& layout, const std::string& key) {
  for (const auto& row : layout.keyboard)
    for (const KeyCap& cap : row)
      if (cap.key == key) return cap;
  return nullopt;
}

TEST(KeyMapWindowTest, CapsShowWhatTheKeysTypeAndShiftOnlyWhereItDiffers) {
  const KeyMap keys = sampleLayout();
  const key_map_window::Layout layout = key_map_window::layoutOf(keys);
  const KeyCap expected[] = {
      {"e", "ە", "ې"},          // Shift types a letter of its own
      {"a", "ا", nullopt},      // Shift types the same letter
      {"'", "ئ", nullopt},      // from the map, beside the letters
      {",", "،", nullopt},      // punctuation in its place
      {"/", nullopt, "؟"},      // only its Shift layer types something
      {"q", nullopt, nullopt},  // passes through
  };
  for (const KeyCap& cap : expected)
    EXPECT_EQ(capOnKeyboard(layout, cap.key), cap) << cap.key;

  ASSERT_EQ(layout.sections.size(), 3u);
  EXPECT_EQ(layout.sections[0].note, "词首自动加 ئ");
  EXPECT_EQ(layout.sections[0].caps,
            (std::vector<KeyCap>{{"a", "ئا", nullopt}, {"e", "ئە", "ئې"}}));
  EXPECT_EQ(layout.sections[1].caps,
            (std::vector<KeyCap>{{",", "،", nullopt}, {"?", "؟", nullopt}}));
  EXPECT_EQ(layout.sections[2].caps, (std::vector<KeyCap>{{"é", "ې", nullopt}}));
  EXPECT_EQ(key_map_window::shiftLetters(keys),
            (std::vector<std::pair<std::string, std::string>>{{"E", "ې"}}));

  // Nothing loaded: bare caps and no sections.
  const key_map_window::Layout empty = key_map_window::layoutOf(KeyMap());
  EXPECT_EQ(capOnKeyboard(empty, "e"), (KeyCap{"e", nullopt, nullopt}));
  EXPECT_TRUE(empty.sections.empty());
}

TEST(KeyMapWindowTest, EveryCapStandsInsideTheWindowAndApartFromTheOthers) {
  KeyTable many = sampleLayout().arabic();
  for (char c = '0'; c <= '9'; ++c)
    many[std::string("k") + c] = "ك";  // more keys off the letter rows than one line holds
  for (const KeyMap& keys : {sampleLayout(), KeyMap(many, sampleLayout().extras())}) {
    const WindowDescription window = key_map_window::describe(keys, Font::named("Letters", 1));
    std::vector<Rect> caps;
    for (const ControlDescription& control : window.controls) {
      EXPECT_TRUE(control.frame.x >= 0 && control.frame.y >= 0 &&
                  control.frame.maxX() <= window.contentSize.width &&
                  control.frame.maxY() <= window.contentSize.height)
          << control.frame.x << "," << control.frame.y;
      if (std::holds_alternative<BoxControl>(control.kind)) caps.push_back(control.frame);
    }
    const key_map_window::Layout layout = key_map_window::layoutOf(keys);
    std::size_t expected = 0;
    for (const auto& row : layout.keyboard)
      expected += row.size();
    for (const auto& section : layout.sections)
      expected += section.caps.size();
    ASSERT_EQ(caps.size(), expected);
    for (std::size_t i = 0; i < caps.size(); ++i)
      for (std::size_t j = i + 1; j < caps.size(); ++j)
        EXPECT_FALSE(caps[i].intersects(caps[j])) << i << " " << j;
  }
}

TEST(KeyMapWindowTest, TheSameLayoutBringsBackItsWindowAnotherDrawsANewOne) {
  dialog_testing::DialogFixture fx;
  const KeyMap first = sampleLayout();
  fx.ui.showKeyMap(first);
  testing::RecordingDialogWindow* shown = fx.window(key_map_window::kTitle);
  ASSERT_NE(shown, nullptr);
  fx.ui.showKeyMap(sampleLayout());
  EXPECT_EQ(fx.window(key_map_window::kTitle), shown);
  EXPECT_EQ(shown->showCount, 2);

  fx.ui.showKeyMap(KeyMap({{"q", "ق"}}, {}));
  EXPECT_TRUE(shown->closed);
  EXPECT_NE(fx.window(key_map_window::kTitle), shown);
  EXPECT_TRUE(fx.window(key_map_window::kTitle)->visible);
}

}  // namespace
}  // namespace ornav
