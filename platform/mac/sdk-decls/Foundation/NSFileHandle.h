// File handles and pipes.
#pragma once

#include <Foundation/NSObject.h>

@class NSData, NSError;

NS_ASSUME_NONNULL_BEGIN

@interface NSFileHandle : NSObject <NSCoding>
@property(readonly) int fileDescriptor;
- (nullable NSData *)readDataToEndOfFileAndReturnError:(out NSError **)error;
- (BOOL)writeData:(NSData *)data error:(out NSError **)error;
- (BOOL)closeAndReturnError:(out NSError **)error;
@end

@interface NSFileHandle (NSFileHandleCreation)
@property(class, readonly, strong) NSFileHandle *fileHandleWithNullDevice;
@end

@interface NSPipe : NSObject
@property(readonly, retain) NSFileHandle *fileHandleForReading;
@property(readonly, retain) NSFileHandle *fileHandleForWriting;
+ (NSPipe *)pipe;
@end

NS_ASSUME_NONNULL_END
