#import "platform/mac/appkit_values.h"

#import "platform/mac/foundation_text.h"

namespace ornav::mac_platform {

NSRect toNSRect(const Rect& rect) { return NSMakeRect(rect.x, rect.y, rect.width, rect.height); }

Rect toRect(NSRect rect) {
  return Rect{rect.origin.x, rect.origin.y, rect.size.width, rect.size.height};
}

NSFont* fontFor(const Font& font) {
  const CGFloat size = font.pointSize;
  if (!font.name.empty()) {
    if (NSFont* named = [NSFont fontWithName:toNSString(font.name) size:size]) return named;
  }
  return font.bold ? [NSFont boldSystemFontOfSize:size] : [NSFont systemFontOfSize:size];
}

NSColor* colorFor(const Color& color) {
  switch (color.role) {
    case Color::Role::clear:
      return NSColor.clearColor;
    case Color::Role::label:
      return [NSColor.labelColor colorWithAlphaComponent:color.alpha];
    case Color::Role::secondaryLabel:
      return [NSColor.secondaryLabelColor colorWithAlphaComponent:color.alpha];
    case Color::Role::tertiaryLabel:
      return [NSColor.tertiaryLabelColor colorWithAlphaComponent:color.alpha];
    case Color::Role::systemBlue:
      return [NSColor.systemBlueColor colorWithAlphaComponent:color.alpha];
    case Color::Role::custom:
      break;
  }
  if (color.red == color.green && color.green == color.blue) {
    return [NSColor colorWithCalibratedWhite:color.red alpha:color.alpha];
  }
  return [NSColor colorWithCalibratedRed:color.red
                                   green:color.green
                                    blue:color.blue
                                   alpha:color.alpha];
}

NSWindowLevel windowLevelFor(WindowLevel level) {
  switch (level) {
    case WindowLevel::normal:
      return NSNormalWindowLevel;
    case WindowLevel::floating:
      return NSFloatingWindowLevel;
    case WindowLevel::popUpMenu:
      return NSPopUpMenuWindowLevel;
  }
  return NSNormalWindowLevel;
}

NSTextAlignment alignmentFor(TextAlignment alignment) {
  switch (alignment) {
    case TextAlignment::natural:
      return NSTextAlignmentNatural;
    case TextAlignment::left:
      return NSTextAlignmentLeft;
    case TextAlignment::right:
      return NSTextAlignmentRight;
    case TextAlignment::center:
      return NSTextAlignmentCenter;
    case TextAlignment::justified:
      return NSTextAlignmentJustified;
  }
  return NSTextAlignmentNatural;
}

NSWritingDirection writingDirectionFor(WritingDirection direction) {
  switch (direction) {
    case WritingDirection::natural:
      return NSWritingDirectionNatural;
    case WritingDirection::leftToRight:
      return NSWritingDirectionLeftToRight;
    case WritingDirection::rightToLeft:
      return NSWritingDirectionRightToLeft;
  }
  return NSWritingDirectionNatural;
}

NSWritingDirection writingDirectionFor(TextDirection direction) {
  switch (direction) {
    case TextDirection::natural:
      return NSWritingDirectionNatural;
    case TextDirection::leftToRight:
      return NSWritingDirectionLeftToRight;
    case TextDirection::rightToLeft:
      return NSWritingDirectionRightToLeft;
  }
  return NSWritingDirectionNatural;
}

}  // namespace ornav::mac_platform
