#include "platform/linux/qt/qt_key_event.h"

#include <QGuiApplication>
#include <array>
#include <utility>

namespace ornav::linux_platform {

namespace {

using KeyPair = std::pair<int, std::uint16_t>;

// The main block by position on an ANSI keyboard; the shifted symbols of a US layout sit on the
// keys that produce them.
constexpr std::array kMainKeys = {
    KeyPair{Qt::Key_A, 0},
    KeyPair{Qt::Key_S, 1},
    KeyPair{Qt::Key_D, 2},
    KeyPair{Qt::Key_F, 3},
    KeyPair{Qt::Key_H, 4},
    KeyPair{Qt::Key_G, 5},
    KeyPair{Qt::Key_Z, 6},
    KeyPair{Qt::Key_X, 7},
    KeyPair{Qt::Key_C, 8},
    KeyPair{Qt::Key_V, 9},
    KeyPair{Qt::Key_B, 11},
    KeyPair{Qt::Key_Q, 12},
    KeyPair{Qt::Key_W, 13},
    KeyPair{Qt::Key_E, 14},
    KeyPair{Qt::Key_R, 15},
    KeyPair{Qt::Key_Y, 16},
    KeyPair{Qt::Key_T, 17},
    KeyPair{Qt::Key_1, 18},
    KeyPair{Qt::Key_Exclam, 18},
    KeyPair{Qt::Key_2, 19},
    KeyPair{Qt::Key_At, 19},
    KeyPair{Qt::Key_3, 20},
    KeyPair{Qt::Key_NumberSign, 20},
    KeyPair{Qt::Key_4, 21},
    KeyPair{Qt::Key_Dollar, 21},
    KeyPair{Qt::Key_6, 22},
    KeyPair{Qt::Key_AsciiCircum, 22},
    KeyPair{Qt::Key_5, 23},
    KeyPair{Qt::Key_Percent, 23},
    KeyPair{Qt::Key_Equal, 24},
    KeyPair{Qt::Key_Plus, 24},
    KeyPair{Qt::Key_9, 25},
    KeyPair{Qt::Key_ParenLeft, 25},
    KeyPair{Qt::Key_7, 26},
    KeyPair{Qt::Key_Ampersand, 26},
    KeyPair{Qt::Key_Minus, 27},
    KeyPair{Qt::Key_Underscore, 27},
    KeyPair{Qt::Key_8, 28},
    KeyPair{Qt::Key_Asterisk, 28},
    KeyPair{Qt::Key_0, 29},
    KeyPair{Qt::Key_ParenRight, 29},
    KeyPair{Qt::Key_BracketRight, 30},
    KeyPair{Qt::Key_BraceRight, 30},
    KeyPair{Qt::Key_O, 31},
    KeyPair{Qt::Key_U, 32},
    KeyPair{Qt::Key_BracketLeft, 33},
    KeyPair{Qt::Key_BraceLeft, 33},
    KeyPair{Qt::Key_I, 34},
    KeyPair{Qt::Key_P, 35},
    KeyPair{Qt::Key_Return, KeyCode::kReturn},
    KeyPair{Qt::Key_L, 37},
    KeyPair{Qt::Key_J, 38},
    KeyPair{Qt::Key_Apostrophe, 39},
    KeyPair{Qt::Key_QuoteDbl, 39},
    KeyPair{Qt::Key_K, 40},
    KeyPair{Qt::Key_Semicolon, 41},
    KeyPair{Qt::Key_Colon, 41},
    KeyPair{Qt::Key_Backslash, 42},
    KeyPair{Qt::Key_Bar, 42},
    KeyPair{Qt::Key_Comma, 43},
    KeyPair{Qt::Key_Less, 43},
    KeyPair{Qt::Key_Slash, 44},
    KeyPair{Qt::Key_Question, 44},
    KeyPair{Qt::Key_N, 45},
    KeyPair{Qt::Key_M, 46},
    KeyPair{Qt::Key_Period, 47},
    KeyPair{Qt::Key_Greater, 47},
    KeyPair{Qt::Key_Tab, KeyCode::kTab},
    KeyPair{Qt::Key_Backtab, KeyCode::kTab},  // Shift-Tab
    KeyPair{Qt::Key_Space, KeyCode::kSpace},
    KeyPair{Qt::Key_QuoteLeft, 50},
    KeyPair{Qt::Key_AsciiTilde, 50},
    KeyPair{Qt::Key_Backspace, KeyCode::kDelete},
    KeyPair{Qt::Key_Escape, KeyCode::kEscape},
    // Modifier keys (their left-hand keys; Qt does not tell the sides apart).
    KeyPair{Qt::Key_Control, 55},  // Command
    KeyPair{Qt::Key_Shift, 56},
    KeyPair{Qt::Key_CapsLock, 57},
    KeyPair{Qt::Key_Alt, 58},   // Option
    KeyPair{Qt::Key_Meta, 59},  // Control
    KeyPair{Qt::Key_Enter, KeyCode::kKeypadEnter},
    KeyPair{Qt::Key_Clear, 71},
    KeyPair{Qt::Key_NumLock, 71},  // the Mac keypad's Clear sits there
    // Function keys and the navigation block.
    KeyPair{Qt::Key_F17, 64},
    KeyPair{Qt::Key_F18, 79},
    KeyPair{Qt::Key_F19, 80},
    KeyPair{Qt::Key_F20, 90},
    KeyPair{Qt::Key_F5, 96},
    KeyPair{Qt::Key_F6, 97},
    KeyPair{Qt::Key_F7, 98},
    KeyPair{Qt::Key_F3, 99},
    KeyPair{Qt::Key_F8, 100},
    KeyPair{Qt::Key_F9, 101},
    KeyPair{Qt::Key_F11, 103},
    KeyPair{Qt::Key_F13, 105},
    KeyPair{Qt::Key_F16, 106},
    KeyPair{Qt::Key_F14, 107},
    KeyPair{Qt::Key_F10, 109},
    KeyPair{Qt::Key_F12, 111},
    KeyPair{Qt::Key_F15, 113},
    KeyPair{Qt::Key_Help, 114},
    KeyPair{Qt::Key_Insert, 114},  // the Help key sits where PC keyboards have Insert
    KeyPair{Qt::Key_Home, KeyCode::kHome},
    KeyPair{Qt::Key_PageUp, KeyCode::kPageUp},
    KeyPair{Qt::Key_Delete, KeyCode::kForwardDelete},
    KeyPair{Qt::Key_F4, 118},
    KeyPair{Qt::Key_End, KeyCode::kEnd},
    KeyPair{Qt::Key_F2, 120},
    KeyPair{Qt::Key_PageDown, KeyCode::kPageDown},
    KeyPair{Qt::Key_F1, 122},
    KeyPair{Qt::Key_Left, KeyCode::kLeftArrow},
    KeyPair{Qt::Key_Right, KeyCode::kRightArrow},
    KeyPair{Qt::Key_Down, KeyCode::kDownArrow},
    KeyPair{Qt::Key_Up, KeyCode::kUpArrow},
};

// Keys of the numeric keypad that share a Qt key with the main block.
constexpr std::array kKeypadKeys = {
    KeyPair{Qt::Key_Period, 65},   KeyPair{Qt::Key_Comma, 65},  // the decimal separator
    KeyPair{Qt::Key_Asterisk, 67}, KeyPair{Qt::Key_Plus, 69},  KeyPair{Qt::Key_Slash, 75},
    KeyPair{Qt::Key_Minus, 78},    KeyPair{Qt::Key_Equal, 81}, KeyPair{Qt::Key_0, 82},
    KeyPair{Qt::Key_1, 83},        KeyPair{Qt::Key_2, 84},     KeyPair{Qt::Key_3, 85},
    KeyPair{Qt::Key_4, 86},        KeyPair{Qt::Key_5, 87},     KeyPair{Qt::Key_6, 88},
    KeyPair{Qt::Key_7, 89},        KeyPair{Qt::Key_8, 91},     KeyPair{Qt::Key_9, 92},
};

constexpr unsigned kX11LockMask = 1u << 1;

std::optional<std::uint16_t> find(const auto& table, int qtKey) {
  for (const auto& [key, code] : table) {
    if (key == qtKey) return code;
  }
  return std::nullopt;
}

bool isFunctionKey(int qtKey) {
  return (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F35) || qtKey == Qt::Key_Home ||
         qtKey == Qt::Key_End || qtKey == Qt::Key_PageUp || qtKey == Qt::Key_PageDown ||
         qtKey == Qt::Key_Delete || qtKey == Qt::Key_Help || qtKey == Qt::Key_Insert;
}

bool isArrowKey(int qtKey) {
  return qtKey == Qt::Key_Left || qtKey == Qt::Key_Right || qtKey == Qt::Key_Up ||
         qtKey == Qt::Key_Down;
}

// The flag a modifier key itself stands for; 0 for other keys.
std::uint64_t flagOfModifierKey(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Shift:
      return ModifierFlag::kShift;
    case Qt::Key_Control:
      return ModifierFlag::kCommand;
    case Qt::Key_Meta:
      return ModifierFlag::kControl;
    case Qt::Key_Alt:
      return ModifierFlag::kOption;
    case Qt::Key_CapsLock:
      return ModifierFlag::kCapsLock;
    default:
      return 0;
  }
}

// What the key types without modifiers but Shift, as a Mac reports it for key equivalents:
// letters in lower case unless Shift is down, other printable keys as Qt names them.
std::optional<std::string> charactersIgnoringModifiers(const QKeyEvent& event) {
  const int key = event.key();
  if (key >= Qt::Key_A && key <= Qt::Key_Z) {
    const char letter = char((event.modifiers() & Qt::ShiftModifier) ? key : key - 'A' + 'a');
    return std::string(1, letter);
  }
  if (key >= Qt::Key_Space && key <= Qt::Key_AsciiTilde) return std::string(1, char(key));
  const QString text = event.text();
  if (text.isEmpty()) return std::nullopt;
  return text.toStdString();
}

bool isControlCharacter(const QString& text) {
  if (text.isEmpty()) return false;
  for (QChar c : text) {
    if (c.unicode() >= 0x20 && c.unicode() != 0x7F) return false;
  }
  return true;
}

}  // namespace

