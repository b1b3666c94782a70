#import "platform/mac/key_events.h"

#import "platform/mac/foundation_text.h"

namespace ornav::mac_platform {

// The port names AppKit's numbers; they must stay AppKit's.
static_assert(static_cast<int>(KeyEventType::keyDown) == static_cast<int>(NSEventTypeKeyDown));
static_assert(static_cast<int>(KeyEventType::keyUp) == static_cast<int>(NSEventTypeKeyUp));
static_assert(static_cast<int>(KeyEventType::flagsChanged) ==
              static_cast<int>(NSEventTypeFlagsChanged));
static_assert(ModifierFlag::kCapsLock == NSEventModifierFlagCapsLock);
static_assert(ModifierFlag::kShift == NSEventModifierFlagShift);
static_assert(ModifierFlag::kControl == NSEventModifierFlagControl);
static_assert(ModifierFlag::kOption == NSEventModifierFlagOption);
static_assert(ModifierFlag::kCommand == NSEventModifierFlagCommand);
static_assert(ModifierFlag::kNumericPad == NSEventModifierFlagNumericPad);
static_assert(ModifierFlag::kHelp == NSEventModifierFlagHelp);
static_assert(ModifierFlag::kFunction == NSEventModifierFlagFunction);
static_assert(ModifierFlag::kDeviceIndependentMask ==
              NSEventModifierFlagDeviceIndependentFlagsMask);

namespace {

std::optional<std::string> textOf(NSString* _Nullable characters) {
  if (characters == nil) return std::nullopt;
  return toStdString(characters);
}

}  // namespace

std::optional<KeyEvent> keyEventFrom(NSEvent* _Nullable event) {
  if (event == nil) return std::nullopt;
  KeyEvent key;
  switch (event.type) {
    case NSEventTypeKeyDown:
      key.type = KeyEventType::keyDown;
      break;
    case NSEventTypeKeyUp:
      key.type = KeyEventType::keyUp;
      break;
    case NSEventTypeFlagsChanged:
      key.type = KeyEventType::flagsChanged;
      break;
    default:
      return std::nullopt;
  }
  key.keyCode = event.keyCode;
  key.modifierFlags = static_cast<std::uint64_t>(event.modifierFlags);
  if (key.type != KeyEventType::flagsChanged) {
    key.characters = textOf(event.characters);
    key.charactersIgnoringModifiers = textOf(event.charactersIgnoringModifiers);
  }
  return key;
}

}  // namespace ornav::mac_platform
