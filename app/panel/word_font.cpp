#include "word_font.h"

#include <optional>

namespace ornav {

namespace {

std::optional<Font> shippedFont(double size, const Bundle* bundle, TextMeasurer& measurer) {
  if (bundle == nullptr) return std::nullopt;
  const auto file = bundle->pathForResource("ornav", "ttf");
  if (!file) return std::nullopt;
  const auto name = measurer.registerFontFile(*file);
  if (!name || name->empty() || !measurer.hasFont(*name)) return std::nullopt;
  return Font::named(*name, size);
}

}  // namespace

Font loadWordFont(double size, const Bundle* bundle, TextMeasurer& measurer,
                  const std::function<void(const std::string&)>& log) {
  if (auto font = shippedFont(size, bundle, measurer)) return *font;
  if (log) log(kWordFontFailedLog);
  if (measurer.hasFont(kFallbackWordFontName)) return Font::named(kFallbackWordFontName, size);
  return Font::system(size);
}

}  // namespace ornav
