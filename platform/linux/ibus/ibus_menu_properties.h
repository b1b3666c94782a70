// The controller's input menu as IBus properties, the form in which the desktop's input-source
// menu shows an engine's menu. The properties are made from the menu's description alone, item by
// item, so an item the controller adds appears without anything here knowing of it: a switch (an
// item with a check state) becomes a toggle showing its state, a separator a separator, any other
// item a plain entry. A property's key names its item's action, which stays the same while titles
// and states change.
#pragma once

#include <optional>
#include <string>

#include "ports/input_menu.h"

typedef struct _IBusPropList IBusPropList;

namespace ornav::linux_platform {

// A new (floating) property list for `menu`.
IBusPropList* menuProperties(const MenuDescription& menu);

// The action of the item of `menu` that the property `key` stands for.
std::optional<InputMenuAction> menuAction(const MenuDescription& menu, const std::string& key);

}  // namespace ornav::linux_platform
