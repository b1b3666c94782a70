#import "platform/mac/user_defaults_settings.h"

#import <Foundation/Foundation.h>

#include <type_traits>
#include <variant>

#import "platform/mac/foundation_text.h"

namespace ornav::mac_platform {

struct UserDefaultsSettings::Defaults {
  NSUserDefaults* defaults;
};

namespace {

std::optional<SettingsValue> fromNumber(NSNumber* number) {
  // Booleans are a Core Foundation type of their own; everything else is an integer unless it
  // was stored as floating point.
  if (CFGetTypeID((__bridge CFTypeRef)number) == CFBooleanGetTypeID()) {
    return SettingsValue(static_cast<bool>(number.boolValue));
  }
  if (CFNumberIsFloatType((__bridge CFNumberRef)number)) return SettingsValue(number.doubleValue);
  return SettingsValue(static_cast<std::int64_t>(number.longLongValue));
}

std::optional<SettingsValue> fromArray(NSArray* array) {
  std::vector<std::string> strings;
  strings.reserve(array.count);
  for (id element in array) {
    if (![element isKindOfClass:[NSString class]]) return std::nullopt;
    strings.push_back(toStdString(element));
  }
  return SettingsValue(std::move(strings));
}

std::optional<SettingsValue> fromDictionary(NSDictionary* dictionary) {
  SettingsDictionary entries;
  for (id key in dictionary) {
    id value = dictionary[key];
    if (![key isKindOfClass:[NSString class]] || ![value isKindOfClass:[NSString class]]) {
      return std::nullopt;
    }
    entries[toStdString(key)] = toStdString(value);
  }
  return SettingsValue(std::move(entries));
}

std::optional<SettingsValue> fromObject(id object) {
  if (object == nil) return std::nullopt;
  if ([object isKindOfClass:[NSString class]]) return SettingsValue(toStdString(object));
  if ([object isKindOfClass:[NSNumber class]]) return fromNumber(object);
  if ([object isKindOfClass:[NSData class]]) {
    NSData* data = object;
    const auto* bytes = static_cast<const std::uint8_t*>(data.bytes);
    return SettingsValue(SettingsData(bytes, bytes + data.length));
  }
  if ([object isKindOfClass:[NSArray class]]) return fromArray(object);
  if ([object isKindOfClass:[NSDictionary class]]) return fromDictionary(object);
  return std::nullopt;
}

id toObject(const SettingsValue& value) {
  return std::visit(
      [](const auto& v) -> id {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, bool>) {
          return @(static_cast<BOOL>(v));
        } else if constexpr (std::is_same_v<T, std::int64_t>) {
          return @(static_cast<long long>(v));
        } else if constexpr (std::is_same_v<T, double>) {
          return @(v);
        } else if constexpr (std::is_same_v<T, std::string>) {
          return toNSString(v);
        } else if constexpr (std::is_same_v<T, SettingsData>) {
          return [NSData dataWithBytes:v.data() length:v.size()];
        } else if constexpr (std::is_same_v<T, std::vector<std::string>>) {
          NSMutableArray<NSString*>* array = [NSMutableArray arrayWithCapacity:v.size()];
          for (const auto& element : v) [array addObject:toNSString(element)];
          return array;
        } else {
          NSMutableDictionary<NSString*, NSString*>* dictionary =
              [NSMutableDictionary dictionaryWithCapacity:v.size()];
          for (const auto& [key, element] : v) dictionary[toNSString(key)] = toNSString(element);
          return dictionary;
        }
      },
      value);
}

}  // namespace

UserDefaultsSettings::UserDefaultsSettings()
    : defaults_(std::make_unique<Defaults>(Defaults{NSUserDefaults.standardUserDefaults})) {}

UserDefaultsSettings::~UserDefaultsSettings() = default;

std::optional<SettingsValue> UserDefaultsSettings::load(const std::string& key) const {
  return fromObject([defaults_->defaults objectForKey:toNSString(key)]);
}

void UserDefaultsSettings::store(const std::string& key, std::optional<SettingsValue> value) {
  NSString* name = toNSString(key);
  if (!value) {
    [defaults_->defaults removeObjectForKey:name];
    return;
  }
  [defaults_->defaults setObject:toObject(*value) forKey:name];
}

}  // namespace ornav::mac_platform
