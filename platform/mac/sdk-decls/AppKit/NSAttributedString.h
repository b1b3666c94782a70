// AppKit's text attributes: the keys and values used for marked text and labels.
#pragma once

#include <AppKit/AppKitDefines.h>

NS_ASSUME_NONNULL_BEGIN

APPKIT_EXTERN NSAttributedStringKey const NSFontAttributeName;
APPKIT_EXTERN NSAttributedStringKey const NSParagraphStyleAttributeName;
APPKIT_EXTERN NSAttributedStringKey const NSForegroundColorAttributeName;
APPKIT_EXTERN NSAttributedStringKey const NSUnderlineStyleAttributeName;
// An array of NSNumber, each an NSWritingDirection or-ed with an NSWritingDirectionFormatType.
APPKIT_EXTERN NSAttributedStringKey const NSWritingDirectionAttributeName;
APPKIT_EXTERN NSAttributedStringKey const NSMarkedClauseSegmentAttributeName;

typedef NS_OPTIONS(NSInteger, NSUnderlineStyle) {
  NSUnderlineStyleNone = 0x00,
  NSUnderlineStyleSingle = 0x01,
};

typedef NS_ENUM(NSInteger, NSWritingDirectionFormatType) {
  NSWritingDirectionEmbedding = (0 << 1),
  NSWritingDirectionOverride = (1 << 1),
};

NS_ASSUME_NONNULL_END
