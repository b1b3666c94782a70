#import "platform/mac/appkit_text_measurer.h"

#import <AppKit/AppKit.h>

#import "platform/mac/appkit_values.h"
#import "platform/mac/foundation_text.h"

namespace ornav::mac_platform {

Size AppKitTextMeasurer::measure(const std::string& text, const Font& font) const {
  const NSSize size = [toNSString(text) sizeWithAttributes:@{NSFontAttributeName : fontFor(font)}];
  return Size{size.width, size.height};
}

std::optional<std::string> AppKitTextMeasurer::registerFontFile(const std::filesystem::path& file) {
  NSData* bytes = [NSData dataWithContentsOfFile:toNSString(file.string())];
  if (bytes == nil) return std::nullopt;
  CGDataProviderRef provider = CGDataProviderCreateWithCFData((__bridge CFDataRef)bytes);
  if (provider == nullptr) return std::nullopt;
  CGFontRef font = CGFontCreateWithDataProvider(provider);
  CGDataProviderRelease(provider);
  if (font == nullptr) return std::nullopt;
  // Registering a font that is registered already fails; the font is usable all the same, which
  // the name lookup below confirms.
  CTFontManagerRegisterGraphicsFont(font, nullptr);
  NSString* name = CFBridgingRelease(CGFontCopyPostScriptName(font));
  CGFontRelease(font);
  if (name == nil || [NSFont fontWithName:name size:12] == nil) return std::nullopt;
  return toStdString(name);
}

bool AppKitTextMeasurer::hasFont(const std::string& name) const {
  return !name.empty() && [NSFont fontWithName:toNSString(name) size:12] != nil;
}

}  // namespace ornav::mac_platform
