#import "platform/mac/foundation_text.h"

#include "base/text.h"

namespace ornav::mac_platform {

NSString* toNSString(std::string_view utf8) {
  const std::string repaired = toValidUtf8(utf8);
  NSString* string = [[NSString alloc] initWithBytes:repaired.data()
                                              length:repaired.size()
                                            encoding:NSUTF8StringEncoding];
  return string != nil ? string : [[NSString alloc] init];
}

std::string toStdString(NSString* string) {
  if (string == nil) return {};
  // Lossy conversion keeps embedded NULs and replaces what UTF-8 cannot carry.
  NSData* data = [string dataUsingEncoding:NSUTF8StringEncoding allowLossyConversion:YES];
  if (data == nil || data.length == 0) return {};
  return std::string(static_cast<const char*>(data.bytes), data.length);
}

}  // namespace ornav::mac_platform
