// Attributed strings: text with attributes over ranges (the keys come from AppKit).
#pragma once

#include <Foundation/NSObject.h>
#include <Foundation/NSRange.h>

@class NSString, NSDictionary<KeyType, ObjectType>;

typedef NSString *NSAttributedStringKey NS_TYPED_EXTENSIBLE_ENUM;

NS_ASSUME_NONNULL_BEGIN

@interface NSAttributedString : NSObject <NSCopying, NSMutableCopying, NSCoding>
@property(readonly, copy) NSString *string;
@end

@interface NSAttributedString (NSExtendedAttributedString)
@property(readonly) NSUInteger length;
- (instancetype)initWithString:(NSString *)str;
- (instancetype)initWithString:(NSString *)str
                    attributes:(nullable NSDictionary<NSAttributedStringKey, id> *)attrs;
@end

@interface NSMutableAttributedString : NSAttributedString
- (void)setAttributes:(nullable NSDictionary<NSAttributedStringKey, id> *)attrs
                range:(NSRange)range;
@end

@interface NSMutableAttributedString (NSExtendedMutableAttributedString)
- (void)addAttribute:(NSAttributedStringKey)name value:(id)value range:(NSRange)range;
@end

NS_ASSUME_NONNULL_END
