// A key event as the controller receives it: the macOS event model (virtual key codes, modifier
// flag bits). Other platforms translate their events into this form.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace ornav {

enum class KeyEventType : int { keyDown = 10, keyUp = 11, flagsChanged = 12 };

namespace ModifierFlag {
inline constexpr std::uint64_t kCapsLock = 0x10000;
inline constexpr std::uint64_t kShift = 0x20000;
inline constexpr std::uint64_t kControl = 0x40000;
inline constexpr std::uint64_t kOption = 0x80000;
inline constexpr std::uint64_t kCommand = 0x100000;
inline constexpr std::uint64_t kNumericPad = 0x200000;
inline constexpr std::uint64_t kHelp = 0x400000;
inline constexpr std::uint64_t kFunction = 0x800000;
// The bits that do not depend on the keyboard device.
inline constexpr std::uint64_t kDeviceIndependentMask = 0xFFFF0000;
}  // namespace ModifierFlag

// Virtual key codes of the keys the controller and the Linux host care about (ANSI layout).
namespace KeyCode {
enum : std::uint16_t {
  kA = 0,
  kC = 8,
  kV = 9,
  kX = 7,
  kZ = 6,
  kReturn = 36,
  kTab = 48,
  kSpace = 49,
  kDelete = 51,
  kEscape = 53,
  kKeypadEnter = 76,
  kHome = 115,
  kPageUp = 116,
  kForwardDelete = 117,
  kEnd = 119,
  kPageDown = 121,
  kLeftArrow = 123,
  kRightArrow = 124,
  kDownArrow = 125,
  kUpArrow = 126,
};
}  // namespace KeyCode

struct KeyEvent {
  KeyEventType type = KeyEventType::keyDown;
  std::uint16_t keyCode = 0;
  std::uint64_t modifierFlags = 0;
  // The characters the keyboard layout produced (Shift applied); absent for events without text.
  std::optional<std::string> characters;
  // The same key's characters without modifiers (used by window key equivalents).
  std::optional<std::string> charactersIgnoringModifiers;
  friend bool operator==(const KeyEvent&, const KeyEvent&) = default;
};

}  // namespace ornav
