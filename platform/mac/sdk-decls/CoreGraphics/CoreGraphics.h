// Core Graphics: geometry, colours (as layers take them), fonts from memory and window levels.
#pragma once

#include <CoreGraphics/CGGeometry.h>

typedef struct CF_BRIDGED_TYPE(id) CGColor* CGColorRef;
typedef struct CF_BRIDGED_TYPE(id) CGDataProvider* CGDataProviderRef;
typedef struct CF_BRIDGED_TYPE(id) CGFont* CGFontRef;

CF_IMPLICIT_BRIDGING_ENABLED
CF_ASSUME_NONNULL_BEGIN

// A font file read into memory is handed to CGFontCreateWithDataProvider through a provider.
CG_EXTERN CGDataProviderRef _Nullable CGDataProviderCreateWithCFData(CFDataRef _Nullable data);
CG_EXTERN void CGDataProviderRelease(CGDataProviderRef _Nullable provider);
CG_EXTERN CGFontRef _Nullable CGFontCreateWithDataProvider(CGDataProviderRef provider);
CG_EXTERN CFStringRef _Nullable CGFontCopyPostScriptName(CGFontRef _Nullable font);
CG_EXTERN void CGFontRelease(CGFontRef _Nullable font);

CF_ASSUME_NONNULL_END
CF_IMPLICIT_BRIDGING_DISABLED

// Window levels are looked up by key; AppKit's NSWindowLevel constants are built on them.
typedef int32_t CGWindowLevel;
typedef CF_ENUM(int32_t, CGWindowLevelKey) {
  kCGNormalWindowLevelKey = 4,
  kCGFloatingWindowLevelKey = 5,
  kCGPopUpMenuWindowLevelKey = 11,
};
CG_EXTERN CGWindowLevel CGWindowLevelForKey(CGWindowLevelKey key);
#define kCGNormalWindowLevel CGWindowLevelForKey(kCGNormalWindowLevelKey)
#define kCGFloatingWindowLevel CGWindowLevelForKey(kCGFloatingWindowLevelKey)
#define kCGPopUpMenuWindowLevel CGWindowLevelForKey(kCGPopUpMenuWindowLevelKey)
