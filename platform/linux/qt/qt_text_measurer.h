// Text measuring and font registration with Qt's font system (HarfBuzz shaping, so Arabic-script
// words measure as they are drawn, joined).
#pragma once

#include <QImage>
#include <map>
#include <string>

#include "ports/text_measurer.h"

namespace ornav::linux_platform {

class QtTextMeasurer : public TextMeasurer {
 public:
  QtTextMeasurer();

  Size measure(const std::string& text, const Font& font) const override;
  // Answers the font's family name: the name under which Qt's fonts find it.
  std::optional<std::string> registerFontFile(const std::filesystem::path& file) override;
  bool hasFont(const std::string& name) const override;

 private:
  QImage device_;  // fonts are measured on a device of known resolution
  std::map<std::filesystem::path, std::string> registered_;
};

}  // namespace ornav::linux_platform
