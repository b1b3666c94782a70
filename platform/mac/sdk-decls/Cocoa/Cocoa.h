// Cocoa: Foundation and AppKit.
#pragma once

#include <AppKit/AppKit.h>
#include <Foundation/Foundation.h>
