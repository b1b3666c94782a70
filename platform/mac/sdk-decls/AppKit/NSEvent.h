// Input events. Key codes are the hardware-independent virtual key numbers (0 is A, 36 Return,
// 49 Space ...); this layer passes them on as plain numbers.
#pragma once

#include <AppKit/AppKitDefines.h>

typedef NS_ENUM(NSUInteger, NSEventType) {
  NSEventTypeLeftMouseDown = 1,
  NSEventTypeKeyDown = 10,
  NSEventTypeKeyUp = 11,
  NSEventTypeFlagsChanged = 12,
};

typedef NS_OPTIONS(unsigned long long, NSEventMask) {
  NSEventMaskKeyDown = 1ULL << NSEventTypeKeyDown,
  NSEventMaskKeyUp = 1ULL << NSEventTypeKeyUp,
  NSEventMaskFlagsChanged = 1ULL << NSEventTypeFlagsChanged,
};

typedef NS_OPTIONS(NSUInteger, NSEventModifierFlags) {
  NSEventModifierFlagCapsLock = 1 << 16,
  NSEventModifierFlagShift = 1 << 17,
  NSEventModifierFlagControl = 1 << 18,
  NSEventModifierFlagOption = 1 << 19,
  NSEventModifierFlagCommand = 1 << 20,
  NSEventModifierFlagNumericPad = 1 << 21,
  NSEventModifierFlagHelp = 1 << 22,
  NSEventModifierFlagFunction = 1 << 23,
  NSEventModifierFlagDeviceIndependentFlagsMask = 0xffff0000UL,
};

NS_ASSUME_NONNULL_BEGIN

@interface NSEvent : NSObject <NSCopying, NSCoding>
@property(readonly) NSEventType type;
@property(readonly) NSEventModifierFlags modifierFlags;
// Key events only (other types raise): the produced text, and the text without modifiers.
@property(nullable, readonly, copy) NSString *characters;
@property(nullable, readonly, copy) NSString *charactersIgnoringModifiers;
@property(readonly) unsigned short keyCode;
// Mouse events: the position in the window's coordinates; the pointer's position on screen.
@property(readonly) NSPoint locationInWindow;
@property(class, readonly) NSPoint mouseLocation;
@end

NS_ASSUME_NONNULL_END
