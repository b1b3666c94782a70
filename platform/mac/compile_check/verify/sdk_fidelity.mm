// What the frameworks themselves reject is rejected here too: a layer's properties need
// QuartzCore, and C++20 refuses to mix two enumeration types (the writing-direction value of an
// attributed string is built from integers).
// The checked lines stay unwrapped, each with its annotation on the line of its error.
// clang-format off
#import <AppKit/AppKit.h>

void styleView(NSView* view);
void styleView(NSView* view) {
  view.layer.cornerRadius = 8;  // expected-error {{property 'cornerRadius' cannot be found in forward class object 'CALayer'}}
  (void)@[ @(NSWritingDirectionRightToLeft | NSWritingDirectionEmbedding) ];  // expected-error {{bitwise operation between different enumeration types ('NSWritingDirection' and 'NSWritingDirectionFormatType') is deprecated}}
}