std::optional<std::uint16_t> macKeyCode(int qtKey, bool keypad) {
  if (keypad) {
    if (auto code = find(kKeypadKeys, qtKey)) return code;
  }
  return find(kMainKeys, qtKey);
}

KeyEvent keyEventFromQt(const QKeyEvent& event, bool nativeModifiersAreX11) {
  const int key = event.key();
  const Qt::KeyboardModifiers modifiers = event.modifiers();
  const bool keypad = modifiers.testFlag(Qt::KeypadModifier);

  KeyEvent result;
  result.keyCode = macKeyCode(key, keypad).value_or(kUnknownKeyCode);

  std::uint64_t flags = 0;
  if (modifiers.testFlag(Qt::ShiftModifier)) flags |= ModifierFlag::kShift;
  if (modifiers.testFlag(Qt::ControlModifier)) flags |= ModifierFlag::kCommand;
  if (modifiers.testFlag(Qt::MetaModifier)) flags |= ModifierFlag::kControl;
  if (modifiers.testFlag(Qt::AltModifier)) flags |= ModifierFlag::kOption;
  if (keypad) flags |= ModifierFlag::kNumericPad;
  if (nativeModifiersAreX11 && (event.nativeModifiers() & kX11LockMask) != 0)
    flags |= ModifierFlag::kCapsLock;
  // A Mac keyboard reports its arrows as keypad function keys and the navigation block and the
  // F-keys as function keys.
  if (isArrowKey(key)) flags |= ModifierFlag::kNumericPad | ModifierFlag::kFunction;
  if (isFunctionKey(key)) flags |= ModifierFlag::kFunction;

  const std::uint64_t ownFlag = flagOfModifierKey(key);
  if (ownFlag != 0) {
    // A modifier key changes the flags; they read as they are after the change, whichever state
    // the platform reported them in.
    result.type = KeyEventType::flagsChanged;
    if (ownFlag != ModifierFlag::kCapsLock) {
      if (event.type() == QEvent::KeyRelease) {
        flags &= ~ownFlag;
      } else {
        flags |= ownFlag;
      }
    }
    result.modifierFlags = flags;
    return result;
  }

  result.type = event.type() == QEvent::KeyRelease ? KeyEventType::keyUp : KeyEventType::keyDown;
  result.modifierFlags = flags;
  result.charactersIgnoringModifiers = charactersIgnoringModifiers(event);
  const QString text = event.text();
  if (modifiers.testFlag(Qt::ControlModifier) && isControlCharacter(text) && key >= Qt::Key_A &&
      key <= Qt::Key_Z) {
    // Ctrl-C types U+0003 on Linux; as Command-C it types "c".
    result.characters = result.charactersIgnoringModifiers;
  } else if (!text.isEmpty()) {
    result.characters = text.toStdString();
  }
  return result;
}

KeyEvent keyEventFromQt(const QKeyEvent& event) {
  return keyEventFromQt(event, QGuiApplication::platformName() == QLatin1String("xcb"));
}

}  // namespace ornav::linux_platform
