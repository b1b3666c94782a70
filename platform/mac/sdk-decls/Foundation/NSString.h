// Strings: UTF-16 storage; lengths and ranges count UTF-16 code units, not user-perceived
// characters (rangeOfComposedCharacterSequencesForRange: and the composed-character enumeration
// find those).
#pragma once

#include <Foundation/NSObject.h>
#include <Foundation/NSRange.h>

@class NSData;

typedef unsigned short unichar;
typedef NSUInteger NSStringEncoding;
enum : NSStringEncoding {
  NSUTF8StringEncoding = 4,
};

typedef NS_OPTIONS(NSUInteger, NSStringEnumerationOptions) {
  NSStringEnumerationByComposedCharacterSequences = 2,
};

NS_ASSUME_NONNULL_BEGIN

@interface NSString : NSObject <NSCopying, NSMutableCopying, NSCoding>
@property(readonly) NSUInteger length;
- (unichar)characterAtIndex:(NSUInteger)index;
- (instancetype)init NS_DESIGNATED_INITIALIZER;
@end

@interface NSString (NSStringExtensionMethods)
// nil when the bytes are not valid in `encoding` (malformed UTF-8 included).
+ (nullable instancetype)stringWithUTF8String:(const char *)nullTerminatedCString;
- (nullable instancetype)initWithBytes:(const void *)bytes
                                length:(NSUInteger)len
                              encoding:(NSStringEncoding)encoding;
- (nullable instancetype)initWithData:(NSData *)data encoding:(NSStringEncoding)encoding;
@property(nullable, readonly) const char *UTF8String NS_RETURNS_INNER_POINTER;
- (NSUInteger)lengthOfBytesUsingEncoding:(NSStringEncoding)enc;
- (nullable NSData *)dataUsingEncoding:(NSStringEncoding)encoding allowLossyConversion:(BOOL)lossy;
- (BOOL)isEqualToString:(NSString *)aString;
@property(readonly, copy) NSString *lowercaseString;
- (NSRange)rangeOfComposedCharacterSequencesForRange:(NSRange)range;
- (void)enumerateSubstringsInRange:(NSRange)range
                           options:(NSStringEnumerationOptions)opts
                        usingBlock:(void (^)(NSString *_Nullable substring, NSRange substringRange,
                                             NSRange enclosingRange, BOOL *stop))block;
@end

NS_ASSUME_NONNULL_END
