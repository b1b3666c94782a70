// A message that no declared interface answers is an error, for instances and for classes.
// The checked lines stay unwrapped, each with its annotation on the line of its error.
// clang-format off
#import <AppKit/AppKit.h>

void sendUnknownMessages(NSUserDefaults* defaults, NSPanel* panel);
void sendUnknownMessages(NSUserDefaults* defaults, NSPanel* panel) {
  [defaults setStirng:@"1.0" forKey:@"Ornavel.latestVersion"];  // expected-error {{no visible @interface for 'NSUserDefaults' declares the selector 'setStirng:forKey:'}}
  [NSBundle mainBundel];  // expected-error {{no known class method for selector 'mainBundel'}}
  [panel setFloating:YES];  // expected-error {{no visible @interface for 'NSPanel' declares the selector 'setFloating:'}}
  (void)panel.isKey;  // expected-error {{property 'isKey' not found on object of type 'NSPanel *'}}
}
