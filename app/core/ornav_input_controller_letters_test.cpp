// The ULY spelling layout as shipped, typed through the real controller: words of the dictionary
// with their Arabic spelling, key by key ('<' is Backspace, ' ' Space, '\n' Return).
#include <gtest/gtest.h>

#include "base/files.h"
#include "base/text.h"
#include "core/controller_test_support.h"

namespace ornav {
namespace {

using controller_testing::ControllerFixture;
using controller_testing::press;
using controller_testing::RecordingClient;

KeyMap shipped(const char* name, KeyLayout layout) {
  const auto text = readWholeFile(std::string(ORNAV_SOURCE_DIR) + "/resources/" + name);
  auto file = text ? parseKeyMap(*text) : std::nullopt;
  EXPECT_TRUE(file) << name;
  return file ? KeyMap(std::move(*file), layout) : KeyMap();
}

void type(OrnavInputController& controller, RecordingClient& client, const std::string& keys) {
  for (const std::string& key : codePoints(keys)) {
    if (key == "<")
      press(controller, &client, 51, "\x7f");
    else if (key == " ")
      press(controller, &client, 49, " ");
    else if (key == "\n")
      press(controller, &client, 36, "\r");
    else
      press(controller, &client, 0, key);
  }
}

TEST(UlyLayout, TypesWordsAsTheyAreSpelt) {
  const struct {
    const char* keys;
    const char* document;
    const char* marked;
  } rows[] = {
      {"uyghur tili ", "ئۇيغۇر تىلى ", ""},     // gh, word-initial u
      {"ming", "", "مىڭ"},                      // ng
      {"Chong", "", "چوڭ"},                     // ch with Shift, ng
      {"zhurnal", "", "ژۇرنال"},                // zh
      {"sheher", "", "شەھەر"},                  // sh; the h after e stays ھ
      {"ölchem élan\n", "ئۆلچەم ئېلان ", ""},   // accented word-initial vowels
      {"belgilen'gen", "", "بەلگىلەنگەن"},      // the apostrophe separates n g
      {"mez'hep is'haq", "مەزھەپ ", "ئىسھاق"},  // ... z h and s h
      {"sa'et", "", "سائەت"},                   // hamza between vowels
      {"mes'ul", "", "مەسئۇل"},                 // hamza after a consonant
      {"ming<", "", "مىن"},                     // Backspace takes back g, not ڭ
      {"min'<g", "", "مىڭ"},                    // ... the separating apostrophe
      {"tash<<", "", "تا"},
      {"ash<<<", "", ""},      // ... and a word-initial ئا whole
      {"min'\n", "مىن ", ""},  // Return commits what is shown
      {"tas h", "تاس ", "ھ"},  // a pick ends the word: h starts the next
  };
  for (const auto& row : rows) {
    ControllerFixture fx;
    fx.keys = shipped("keymap-uly.json", KeyLayout::uly);
    fx.engineState.words = {"تاس"};
    RecordingClient client;
    auto controller = fx.makeController(&client);
    type(*controller, client, row.keys);
    EXPECT_EQ(client.inserted(), row.document) << row.keys;
    EXPECT_EQ(client.marked(), row.marked) << row.keys;
  }
}

TEST(UlyLayout, TheMenuSwitchesEveryControllerAtOnce) {
  ControllerFixture fx;
  fx.keys = shipped("keymap.json", KeyLayout::phonetic);
  fx.env->switchKeyLayout = [&fx](KeyLayout layout) {
    fx.keys = shipped(layout == KeyLayout::uly ? "keymap-uly.json" : "keymap.json", layout);
    return true;
  };
  RecordingClient first, second;
  auto one = fx.makeController(&first);
  auto other = fx.makeController(&second);
  EXPECT_EQ(one->menu().items.back(),
            MenuItem::item("按拉丁维文(ULY)拼写输入", InputMenuAction::toggleUlyLayout,
                           MenuItem::State::off));
  one->perform(InputMenuAction::toggleUlyLayout);
  type(*other, second, "ng\n");
  EXPECT_EQ(other->menu().items.back().state, MenuItem::State::on);
  other->perform(InputMenuAction::toggleUlyLayout);
  type(*one, first, "ng\n");
  EXPECT_EQ(second.inserted() + first.inserted(), "ڭ نگ ");
}

}  // namespace
}  // namespace ornav
