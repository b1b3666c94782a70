#include "platform/linux/ibus/ibus_menu_properties.h"

#include <ibus.h>

namespace ornav::linux_platform {
namespace {

std::string actionKey(InputMenuAction action) {
  return "ornavel.menu." + std::to_string(static_cast<int>(action));
}

IBusProperty* property(const std::string& key, IBusPropType type, const std::string& title,
                       IBusPropState state) {
  return ibus_property_new(key.c_str(), type, ibus_text_new_from_string(title.c_str()), nullptr,
                           nullptr, TRUE, TRUE, state, nullptr);
}

}  // namespace

IBusPropList* menuProperties(const MenuDescription& menu) {
  IBusPropList* list = ibus_prop_list_new();
  int separators = 0;
  for (const MenuItem& item : menu.items) {
    if (item.separator || !item.action) {
      const std::string key = "ornavel.separator." + std::to_string(separators++);
      ibus_prop_list_append(list, property(key, PROP_TYPE_SEPARATOR, "", PROP_STATE_UNCHECKED));
    } else if (item.state == MenuItem::State::none) {
      ibus_prop_list_append(list, property(actionKey(*item.action), PROP_TYPE_NORMAL, item.title,
                                           PROP_STATE_UNCHECKED));
    } else {
      const IBusPropState state =
          item.state == MenuItem::State::on ? PROP_STATE_CHECKED : PROP_STATE_UNCHECKED;
      ibus_prop_list_append(list,
                            property(actionKey(*item.action), PROP_TYPE_TOGGLE, item.title, state));
    }
  }
  return list;
}

std::optional<InputMenuAction> menuAction(const MenuDescription& menu, const std::string& key) {
  for (const MenuItem& item : menu.items) {
    if (!item.separator && item.action && actionKey(*item.action) == key) return item.action;
  }
  return std::nullopt;
}

}  // namespace ornav::linux_platform
