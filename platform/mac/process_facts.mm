#import "platform/mac/process_facts.h"

#import <Foundation/Foundation.h>

#import "platform/mac/foundation_text.h"

namespace ornav::mac_platform {

std::string ProcessInfoSystemInfo::processName() const {
  return toStdString(NSProcessInfo.processInfo.processName);
}

int ProcessInfoSystemInfo::processId() const { return NSProcessInfo.processInfo.processIdentifier; }

std::string ProcessInfoSystemInfo::osVersion() const {
  const NSOperatingSystemVersion version = NSProcessInfo.processInfo.operatingSystemVersion;
  // NSInteger is long on every Mac; the casts keep the formatting independent of that.
  return std::to_string(static_cast<long long>(version.majorVersion)) + "." +
         std::to_string(static_cast<long long>(version.minorVersion)) + "." +
         std::to_string(static_cast<long long>(version.patchVersion));
}

}  // namespace ornav::mac_platform
