// OS objects (dispatch queues, logs). Compiled as Objective-C they are Objective-C objects that
// ARC retains and releases, so they can be stored in strong variables and captured by blocks.
#pragma once

#include <objc/NSObject.h>

#define OS_OBJECT_DECL_CLASS(name) \
  @protocol OS_                    \
  ##name<NSObject> @end            \
  typedef NSObject<OS_##name> *__attribute__((objc_independent_class)) name##_t

#define OS_OBJECT_DECL_SUBCLASS(name, super) \
  @protocol OS_                              \
  ##name<OS_##super> @end                    \
  typedef NSObject<OS_##name> *__attribute__((objc_independent_class)) name##_t

#define OS_OBJECT_RETURNS_RETAINED __attribute__((__ns_returns_retained__))

#ifdef __cplusplus
#define OS_EXPORT extern "C" __attribute__((__visibility__("default")))
#else
#define OS_EXPORT extern __attribute__((__visibility__("default")))
#endif
