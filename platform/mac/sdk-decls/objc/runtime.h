// The Objective-C runtime's introspection: the methods a class implements itself, and the methods
// a protocol declares. Lists are allocated with malloc; the caller frees them.
#pragma once

#include <objc/objc.h>

@class Protocol;

typedef struct objc_method *Method;

struct objc_method_description {
  SEL name;
  char *types;
};

#ifdef __cplusplus
extern "C" {
#endif

// The instance methods of `cls` itself, not those it inherits; `outCount` receives their number.
Method *class_copyMethodList(Class cls, unsigned int *outCount);
SEL method_getName(Method m);
const char *sel_getName(SEL sel);
// The methods of `p` that are required (or optional) and instance (or class) methods.
struct objc_method_description *protocol_copyMethodDescriptionList(Protocol *p,
                                                                   BOOL isRequiredMethod,
                                                                   BOOL isInstanceMethod,
                                                                   unsigned int *outCount);

#ifdef __cplusplus
}
#endif
