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
inline constexpr std::uint16_t kA = 0;
inline constexpr std::uint16_t kC = 8;
inline constexpr std::uint16_t kV = 9;
inline constexpr std::uint16_t kX = 7;
inline constexpr std::uint16_t kZ = 6;
inline constexpr std::uint16_t kReturn = 36;
inline constexpr std::uint16_t kTab = 48;
inline constexpr std::uint16_t kSpace = 49;
inline constexpr std::uint16_t kDelete = 51;
inline constexpr std::uint16_t kEscape = 53;
inline constexpr std::uint16_t kKeypadEnter = 76;
inline constexpr std::uint16_t kHome = 115;
inline constexpr std::uint16_t kPageUp = 116;
inline constexpr std::uint16_t kForwardDelete = 117;
inline constexpr std::uint16_t kEnd = 119;
inline constexpr std::uint16_t kPageDown = 121;
inline constexpr std::uint16_t kLeftArrow = 123;
inline constexpr std::uint16_t kRightArrow = 124;
inline constexpr std::uint16_t kDownArrow = 125;
inline constexpr std::uint16_t kUpArrow = 126;
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
