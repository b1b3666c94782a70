#include "platform/linux/qt/qt_key_event.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace ornav::linux_platform {
namespace {

using namespace ModifierFlag;

struct Case {
  const char* what;
  int qtKey;
  Qt::KeyboardModifiers modifiers;
  QString text;
  std::uint16_t keyCode;
  std::uint64_t flags;
  std::optional<std::string> characters;
  std::optional<std::string> charactersIgnoringModifiers;
};

QKeyEvent press(int key, Qt::KeyboardModifiers modifiers, const QString& text,
                quint32 nativeModifiers = 0, QEvent::Type type = QEvent::KeyPress) {
  return QKeyEvent(type, key, modifiers, 0, 0, nativeModifiers, text);
}

TEST(QtKeyEventTest, TranslatesKeysModifiersAndCharactersAsAMacReportsThem) {
  const std::vector<Case> cases = {
      {"a letter", Qt::Key_A, {}, "a", KeyCode::kA, 0, "a", "a"},
      {"a shifted letter", Qt::Key_A, Qt::ShiftModifier, "A", 0, kShift, "A", "A"},
      {"s sits at 1", Qt::Key_S, {}, "s", 1, 0, "s", "s"},
      {"m sits at 46", Qt::Key_M, {}, "m", 46, 0, "m", "m"},
      {"Ctrl-C is Command-C", Qt::Key_C, Qt::ControlModifier, "\x03", KeyCode::kC, kCommand, "c",
       "c"},
      {"Ctrl-V is Command-V", Qt::Key_V, Qt::ControlModifier, "\x16", KeyCode::kV, kCommand, "v",
       "v"},
      {"Ctrl-Shift-Z is Command-Shift-Z", Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier,
       "\x1a", KeyCode::kZ, kCommand | kShift, "Z", "Z"},
      {"Meta-C is Control-C", Qt::Key_C, Qt::MetaModifier, "c", KeyCode::kC, kControl, "c", "c"},
      {"Alt-X is Option-X", Qt::Key_X, Qt::AltModifier, "x", KeyCode::kX, kOption, "x", "x"},
      {"Ctrl-Alt-C", Qt::Key_C, Qt::ControlModifier | Qt::AltModifier, "\x03", KeyCode::kC,
       kCommand | kOption, "c", "c"},
      {"digit 1", Qt::Key_1, {}, "1", 18, 0, "1", "1"},
      {"digit 5 sits at 23", Qt::Key_5, {}, "5", 23, 0, "5", "5"},
      {"digit 0", Qt::Key_0, {}, "0", 29, 0, "0", "0"},
      {"shifted 1", Qt::Key_Exclam, Qt::ShiftModifier, "!", 18, kShift, "!", "!"},
      {"shifted slash", Qt::Key_Question, Qt::ShiftModifier, "?", 44, kShift, "?", "?"},
      {"period", Qt::Key_Period, {}, ".", 47, 0, ".", "."},
      {"keypad 1", Qt::Key_1, Qt::KeypadModifier, "1", 83, kNumericPad, "1", "1"},
      {"keypad 8 sits at 91", Qt::Key_8, Qt::KeypadModifier, "8", 91, kNumericPad, "8", "8"},
      {"keypad decimal", Qt::Key_Period, Qt::KeypadModifier, ".", 65, kNumericPad, ".", "."},
      {"keypad Enter", Qt::Key_Enter, Qt::KeypadModifier, "\r", KeyCode::kKeypadEnter, kNumericPad,
       "\r", "\r"},
      {"Return", Qt::Key_Return, {}, "\r", KeyCode::kReturn, 0, "\r", "\r"},
      {"Tab", Qt::Key_Tab, {}, "\t", KeyCode::kTab, 0, "\t", "\t"},
      {"Shift-Tab", Qt::Key_Backtab, Qt::ShiftModifier, "", KeyCode::kTab, kShift, std::nullopt,
       std::nullopt},
      {"Space", Qt::Key_Space, {}, " ", KeyCode::kSpace, 0, " ", " "},
      {"Backspace is Delete", Qt::Key_Backspace, {}, "\b", KeyCode::kDelete, 0, "\b", "\b"},
      {"Escape", Qt::Key_Escape, {}, "\x1b", KeyCode::kEscape, 0, "\x1b", "\x1b"},
      {"Delete is forward delete",
       Qt::Key_Delete,
       {},
       "\x7f",
       KeyCode::kForwardDelete,
       kFunction,
       "\x7f",
       "\x7f"},
      {"Home", Qt::Key_Home, {}, "", KeyCode::kHome, kFunction, std::nullopt, std::nullopt},
      {"End", Qt::Key_End, {}, "", KeyCode::kEnd, kFunction, std::nullopt, std::nullopt},
      {"Page Up", Qt::Key_PageUp, {}, "", KeyCode::kPageUp, kFunction, std::nullopt, std::nullopt},
      {"Page Down",
       Qt::Key_PageDown,
       {},
       "",
       KeyCode::kPageDown,
       kFunction,
       std::nullopt,
       std::nullopt},
      {"Left",
       Qt::Key_Left,
       {},
       "",
       KeyCode::kLeftArrow,
       kNumericPad | kFunction,
       std::nullopt,
       std::nullopt},
      {"Right",
       Qt::Key_Right,
       {},
       "",
       KeyCode::kRightArrow,
       kNumericPad | kFunction,
       std::nullopt,
       std::nullopt},
      {"Down",
       Qt::Key_Down,
       {},
       "",
       KeyCode::kDownArrow,
       kNumericPad | kFunction,
       std::nullopt,
       std::nullopt},
      {"Up",
       Qt::Key_Up,
       {},
       "",
       KeyCode::kUpArrow,
       kNumericPad | kFunction,
       std::nullopt,
       std::nullopt},
      {"Shift-Up", Qt::Key_Up, Qt::ShiftModifier, "", KeyCode::kUpArrow,
       kShift | kNumericPad | kFunction, std::nullopt, std::nullopt},
      {"F1", Qt::Key_F1, {}, "", 122, kFunction, std::nullopt, std::nullopt},
      {"a key a Mac keyboard lacks", Qt::Key_Adiaeresis, {}, "ä", kUnknownKeyCode, 0, "ä", "ä"},
      {"Arabic text of a local layout", 0x0633, {}, "س", kUnknownKeyCode, 0, "س", "س"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const KeyEvent event = keyEventFromQt(press(c.qtKey, c.modifiers, c.text), false);
    EXPECT_EQ(event.type, KeyEventType::keyDown);
    EXPECT_EQ(event.keyCode, c.keyCode);
    EXPECT_EQ(event.modifierFlags, c.flags);
    EXPECT_EQ(event.characters, c.characters);
    EXPECT_EQ(event.charactersIgnoringModifiers, c.charactersIgnoringModifiers);
  }
}

TEST(QtKeyEventTest, ReleasesAreKeyUps) {
  const KeyEvent event = keyEventFromQt(press(Qt::Key_A, {}, "a", 0, QEvent::KeyRelease), false);
  EXPECT_EQ(event.type, KeyEventType::keyUp);
  EXPECT_EQ(event.keyCode, KeyCode::kA);
}

TEST(QtKeyEventTest, ModifierKeysChangeFlagsAndReportTheStateAfterTheChange) {
  // Platforms differ in whether a modifier key's own event carries its modifier; both read the
  // same after translation.
  for (Qt::KeyboardModifiers reported :
       {Qt::KeyboardModifiers(), Qt::KeyboardModifiers(Qt::ShiftModifier)}) {
    const KeyEvent down = keyEventFromQt(press(Qt::Key_Shift, reported, ""), false);
    EXPECT_EQ(down.type, KeyEventType::flagsChanged);
    EXPECT_EQ(down.keyCode, 56);
    EXPECT_EQ(down.modifierFlags, kShift);
    EXPECT_EQ(down.characters, std::nullopt);
    const KeyEvent up =
        keyEventFromQt(press(Qt::Key_Shift, reported, "", 0, QEvent::KeyRelease), false);
    EXPECT_EQ(up.type, KeyEventType::flagsChanged);
    EXPECT_EQ(up.modifierFlags, 0u);
  }
  EXPECT_EQ(keyEventFromQt(press(Qt::Key_Control, {}, ""), false).modifierFlags, kCommand);
  EXPECT_EQ(keyEventFromQt(press(Qt::Key_Control, {}, ""), false).keyCode, 55);
  EXPECT_EQ(keyEventFromQt(press(Qt::Key_Meta, {}, ""), false).modifierFlags, kControl);
  EXPECT_EQ(keyEventFromQt(press(Qt::Key_Alt, {}, ""), false).modifierFlags, kOption);
  // Holding Shift while Control goes down keeps Shift.
  EXPECT_EQ(keyEventFromQt(press(Qt::Key_Control, Qt::ShiftModifier, ""), false).modifierFlags,
            kCommand | kShift);
}

TEST(QtKeyEventTest, CapsLockComesFromX11NativeModifiersOnly) {
  constexpr quint32 kLockMask = 0x2;
  const QKeyEvent event = press(Qt::Key_C, Qt::ControlModifier, "\x03", kLockMask);
  EXPECT_EQ(keyEventFromQt(event, true).modifierFlags, kCommand | kCapsLock);
  // Elsewhere the native bits mean something else.
  EXPECT_EQ(keyEventFromQt(event, false).modifierFlags, kCommand);
  EXPECT_EQ(keyEventFromQt(press(Qt::Key_C, Qt::ControlModifier, "\x03", 0x1), true).modifierFlags,
            kCommand);
}

TEST(QtKeyEventTest, KeypadTableOnlyAppliesToTheKeypad) {
  EXPECT_EQ(macKeyCode(Qt::Key_Minus, false), 27);
  EXPECT_EQ(macKeyCode(Qt::Key_Minus, true), 78);
  EXPECT_EQ(macKeyCode(Qt::Key_Asterisk, false), 28);
  EXPECT_EQ(macKeyCode(Qt::Key_Asterisk, true), 67);
  // Keys without a keypad twin keep their code on the keypad (arrows with Num Lock off).
  EXPECT_EQ(macKeyCode(Qt::Key_Left, true), KeyCode::kLeftArrow);
  EXPECT_EQ(macKeyCode(Qt::Key_Adiaeresis, true), std::nullopt);
}

TEST(QtKeyEventTest, EveryLetterHasItsOwnCode) {
  std::set<std::uint16_t> codes;
  for (int key = Qt::Key_A; key <= Qt::Key_Z; ++key) {
    auto code = macKeyCode(key, false);
    ASSERT_TRUE(code.has_value()) << char(key);
    EXPECT_LT(*code, 48) << char(key);
    codes.insert(*code);
  }
  EXPECT_EQ(codes.size(), 26u);
}

}  // namespace
}  // namespace ornav::linux_platform
