// Core Graphics scalar and geometry types (64-bit: CGFloat is double). Foundation's NSPoint,
// NSSize and NSRect are these same structures.
#pragma once

#include <CoreFoundation/CoreFoundation.h>
#include <float.h>

#ifdef __cplusplus
#define CG_EXTERN extern "C"
#else
#define CG_EXTERN extern
#endif

typedef double CGFloat;
#define CGFLOAT_MIN DBL_MIN
#define CGFLOAT_MAX DBL_MAX

struct CGPoint {
  CGFloat x;
  CGFloat y;
};
typedef struct __attribute__((objc_boxable)) CGPoint CGPoint;

struct CGSize {
  CGFloat width;
  CGFloat height;
};
typedef struct __attribute__((objc_boxable)) CGSize CGSize;

struct CGRect {
  CGPoint origin;
  CGSize size;
};
typedef struct __attribute__((objc_boxable)) CGRect CGRect;

CF_ASSUME_NONNULL_BEGIN

CG_EXTERN const CGRect CGRectZero;
CG_EXTERN CGPoint CGPointMake(CGFloat x, CGFloat y);
CG_EXTERN CGSize CGSizeMake(CGFloat width, CGFloat height);
CG_EXTERN CGRect CGRectMake(CGFloat x, CGFloat y, CGFloat width, CGFloat height);
CG_EXTERN CGFloat CGRectGetMinX(CGRect rect);
CG_EXTERN CGFloat CGRectGetMaxX(CGRect rect);
CG_EXTERN CGFloat CGRectGetMinY(CGRect rect);
CG_EXTERN CGFloat CGRectGetMaxY(CGRect rect);
CG_EXTERN CGFloat CGRectGetWidth(CGRect rect);
CG_EXTERN CGFloat CGRectGetHeight(CGRect rect);
CG_EXTERN bool CGRectIsEmpty(CGRect rect);
CG_EXTERN bool CGRectIntersectsRect(CGRect rect1, CGRect rect2);

CF_ASSUME_NONNULL_END
