// Child processes with redirected standard streams (NSPipe or NSFileHandle objects).
#pragma once

#include <Foundation/NSObject.h>

@class NSString, NSURL, NSError, NSArray<ObjectType>;

typedef NS_ENUM(NSInteger, NSTaskTerminationReason) {
  NSTaskTerminationReasonExit = 1,
  NSTaskTerminationReasonUncaughtSignal = 2,
};

NS_ASSUME_NONNULL_BEGIN

@interface NSTask : NSObject
- (instancetype)init NS_DESIGNATED_INITIALIZER;
@property(nullable, copy) NSURL *executableURL;
@property(nullable, copy) NSArray<NSString *> *arguments;
@property(nullable, retain) id standardInput;
@property(nullable, retain) id standardOutput;
@property(nullable, retain) id standardError;
// NO with *error set when the program cannot be started.
- (BOOL)launchAndReturnError:(out NSError **)error;
- (void)terminate;
- (void)waitUntilExit;
@property(readonly) int terminationStatus;
@property(readonly) NSTaskTerminationReason terminationReason;
@property(nullable, copy) void (^terminationHandler)(NSTask *);
@end

NS_ASSUME_NONNULL_END
