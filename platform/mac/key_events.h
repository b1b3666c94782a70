// NSEvent as the ports' KeyEvent. The key code and the modifier bits are macOS's own, so they pass
// unchanged; the characters exist only for key-down and key-up events (AppKit raises when other
// events are asked for them). Objective-C++ only.
#pragma once

#import <AppKit/AppKit.h>

#include <optional>

#include "ports/key_event.h"

NS_ASSUME_NONNULL_BEGIN

namespace ornav::mac_platform {

// Absent for events that are neither key-down, key-up nor flags-changed.
std::optional<KeyEvent> keyEventFrom(NSEvent* _Nullable event);

}  // namespace ornav::mac_platform

NS_ASSUME_NONNULL_END
