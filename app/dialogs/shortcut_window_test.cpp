// The editing shortcuts dialog windows perform themselves, and the window every dialog starts
// from.
#include <gtest/gtest.h>

#include "dialogs/shortcut_window.h"

namespace ornav {
namespace {

using namespace ModifierFlag;

KeyEvent key(std::uint64_t flags, std::optional<std::string> ignoringModifiers) {
  KeyEvent event;
  event.modifierFlags = flags;
  event.charactersIgnoringModifiers = std::move(ignoringModifiers);
  event.characters = event.charactersIgnoringModifiers;
  return event;
}

TEST(EditingShortcutTest, CommandLettersAndCommandShiftZ) {
  struct Case {
    std::uint64_t flags;
    std::string key;
    std::optional<EditCommand> expected;
  };
  const std::vector<Case> cases = {
      {kCommand, "a", EditCommand::selectAll},
      {kCommand, "c", EditCommand::copy},
      {kCommand, "v", EditCommand::paste},
      {kCommand, "x", EditCommand::cut},
      {kCommand, "z", EditCommand::undo},
      {kCommand | kShift, "z", EditCommand::redo},
      // The letter is lower-cased first: Shift gives "Z", a layout may give capitals.
      {kCommand | kShift, "Z", EditCommand::redo},
      {kCommand, "V", EditCommand::paste},
      // With Shift only Z has a meaning.
      {kCommand | kShift, "a", std::nullopt},
      {kCommand | kShift, "c", std::nullopt},
      {kCommand | kShift, "V", std::nullopt},
      // Other letters, longer texts and no text at all.
      {kCommand, "b", std::nullopt},
      {kCommand, "q", std::nullopt},
      {kCommand, "cc", std::nullopt},
      {kCommand, "", std::nullopt},
      {kCommand, "ç", std::nullopt},
      // Command alone is needed: any other device-independent flag leaves the key alone.
      {kCommand | kCapsLock, "c", std::nullopt},
      {kCommand | kOption, "c", std::nullopt},
      {kCommand | kControl, "v", std::nullopt},
      {kCommand | kShift | kOption, "z", std::nullopt},
      {kCommand | kFunction, "a", std::nullopt},
      {kCommand | kNumericPad, "x", std::nullopt},
      {kControl, "c", std::nullopt},
      {kOption, "c", std::nullopt},
      {kShift, "z", std::nullopt},
      {0, "a", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(editingShortcut(key(c.flags, c.key)), c.expected)
        << "flags " << std::hex << c.flags << " key \"" << c.key << "\"";
  }
}

TEST(EditingShortcutTest, DeviceDependentBitsDoNotCount) {
  // Which Command key was pressed (left 0x8, right 0x10) lives below the device-independent mask.
  EXPECT_EQ(editingShortcut(key(kCommand | 0x8, "c")), EditCommand::copy);
  EXPECT_EQ(editingShortcut(key(kCommand | kShift | 0x10 | 0x2, "z")), EditCommand::redo);
}

TEST(EditingShortcutTest, NoCharactersNoCommand) {
  EXPECT_EQ(editingShortcut(key(kCommand, std::nullopt)), std::nullopt);
}

TEST(ShortcutWindowTest, FloatsIsClosableOnlyAndCarriesTheRule) {
  const WindowDescription window = shortcutWindow("软件更新", {500, 340});
  EXPECT_EQ(window.title, "软件更新");
  EXPECT_EQ(window.contentSize, (Size{500, 340}));
  EXPECT_EQ(window.level, WindowLevel::floating);
  EXPECT_TRUE(window.closable);
  EXPECT_FALSE(window.resizable);
  EXPECT_FALSE(window.miniaturizable);
  ASSERT_TRUE(window.keyEquivalentRule);
  EXPECT_EQ(window.keyEquivalentRule(key(kCommand, "a")), EditCommand::selectAll);
  EXPECT_EQ(window.keyEquivalentRule(key(kCommand | kCapsLock, "a")), std::nullopt);
}

}  // namespace
}  // namespace ornav
