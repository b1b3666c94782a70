#import "platform/mac/main_bundle.h"

#import <Foundation/Foundation.h>

#import "platform/mac/foundation_text.h"

namespace ornav::mac_platform {

namespace {

std::filesystem::path pathOf(NSString* path) { return std::filesystem::path(toStdString(path)); }

std::filesystem::path userFolder(NSSearchPathDirectory directory) {
  NSArray<NSURL*>* urls = [NSFileManager.defaultManager URLsForDirectory:directory
                                                               inDomains:NSUserDomainMask];
  return pathOf(urls.firstObject.path);
}

}  // namespace

std::optional<InfoValue> MainBundle::infoValue(const std::string& key) const {
  id value = [NSBundle.mainBundle objectForInfoDictionaryKey:toNSString(key)];
  if ([value isKindOfClass:[NSString class]]) return InfoValue(toStdString(value));
  if (![value isKindOfClass:[NSNumber class]]) return std::nullopt;
  NSNumber* number = value;
  // Booleans are a Core Foundation type of their own.
  if (CFGetTypeID((__bridge CFTypeRef)number) == CFBooleanGetTypeID()) {
    return InfoValue(static_cast<bool>(number.boolValue));
  }
  if (CFNumberIsFloatType((__bridge CFNumberRef)number)) return InfoValue(number.doubleValue);
  return InfoValue(static_cast<std::int64_t>(number.longLongValue));
}

std::filesystem::path MainBundle::bundlePath() const {
  return pathOf(NSBundle.mainBundle.bundlePath);
}

std::filesystem::path MainBundle::resourcePath() const {
  return pathOf(NSBundle.mainBundle.resourcePath);
}

std::optional<std::filesystem::path> MainBundle::pathForResource(
    const std::string& name, const std::string& extension) const {
  NSString* path =
      [NSBundle.mainBundle pathForResource:toNSString(name)
                                    ofType:extension.empty() ? nil : toNSString(extension)];
  if (path == nil) return std::nullopt;
  return pathOf(path);
}

std::filesystem::path FileManagerFolders::home() const { return pathOf(NSHomeDirectory()); }

std::filesystem::path FileManagerFolders::applicationSupport() const {
  return userFolder(NSApplicationSupportDirectory);
}

std::filesystem::path FileManagerFolders::caches() const { return userFolder(NSCachesDirectory); }

std::filesystem::path FileManagerFolders::temporary() const {
  return pathOf(NSTemporaryDirectory());
}

}  // namespace ornav::mac_platform
