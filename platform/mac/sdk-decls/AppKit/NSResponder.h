// The responder chain: event handling and action dispatch.
#pragma once

#include <AppKit/AppKitDefines.h>

@class NSEvent;

NS_ASSUME_NONNULL_BEGIN

@interface NSResponder : NSObject <NSCoding>
- (instancetype)init NS_DESIGNATED_INITIALIZER;
- (nullable instancetype)initWithCoder:(NSCoder *)coder NS_DESIGNATED_INITIALIZER;
// YES when this responder or one after it in the chain handled `action`.
- (BOOL)tryToPerform:(SEL)action with:(nullable id)object;
- (BOOL)performKeyEquivalent:(NSEvent *)event;
- (void)mouseDown:(NSEvent *)event;
@end

NS_ASSUME_NONNULL_END
