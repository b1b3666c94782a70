// Core Text font registration: a font file shipped in the bundle is made usable by name for this
// process only.
#pragma once

#include <CoreFoundation/CoreFoundation.h>
#include <CoreGraphics/CoreGraphics.h>

#ifdef __cplusplus
#define CT_EXPORT extern "C"
#else
#define CT_EXPORT extern
#endif

CF_IMPLICIT_BRIDGING_ENABLED
CF_ASSUME_NONNULL_BEGIN

// False with *error set when the font cannot be registered (an already registered one included).
CT_EXPORT bool CTFontManagerRegisterGraphicsFont(CGFontRef font,
                                                 CFErrorRef _Nullable* _Nullable error);

CF_ASSUME_NONNULL_END
CF_IMPLICIT_BRIDGING_DISABLED
