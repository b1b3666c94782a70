// The parts of ornavel-ibus that need no daemon: the key table from X keysyms and IBus modifier
// bits, the menu as properties, and the choice of candidate window.
#include <gtest/gtest.h>
#include <ibus.h>

#include "platform/linux/ibus/candidate_window_choice.h"
#include "platform/linux/ibus/ibus_key_event.h"
#include "platform/linux/ibus/ibus_menu_properties.h"
#include "platform/linux/qt/qt_key_event.h"

namespace ornav::linux_platform {
namespace {

struct KeyRow {
  std::uint32_t keyval;
  std::uint32_t state;
  KeyEventType type;
  std::uint16_t keyCode;
  std::uint64_t flags;  // the role-bearing flags: Shift, Caps Lock, Control, Option, Command
  std::optional<std::string> characters;
};

TEST(IBusKeyEvent, KeysymsAndModifiersBecomeMacKeyEvents) {
  using namespace ModifierFlag;
  const KeyRow rows[] = {
      {'s', 0, KeyEventType::keyDown, 1, 0, "s"},
      {'S', IBUS_SHIFT_MASK, KeyEventType::keyDown, 1, kShift, "S"},
      {'s', IBUS_LOCK_MASK, KeyEventType::keyDown, 1, kCapsLock, "s"},
      {'s', IBUS_RELEASE_MASK, KeyEventType::keyUp, 1, 0, "s"},
      {'c', IBUS_CONTROL_MASK, KeyEventType::keyDown, KeyCode::kC, kCommand, "c"},
      {'c', IBUS_MOD1_MASK, KeyEventType::keyDown, KeyCode::kC, kOption, "c"},
      {'c', IBUS_MOD4_MASK, KeyEventType::keyDown, KeyCode::kC, kControl, "c"},
      {'c', IBUS_SUPER_MASK, KeyEventType::keyDown, KeyCode::kC, kControl, "c"},
      {'1', 0, KeyEventType::keyDown, 18, 0, "1"},
      {IBUS_KEY_KP_1, 0, KeyEventType::keyDown, 83, 0, "1"},
      {' ', 0, KeyEventType::keyDown, KeyCode::kSpace, 0, " "},
      {IBUS_KEY_Return, 0, KeyEventType::keyDown, KeyCode::kReturn, 0, "\r"},
      {IBUS_KEY_KP_Enter, 0, KeyEventType::keyDown, KeyCode::kKeypadEnter, 0, std::nullopt},
      {IBUS_KEY_BackSpace, 0, KeyEventType::keyDown, KeyCode::kDelete, 0, "\b"},
      {IBUS_KEY_Escape, 0, KeyEventType::keyDown, KeyCode::kEscape, 0, "\x1b"},
      {IBUS_KEY_Tab, 0, KeyEventType::keyDown, KeyCode::kTab, 0, "\t"},
      {IBUS_KEY_Left, 0, KeyEventType::keyDown, KeyCode::kLeftArrow, 0, std::nullopt},
      {IBUS_KEY_Down, 0, KeyEventType::keyDown, KeyCode::kDownArrow, 0, std::nullopt},
      {IBUS_KEY_Page_Down, 0, KeyEventType::keyDown, KeyCode::kPageDown, 0, std::nullopt},
      {IBUS_KEY_Shift_L, 0, KeyEventType::flagsChanged, 56, kShift, std::nullopt},
      {IBUS_KEY_Shift_L, IBUS_SHIFT_MASK | IBUS_RELEASE_MASK, KeyEventType::flagsChanged, 56, 0,
       std::nullopt},
      {IBUS_KEY_Control_L, 0, KeyEventType::flagsChanged, 55, kCommand, std::nullopt},
      // Keys the table lacks: the unknown key code, with whatever text the keysym stands for.
      {0x1000626, 0, KeyEventType::keyDown, kUnknownKeyCode, 0, "ئ"},
      {IBUS_KEY_VoidSymbol, 0, KeyEventType::keyDown, kUnknownKeyCode, 0, std::nullopt},
  };
  const std::uint64_t roles = ModifierFlag::kShift | ModifierFlag::kCapsLock |
                              ModifierFlag::kControl | ModifierFlag::kOption |
                              ModifierFlag::kCommand;
  for (const KeyRow& row : rows) {
    SCOPED_TRACE(testing::Message() << std::hex << row.keyval << " state " << row.state);
    const KeyEvent event = keyEventFromIBus(row.keyval, row.state);
    EXPECT_EQ(event.type, row.type);
    EXPECT_EQ(event.keyCode, row.keyCode);
    EXPECT_EQ(event.modifierFlags & roles, row.flags);
    if (row.type != KeyEventType::flagsChanged) {
      EXPECT_EQ(event.characters, row.characters);
    }
  }
}

TEST(IBusMenuProperties, EveryItemOfTheDescriptionBecomesAPropertyOfItsKind) {
  // Actions and titles of no particular menu: whatever the controller describes is shown.
  MenuDescription menu{"M",
                       {MenuItem::item("a", InputMenuAction::showAbout), MenuItem::separatorItem(),
                        MenuItem::item("b", InputMenuAction::toggleOnlineDict, MenuItem::State::on),
                        MenuItem::item("c", InputMenuAction::sendFeedback, MenuItem::State::off)}};
  IBusPropList* list = menuProperties(menu);
  g_object_ref_sink(list);
  const IBusPropType types[] = {PROP_TYPE_NORMAL, PROP_TYPE_SEPARATOR, PROP_TYPE_TOGGLE,
                                PROP_TYPE_TOGGLE};
  const IBusPropState states[] = {PROP_STATE_UNCHECKED, PROP_STATE_UNCHECKED, PROP_STATE_CHECKED,
                                  PROP_STATE_UNCHECKED};
  for (guint i = 0; i < 4; ++i) {
    IBusProperty* property = ibus_prop_list_get(list, i);
    ASSERT_NE(property, nullptr);
    EXPECT_EQ(ibus_property_get_prop_type(property), types[i]);
    EXPECT_EQ(ibus_property_get_state(property), states[i]);
    if (types[i] != PROP_TYPE_SEPARATOR) {
      EXPECT_STREQ(ibus_text_get_text(ibus_property_get_label(property)),
                   menu.items[i].title.c_str());
      // The key leads back to the item's action, also after the titles changed.
      MenuDescription renamed = menu;
      renamed.items[i].title = "renamed";
      EXPECT_EQ(menuAction(renamed, ibus_property_get_key(property)), menu.items[i].action);
    }
  }
  EXPECT_EQ(ibus_prop_list_get(list, 4), nullptr);
  EXPECT_EQ(menuAction(menu, ibus_property_get_key(ibus_prop_list_get(list, 1))), std::nullopt);
  g_object_unref(list);
}

TEST(CandidateWindowChoice, TheSettingWinsOverTheSession) {
  EXPECT_EQ(chooseCandidateWindow(std::nullopt, "x11"), CandidateWindow::panel);
  EXPECT_EQ(chooseCandidateWindow(std::nullopt, "wayland"), CandidateWindow::lookupTable);
  EXPECT_EQ(chooseCandidateWindow("other", "wayland"), CandidateWindow::lookupTable);
  EXPECT_EQ(chooseCandidateWindow(kCandidateWindowPanel, "wayland"), CandidateWindow::panel);
  EXPECT_EQ(chooseCandidateWindow(kCandidateWindowLookupTable, "x11"),
            CandidateWindow::lookupTable);
}

}  // namespace
}  // namespace ornav::linux_platform
