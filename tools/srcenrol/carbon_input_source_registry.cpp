#include "carbon_input_source_registry.h"

#include <Carbon/Carbon.h>

#include <memory>
#include <type_traits>
#include <vector>

namespace srcenrol {

namespace {

// Owns one reference of a Core Foundation object made by a "Create" function.
struct CFReleaser {
  void operator()(CFTypeRef object) const { CFRelease(object); }
};
template <typename Ref>
using Owned = std::unique_ptr<std::remove_pointer_t<Ref>, CFReleaser>;

Owned<CFStringRef> makeString(const std::string& utf8) {
  return Owned<CFStringRef>(
      CFStringCreateWithBytes(kCFAllocatorDefault, reinterpret_cast<const UInt8*>(utf8.data()),
                              static_cast<CFIndex>(utf8.size()), kCFStringEncodingUTF8, false));
}

std::optional<std::string> utf8Of(CFStringRef string) {
  const CFIndex capacity =
      CFStringGetMaximumSizeForEncoding(CFStringGetLength(string), kCFStringEncodingUTF8) + 1;
  std::vector<char> buffer(static_cast<std::size_t>(capacity));
  if (!CFStringGetCString(string, buffer.data(), capacity, kCFStringEncodingUTF8)) {
    return std::nullopt;
  }
  return std::string(buffer.data());
}

}  // namespace

std::int32_t CarbonInputSourceRegistry::registerBundle(const std::string& bundlePath) {
  Owned<CFURLRef> url(CFURLCreateFromFileSystemRepresentation(
      kCFAllocatorDefault, reinterpret_cast<const UInt8*>(bundlePath.data()),
      static_cast<CFIndex>(bundlePath.size()), true));
  if (!url) return paramErr;
  return TISRegisterInputSource(url.get());
}

std::optional<ListedSources> CarbonInputSourceRegistry::sourcesOfBundle(
    const std::string& bundleIdentifier) {
  Owned<CFStringRef> identifier = makeString(bundleIdentifier);
  if (!identifier) return std::nullopt;
  const void* keys[] = {kTISPropertyBundleID};
  const void* values[] = {identifier.get()};
  Owned<CFDictionaryRef> filter(CFDictionaryCreate(kCFAllocatorDefault, keys, values, 1,
                                                   &kCFTypeDictionaryKeyCallBacks,
                                                   &kCFTypeDictionaryValueCallBacks));
  if (!filter) return std::nullopt;

  Owned<CFArrayRef> list(TISCreateInputSourceList(filter.get(), true));
  if (!list) return std::nullopt;
  ListedSources sources;
  const CFIndex count = CFArrayGetCount(list.get());
  for (CFIndex i = 0; i < count; ++i) {
    auto source =
        static_cast<TISInputSourceRef>(const_cast<void*>(CFArrayGetValueAtIndex(list.get(), i)));
    // The property belongs to the source (a "Get" result): it is read, never released.
    auto sourceId =
        static_cast<CFStringRef>(TISGetInputSourceProperty(source, kTISPropertyInputSourceID));
    sources.push_back(sourceId != nullptr ? utf8Of(sourceId) : std::nullopt);
  }
  return sources;
}

}  // namespace srcenrol
