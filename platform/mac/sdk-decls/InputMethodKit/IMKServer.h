// The input-method server: one per process, connected under the bundle's connection name.
#pragma once

#include <Foundation/Foundation.h>

@interface IMKServer : NSObject
- (id)initWithName:(NSString *)name bundleIdentifier:(NSString *)bundleIdentifier;
// A server whose controllers are of `controllerClassID`, named without a bundle's Info.plist.
- (id)initWithName:(NSString *)name
    controllerClass:(Class)controllerClassID
      delegateClass:(Class)delegateClassID;
@end
