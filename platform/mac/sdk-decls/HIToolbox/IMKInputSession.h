// The client side of an input-method session: what an input controller may ask of the text
// field it serves. These headers carry no nullability annotations.
#pragma once

#include <CoreGraphics/CoreGraphics.h>
#include <Foundation/Foundation.h>

@protocol IMKTextInput
// `string` is an NSString or an NSAttributedString. A replacement range of {NSNotFound, 0}
// means the current selection (or the marked text).
- (void)insertText:(id)string replacementRange:(NSRange)replacementRange;
- (void)setMarkedText:(id)string
       selectionRange:(NSRange)selectionRange
     replacementRange:(NSRange)replacementRange;
// {NSNotFound, 0} when there is no marked text (also in clients that cannot show any).
- (NSRange)markedRange;
- (NSRange)selectedRange;
// The text attributes at `index`; `lineRect` receives the line's rectangle in screen
// coordinates. Some clients leave it empty (all zero), notably at index 0 of an empty field.
- (NSDictionary *)attributesForCharacterIndex:(NSUInteger)index
                          lineHeightRectangle:(NSRect *)lineRect;
- (NSRect)firstRectForCharacterRange:(NSRange)aRange actualRange:(NSRangePointer)actualRange;
- (NSString *)bundleIdentifier;
- (CGWindowLevel)windowLevel;
@end
