// Foundation's base macros and functions. NS_ENUM gives a C++ enum with a fixed underlying type;
// NS_OPTIONS gives a plain integer typedef in C++, so or-ed flags stay of the option type.
#pragma once

#include <CoreFoundation/CoreFoundation.h>
#include <limits.h>
#include <objc/NSObject.h>
#include <objc/objc.h>
#include <stdarg.h>
#include <stdint.h>

#ifdef __cplusplus
#define FOUNDATION_EXPORT extern "C"
#else
#define FOUNDATION_EXPORT extern
#endif

#define NS_ENUM(_type, _name) CF_ENUM(_type, _name)
#define NS_OPTIONS(_type, _name) CF_OPTIONS(_type, _name)
#define NS_TYPED_EXTENSIBLE_ENUM

#define NS_ASSUME_NONNULL_BEGIN _Pragma("clang assume_nonnull begin")
#define NS_ASSUME_NONNULL_END _Pragma("clang assume_nonnull end")
#define NS_DESIGNATED_INITIALIZER __attribute__((objc_designated_initializer))
#define NS_RETURNS_INNER_POINTER __attribute__((objc_returns_inner_pointer))
#define NS_FORMAT_FUNCTION(F, A) __attribute__((format(__NSString__, F, A)))
#define NS_NOESCAPE __attribute__((noescape))
#define NS_UNAVAILABLE __attribute__((unavailable))

static const NSInteger NSNotFound = NSIntegerMax;

typedef NS_ENUM(NSInteger, NSComparisonResult) {
  NSOrderedAscending = -1L,
  NSOrderedSame,
  NSOrderedDescending,
};

NS_ASSUME_NONNULL_BEGIN

FOUNDATION_EXPORT void NSLog(NSString *format, ...) NS_FORMAT_FUNCTION(1, 2);
FOUNDATION_EXPORT NSString *NSStringFromSelector(SEL aSelector);
// The selector named by a string: for actions that no public header declares.
FOUNDATION_EXPORT SEL NSSelectorFromString(NSString *aSelectorName);
// The class of that name among those the process has loaded; Nil when there is none.
FOUNDATION_EXPORT Class _Nullable NSClassFromString(NSString *aClassName);

NS_ASSUME_NONNULL_END
