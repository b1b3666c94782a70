// Text across the Foundation boundary. Objective-C++ only.
#pragma once

#import <Foundation/Foundation.h>

#include <string>
#include <string_view>

namespace ornav::mac_platform {

// Never nil: ill-formed UTF-8 is repaired first (base/text.h, toValidUtf8).
NSString* toNSString(std::string_view utf8);

// UTF-8 of `string` ("" for nil); unpaired UTF-16 surrogates become replacement characters.
std::string toStdString(NSString* string);

}  // namespace ornav::mac_platform
