// Without a daemon: the key table from X keysyms and IBus modifier bits (the daemon test sends
// letters, digits, Escape, Control, an unknown keysym) and the menu as properties.
#include <gtest/gtest.h>
#include <ibus.h>

#include "platform/linux/ibus/ibus_key_event.h"
#include "platform/linux/ibus/ibus_menu_properties.h"
#include "platform/linux/qt/qt_key_event.h"

namespace ornav::linux_platform {
namespace {

TEST(IBusKeyEvent, KeysymsAndModifiersBecomeMacKeyEvents) {
  using namespace ModifierFlag;
  struct Row {
    std::uint32_t keyval, state;
    KeyEventType type;
    std::uint16_t keyCode;
    std::uint64_t flags;  // of Shift, Caps Lock, Control, Option, Command
    std::optional<std::string> characters;
  };
  const Row rows[] = {
      {'S', IBUS_SHIFT_MASK, KeyEventType::keyDown, 1, kShift, "S"},
      {'s', IBUS_LOCK_MASK | IBUS_RELEASE_MASK, KeyEventType::keyUp, 1, kCapsLock, "s"},
      {'c', IBUS_MOD1_MASK, KeyEventType::keyDown, KeyCode::kC, kOption, "c"},
      {'c', IBUS_MOD4_MASK, KeyEventType::keyDown, KeyCode::kC, kControl, "c"},
      {IBUS_KEY_KP_1, 0, KeyEventType::keyDown, 83, 0, "1"},
      {IBUS_KEY_Return, 0, KeyEventType::keyDown, KeyCode::kReturn, 0, "\r"},
      {IBUS_KEY_BackSpace, 0, KeyEventType::keyDown, KeyCode::kDelete, 0, "\b"},
      {IBUS_KEY_Left, 0, KeyEventType::keyDown, KeyCode::kLeftArrow, 0, std::nullopt},
      {IBUS_KEY_Page_Down, 0, KeyEventType::keyDown, KeyCode::kPageDown, 0, std::nullopt},
      {IBUS_KEY_Shift_L, 0, KeyEventType::flagsChanged, 56, kShift, std::nullopt},
      {IBUS_KEY_Control_L, IBUS_CONTROL_MASK | IBUS_RELEASE_MASK, KeyEventType::flagsChanged, 55, 0,
       std::nullopt},
      {IBUS_KEY_VoidSymbol, 0, KeyEventType::keyDown, kUnknownKeyCode, 0, std::nullopt},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << std::hex << row.keyval << " state " << row.state);
    const KeyEvent event = keyEventFromIBus(row.keyval, row.state);
    EXPECT_EQ(event.type, row.type);
    EXPECT_EQ(event.keyCode, row.keyCode);
    EXPECT_EQ(event.modifierFlags & (kShift | kCapsLock | kControl | kOption | kCommand),
              row.flags);
    if (row.type != KeyEventType::flagsChanged) {
      EXPECT_EQ(event.characters, row.characters);
    }
  }
}

TEST(IBusMenuProperties, EachItemBecomesAPropertyOfItsKindWhoseKeyLeadsToItsAction) {
  const MenuDescription menu{
      "M",
      {MenuItem::item("a", InputMenuAction::showAbout), MenuItem::separatorItem(),
       MenuItem::item("b", InputMenuAction::toggleOnlineDict, MenuItem::State::on),
       MenuItem::item("c", InputMenuAction::sendFeedback, MenuItem::State::off)}};
  IBusPropList* list = IBUS_PROP_LIST(g_object_ref_sink(menuProperties(menu)));
  const std::pair<IBusPropType, bool> kinds[] = {{PROP_TYPE_NORMAL, false},
                                                 {PROP_TYPE_SEPARATOR, false},
                                                 {PROP_TYPE_TOGGLE, true},
                                                 {PROP_TYPE_TOGGLE, false}};
  MenuDescription renamed = menu;  // titles change; the keys stay
  for (MenuItem& item : renamed.items)
    item.title += "!";
  for (guint i = 0; i < 4; ++i) {
    IBusProperty* property = ibus_prop_list_get(list, i);
    EXPECT_EQ(ibus_property_get_prop_type(property), kinds[i].first);
    EXPECT_EQ(ibus_property_get_state(property) == PROP_STATE_CHECKED, kinds[i].second);
    EXPECT_EQ(menuAction(renamed, ibus_property_get_key(property)), menu.items[i].action);
    EXPECT_STREQ(ibus_text_get_text(ibus_property_get_label(property)),
                 menu.items[i].title.c_str());
  }
  EXPECT_EQ(ibus_prop_list_get(list, 4), nullptr);
  g_object_unref(list);
}

}  // namespace
}  // namespace ornav::linux_platform
