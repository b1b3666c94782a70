// The ports' value types as AppKit objects and numbers: rectangles, fonts, colours, window levels,
// alignments and writing directions. Objective-C++ only.
#pragma once

#import <AppKit/AppKit.h>

#include "ports/geometry.h"
#include "ports/text_client.h"
#include "ports/ui_types.h"

NS_ASSUME_NONNULL_BEGIN

namespace ornav::mac_platform {

// Both use the same coordinate space (origin bottom left, y upwards), so nothing is converted.
NSRect toNSRect(const Rect& rect);
Rect toRect(NSRect rect);

// The system font (bold when asked) for an empty name; otherwise the font of that name, or the
// system font of the same size when no such font is available. Named fonts are used as named:
// a bold face is its own name.
NSFont* fontFor(const Font& font);

NSColor* colorFor(const Color& color);

NSWindowLevel windowLevelFor(WindowLevel level);

NSTextAlignment alignmentFor(TextAlignment alignment);

NSWritingDirection writingDirectionFor(WritingDirection direction);
NSWritingDirection writingDirectionFor(TextDirection direction);

}  // namespace ornav::mac_platform

NS_ASSUME_NONNULL_END
