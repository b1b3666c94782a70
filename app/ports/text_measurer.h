// Text measuring and font registration, so that the portable panel can lay out cells itself.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "ports/geometry.h"
#include "ports/ui_types.h"

namespace ornav {

class TextMeasurer {
 public:
  virtual ~TextMeasurer() = default;

  // Width and line height of `text` (UTF-8, one line) drawn in `font`.
  virtual Size measure(const std::string& text, const Font& font) const = 0;

  // Makes the font file usable by this process; answers its PostScript name, or absent when the
  // file cannot be read or is not a font. Registering the same file again answers the same name.
  virtual std::optional<std::string> registerFontFile(const std::filesystem::path& file) = 0;

  // Whether a font of that name is available.
  virtual bool hasFont(const std::string& name) const = 0;
};

}  // namespace ornav
