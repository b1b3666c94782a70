// Objective-C base types: BOOL, YES/NO, nil. `id`, `Class` and `SEL` are built into the compiler.
#pragma once

#include <stddef.h>

// BOOL is a C++ bool on Apple silicon and a signed char on Intel, as in the platform ABI.
#if defined(__arm64__) || defined(__aarch64__)
typedef bool BOOL;
#else
typedef signed char BOOL;
#endif

#define YES __objc_yes
#define NO __objc_no

// In C++ both null object pointers are nullptr, so they convert to any pointer and to nothing else.
#ifdef __cplusplus
#define nil nullptr
#define Nil nullptr
#else
#define nil ((void *)0)
#define Nil ((void *)0)
#endif

#define OBJC_ROOT_CLASS __attribute__((objc_root_class))

// The 64-bit integer types that Foundation builds on.
typedef long NSInteger;
typedef unsigned long NSUInteger;
#define NSIntegerMax __LONG_MAX__
#define NSIntegerMin (-__LONG_MAX__ - 1L)
#define NSUIntegerMax (__LONG_MAX__ * 2UL + 1UL)
