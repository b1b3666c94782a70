#include "dialogs/number_text.h"

#include <array>
#include <charconv>
#include <cmath>

namespace ornav::number_text {

std::string fixed(double value, int decimals) {
  if (!std::isfinite(value)) return std::isnan(value) ? "nan" : (value < 0 ? "-inf" : "inf");
  // The largest double has 309 integer digits; the buffer holds it with any sensible precision.
  std::array<char, 400> buffer;
  const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                          std::chars_format::fixed, decimals);
  if (error != std::errc()) return {};
  return std::string(buffer.data(), end);
}

std::string megabytes(double bytes) {
  return fixed(bytes / 1024.0 / 1024.0, 1);
}

}  // namespace ornav::number_text
