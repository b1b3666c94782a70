#include "dialogs/number_text.h"

#include <algorithm>
#include <cmath>
#include <iomanip>
#include <locale>
#include <sstream>

namespace ornav::number_text {

std::string fixed(double value, int decimals) {
  if (!std::isfinite(value)) return std::isnan(value) ? "nan" : (value < 0 ? "-inf" : "inf");
  // A stream in the classic locale rather than std::to_chars: Apple's C++ library offers the
  // floating-point to_chars only from macOS 13.3 on, and the application runs on older systems.
  std::ostringstream text;
  text.imbue(std::locale::classic());
  text << std::fixed << std::setprecision(std::max(decimals, 0)) << value;
  return text.str();
}

std::string megabytes(double bytes) {
  return fixed(bytes / 1024.0 / 1024.0, 1);
}

}  // namespace ornav::number_text
