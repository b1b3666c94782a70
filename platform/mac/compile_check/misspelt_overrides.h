// A list of overrides with a misspelt name, which the check of declared selectors must reject.
#pragma once

#import <InputMethodKit/InputMethodKit.h>

@protocol MisspeltOverrides
- (BOOL)handleEvent:(NSEvent*)event clinet:(id)sender;
- (void)commitComposition:(id)sender;
@end
