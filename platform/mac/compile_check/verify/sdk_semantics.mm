// What the frameworks accept is accepted here too (no diagnostics at all): option sets combine
// into their option type, nil is a null pointer of any kind, NSRect is CGRect, Core Foundation
// objects cross into ARC through bridged casts, the log checks its format, and the designated
// initializers of a panel subclass chain as they do on a Mac.
// expected-no-diagnostics
#import <Carbon/Carbon.h>
#import <Cocoa/Cocoa.h>
#import <InputMethodKit/InputMethodKit.h>
#import <QuartzCore/QuartzCore.h>
#include <os/log.h>

#include <cstdint>
#include <string>

@interface QuietPanel : NSPanel
@end

@implementation QuietPanel
- (BOOL)canBecomeKeyWindow {
  return NO;
}
@end

NSUInteger wantedEvents();
NSUInteger wantedEvents() {
  NSEventModifierFlags chord = NSEventModifierFlagCommand | NSEventModifierFlagShift;
  NSEventModifierFlags masked = chord & NSEventModifierFlagDeviceIndependentFlagsMask;
  NSWindowStyleMask dialog = NSWindowStyleMaskTitled | NSWindowStyleMaskClosable;
  return masked == chord && dialog == 3 ? NSEventMaskKeyDown | NSEventMaskFlagsChanged : 0;
}

void exercise(id<IMKTextInput> client, std::uint64_t count, const std::string& text);
void exercise(id<IMKTextInput> client, std::uint64_t count, const std::string& text) {
  NSRect line = NSZeroRect;
  [client attributesForCharacterIndex:0 lineHeightRectangle:&line];
  CGRect same = line;
  (void)CGRectGetMaxX(same);
  [client setMarkedText:@""
         selectionRange:NSMakeRange(0, 0)
       replacementRange:NSMakeRange(NSNotFound, 0)];

  QuietPanel* panel = [[QuietPanel alloc] initWithContentRect:NSMakeRect(0, 0, 10, 10)
                                                    styleMask:NSWindowStyleMaskNonactivatingPanel
                                                      backing:NSBackingStoreBuffered
                                                        defer:YES];
  panel.level = 101;
  panel.contentView = [[NSView alloc] initWithFrame:NSZeroRect];
  panel.contentView.wantsLayer = YES;
  panel.contentView.layer.cornerRadius = 8;
  panel.contentView.layer.backgroundColor =
      [NSColor colorWithCalibratedWhite:0.15 alpha:0.96].CGColor;
  [panel orderFront:nil];
  __weak QuietPanel* weakPanel = panel;
  dispatch_async(dispatch_get_main_queue(), ^{
    [weakPanel orderOut:nil];
  });

  NSDictionary<NSString*, id>* values =
      @{@"count" : @(count),
        @"flag" : @YES,
        @"text" : @(text.c_str())};
  (void)values;
  NSArray* direction =
      @[ @(static_cast<NSInteger>(NSWritingDirectionRightToLeft) | NSWritingDirectionEmbedding) ];
  (void)direction;

  NSData* bytes = [NSData dataWithBytes:text.data() length:text.size()];
  CGDataProviderRef provider = CGDataProviderCreateWithCFData((__bridge CFDataRef)bytes);
  if (provider != nullptr) {
    CGFontRef font = CGFontCreateWithDataProvider(provider);
    NSString* name = CFBridgingRelease(CGFontCopyPostScriptName(font));
    (void)[NSFont fontWithName:name size:18];
    CGFontRelease(font);
    CGDataProviderRelease(provider);
  }
  os_log(OS_LOG_DEFAULT, "%{public}s %llu", text.c_str(), static_cast<unsigned long long>(count));
  NSLog(@"%@", client.bundleIdentifier);
}
