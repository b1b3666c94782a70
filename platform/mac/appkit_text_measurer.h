// Text measuring with AppKit (an attributed string's size in an NSFont) and font registration
// for this process with Core Text.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "ports/text_measurer.h"

namespace ornav::mac_platform {

class AppKitTextMeasurer final : public TextMeasurer {
 public:
  Size measure(const std::string& text, const Font& font) const override;
  // Reads the file into a Core Graphics font, registers it (a font that is registered already
  // stays so) and answers its PostScript name once AppKit finds a font of that name.
  std::optional<std::string> registerFontFile(const std::filesystem::path& file) override;
  bool hasFont(const std::string& name) const override;
};

}  // namespace ornav::mac_platform
