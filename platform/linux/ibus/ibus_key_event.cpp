#include "platform/linux/ibus/ibus_key_event.h"

#include <ibus.h>

#include <QKeyEvent>
#include <array>
#include <utility>

#include "platform/linux/qt/qt_key_event.h"

namespace ornav::linux_platform {
namespace {

using KeysymKey = std::pair<std::uint32_t, int>;

// Keysyms outside Latin-1's printable range that have a Qt key of their own.
constexpr std::array kSpecialKeys = {
    KeysymKey{IBUS_KEY_BackSpace, Qt::Key_Backspace},
    KeysymKey{IBUS_KEY_Tab, Qt::Key_Tab},
    KeysymKey{IBUS_KEY_ISO_Left_Tab, Qt::Key_Backtab},
    KeysymKey{IBUS_KEY_Clear, Qt::Key_Clear},
    KeysymKey{IBUS_KEY_Return, Qt::Key_Return},
    KeysymKey{IBUS_KEY_Escape, Qt::Key_Escape},
    KeysymKey{IBUS_KEY_Delete, Qt::Key_Delete},
    KeysymKey{IBUS_KEY_Home, Qt::Key_Home},
    KeysymKey{IBUS_KEY_Left, Qt::Key_Left},
    KeysymKey{IBUS_KEY_Up, Qt::Key_Up},
    KeysymKey{IBUS_KEY_Right, Qt::Key_Right},
    KeysymKey{IBUS_KEY_Down, Qt::Key_Down},
    KeysymKey{IBUS_KEY_Page_Up, Qt::Key_PageUp},
    KeysymKey{IBUS_KEY_Page_Down, Qt::Key_PageDown},
    KeysymKey{IBUS_KEY_End, Qt::Key_End},
    KeysymKey{IBUS_KEY_Insert, Qt::Key_Insert},
    KeysymKey{IBUS_KEY_Help, Qt::Key_Help},
    KeysymKey{IBUS_KEY_Num_Lock, Qt::Key_NumLock},
    KeysymKey{IBUS_KEY_Shift_L, Qt::Key_Shift},
    KeysymKey{IBUS_KEY_Shift_R, Qt::Key_Shift},
    KeysymKey{IBUS_KEY_Control_L, Qt::Key_Control},
    KeysymKey{IBUS_KEY_Control_R, Qt::Key_Control},
    KeysymKey{IBUS_KEY_Caps_Lock, Qt::Key_CapsLock},
    KeysymKey{IBUS_KEY_Alt_L, Qt::Key_Alt},
    KeysymKey{IBUS_KEY_Alt_R, Qt::Key_Alt},
    KeysymKey{IBUS_KEY_Meta_L, Qt::Key_Alt},
    KeysymKey{IBUS_KEY_Meta_R, Qt::Key_Alt},
    KeysymKey{IBUS_KEY_Super_L, Qt::Key_Meta},
    KeysymKey{IBUS_KEY_Super_R, Qt::Key_Meta},
    KeysymKey{IBUS_KEY_Hyper_L, Qt::Key_Meta},
    KeysymKey{IBUS_KEY_Hyper_R, Qt::Key_Meta},
};

// The keypad's keysyms and the main-block Qt key each stands for on the keypad.
constexpr std::array kKeypadKeys = {
    KeysymKey{IBUS_KEY_KP_Space, Qt::Key_Space},
    KeysymKey{IBUS_KEY_KP_Tab, Qt::Key_Tab},
    KeysymKey{IBUS_KEY_KP_Enter, Qt::Key_Enter},
    KeysymKey{IBUS_KEY_KP_Home, Qt::Key_Home},
    KeysymKey{IBUS_KEY_KP_Left, Qt::Key_Left},
    KeysymKey{IBUS_KEY_KP_Up, Qt::Key_Up},
    KeysymKey{IBUS_KEY_KP_Right, Qt::Key_Right},
    KeysymKey{IBUS_KEY_KP_Down, Qt::Key_Down},
    KeysymKey{IBUS_KEY_KP_Page_Up, Qt::Key_PageUp},
    KeysymKey{IBUS_KEY_KP_Page_Down, Qt::Key_PageDown},
    KeysymKey{IBUS_KEY_KP_End, Qt::Key_End},
    KeysymKey{IBUS_KEY_KP_Insert, Qt::Key_Insert},
    KeysymKey{IBUS_KEY_KP_Delete, Qt::Key_Delete},
    KeysymKey{IBUS_KEY_KP_Equal, Qt::Key_Equal},
    KeysymKey{IBUS_KEY_KP_Multiply, Qt::Key_Asterisk},
    KeysymKey{IBUS_KEY_KP_Add, Qt::Key_Plus},
    KeysymKey{IBUS_KEY_KP_Separator, Qt::Key_Comma},
    KeysymKey{IBUS_KEY_KP_Subtract, Qt::Key_Minus},
    KeysymKey{IBUS_KEY_KP_Decimal, Qt::Key_Period},
    KeysymKey{IBUS_KEY_KP_Divide, Qt::Key_Slash},
};

int find(const auto& table, std::uint32_t keyval) {
  for (const auto& [keysym, key] : table) {
    if (keysym == keyval) return key;
  }
  return Qt::Key_unknown;
}

// Qt's key for a keysym and whether it is a keypad key.
std::pair<int, bool> qtKey(std::uint32_t keyval) {
  // Printable Latin-1 keysyms are their own code; Qt names letters by their upper case.
  if (keyval >= 0x20 && keyval <= 0x7E) {
    const bool lower = keyval >= 'a' && keyval <= 'z';
    return {static_cast<int>(lower ? keyval - 'a' + 'A' : keyval), false};
  }
  if (keyval >= IBUS_KEY_KP_0 && keyval <= IBUS_KEY_KP_9)
    return {static_cast<int>(Qt::Key_0 + (keyval - IBUS_KEY_KP_0)), true};
  if (keyval >= IBUS_KEY_F1 && keyval <= IBUS_KEY_F35)
    return {static_cast<int>(Qt::Key_F1 + (keyval - IBUS_KEY_F1)), false};
  if (const int key = find(kKeypadKeys, keyval); key != Qt::Key_unknown) return {key, true};
  return {find(kSpecialKeys, keyval), false};
}

Qt::KeyboardModifiers qtModifiers(std::uint32_t state, bool keypad) {
  Qt::KeyboardModifiers modifiers;
  if (state & IBUS_SHIFT_MASK) modifiers |= Qt::ShiftModifier;
  if (state & IBUS_CONTROL_MASK) modifiers |= Qt::ControlModifier;
  if (state & (IBUS_MOD1_MASK | IBUS_META_MASK)) modifiers |= Qt::AltModifier;
  if (state & (IBUS_MOD4_MASK | IBUS_SUPER_MASK | IBUS_HYPER_MASK)) modifiers |= Qt::MetaModifier;
  if (keypad) modifiers |= Qt::KeypadModifier;
  return modifiers;
}

}  // namespace

KeyEvent keyEventFromIBus(std::uint32_t keyval, std::uint32_t state) {
  const auto [key, keypad] = qtKey(keyval);
  QString text;
  if (const char32_t c = ibus_keyval_to_unicode(keyval); c != 0) text = QString::fromUcs4(&c, 1);
  const QEvent::Type type = (state & IBUS_RELEASE_MASK) ? QEvent::KeyRelease : QEvent::KeyPress;
  // The state's low bits are X11's (its lock bit tells Caps Lock, as Qt's native modifiers do).
  const QKeyEvent event(type, key, qtModifiers(state, keypad), 0, keyval, state, text);
  return keyEventFromQt(event, true);
}

}  // namespace ornav::linux_platform
