// AppKit's linkage macro.
#pragma once

#include <Foundation/Foundation.h>

#define APPKIT_EXTERN FOUNDATION_EXPORT
