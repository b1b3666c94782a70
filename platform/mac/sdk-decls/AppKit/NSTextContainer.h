// Text containers: the area a text view lays its text out in.
#pragma once

#include <AppKit/AppKitDefines.h>

NS_ASSUME_NONNULL_BEGIN

@interface NSTextContainer : NSObject <NSCoding>
@property NSSize size;
// The container follows the text view's width as the view is resized.
@property BOOL widthTracksTextView;
@end

NS_ASSUME_NONNULL_END
