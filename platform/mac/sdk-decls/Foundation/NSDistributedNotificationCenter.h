// Notifications across processes (macOS only), such as the system's change of input source.
#pragma once

#include <Foundation/NSNotification.h>

NS_ASSUME_NONNULL_BEGIN

@interface NSDistributedNotificationCenter : NSNotificationCenter
+ (NSDistributedNotificationCenter *)defaultCenter;
@end

NS_ASSUME_NONNULL_END
