// The input-method server: one per process, connected under the bundle's connection name.
#pragma once

#include <Foundation/Foundation.h>

@interface IMKServer : NSObject
- (id)initWithName:(NSString *)name bundleIdentifier:(NSString *)bundleIdentifier;
@end
