// Arguments are typed as the frameworks type them: object types, nullability, enums, anchor axes
// and Core Foundation ownership are all checked.
// The checked lines stay unwrapped, each with its annotation on the line of its error.
// clang-format off
#import <AppKit/AppKit.h>

void passWrongArguments(NSUserDefaults* defaults, NSView* view, NSWindow* window);
void passWrongArguments(NSUserDefaults* defaults, NSView* view, NSWindow* window) {
  [defaults setObject:@"1.0" forKey:42];  // expected-error {{cannot initialize a parameter of type 'NSString * _Nonnull' with an rvalue of type 'int'}}
  [defaults removeObjectForKey:nil];  // expected-error {{null passed to a callee that requires a non-null argument}}
  window.level = @"101";  // expected-error {{incompatible pointer to integer conversion assigning to 'NSWindowLevel' (aka 'long') from 'NSString *'}}
  NSEventType type = 10;  // expected-error {{cannot initialize a variable of type 'NSEventType' with an rvalue of type 'int'}}
  (void)type;
  // A horizontal anchor cannot be tied to a vertical one.
  (void)[view.leadingAnchor constraintEqualToAnchor:view.topAnchor];  // expected-error {{cannot initialize a parameter of type 'NSLayoutAnchor<NSLayoutXAxisAnchor *> * _Nonnull' with an rvalue of type 'NSLayoutYAxisAnchor *'}}
  // Under ARC a Core Foundation object becomes an Objective-C one only through a bridged cast.
  CFStringRef name = CFSTR("ornav");
  NSString* unbridged = (NSString*)name;  // expected-error {{cast of C pointer type 'CFStringRef' (aka 'const __CFString *') to Objective-C pointer type 'NSString *' requires a bridged cast}}
  (void)unbridged;
}
