#include "base/json_reading.h"

#include <cmath>

namespace ornav::json_reading {
namespace {

const nlohmann::json* member(const nlohmann::json& object, std::string_view key) {
  if (!object.is_object()) return nullptr;
  const auto it = object.find(key);
  return it == object.end() ? nullptr : &*it;
}

}  // namespace

std::optional<nlohmann::json> parseObject(std::string_view body) {
  // No exceptions: a malformed body is an ordinary answer of bad format.
  nlohmann::json value = nlohmann::json::parse(body, nullptr, /*allow_exceptions=*/false);
  if (!value.is_object()) return std::nullopt;
  return value;
}

std::optional<std::string> string(const nlohmann::json& object, std::string_view key) {
  const nlohmann::json* value = member(object, key);
  if (value == nullptr || !value->is_string()) return std::nullopt;
  return value->get<std::string>();
}

std::string stringOr(const nlohmann::json& object, std::string_view key, std::string fallback) {
  auto value = string(object, key);
  return value ? std::move(*value) : std::move(fallback);
}

bool isTrue(const nlohmann::json& object, std::string_view key) {
  const nlohmann::json* value = member(object, key);
  if (value == nullptr) return false;
  if (value->is_boolean()) return value->get<bool>();
  if (value->is_number_unsigned()) return value->get<std::uint64_t>() == 1;
  if (value->is_number_integer()) return value->get<std::int64_t>() == 1;
  if (value->is_number_float()) return value->get<double>() == 1.0;
  return false;
}

std::optional<double> number(const nlohmann::json& object, std::string_view key) {
  const nlohmann::json* value = member(object, key);
  if (value == nullptr || !value->is_number()) return std::nullopt;
  return value->get<double>();
}

std::optional<std::int64_t> integer(const nlohmann::json& object, std::string_view key) {
  const nlohmann::json* value = member(object, key);
  if (value == nullptr) return std::nullopt;
  // is_number_integer() also holds for unsigned values, so test those first.
  if (value->is_number_unsigned()) {
    const auto u = value->get<std::uint64_t>();
    if (u > static_cast<std::uint64_t>(INT64_MAX)) return std::nullopt;
    return static_cast<std::int64_t>(u);
  }
  if (value->is_number_integer()) return value->get<std::int64_t>();
  if (value->is_number_float()) {
    const double d = value->get<double>();
    // 2^63 is exactly representable; anything at or above it does not fit.
    if (std::isfinite(d) && d == std::trunc(d) && d >= -9223372036854775808.0 &&
        d < 9223372036854775808.0) {
      return static_cast<std::int64_t>(d);
    }
  }
  return std::nullopt;
}

std::string serialize(const nlohmann::json& value) {
  return value.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace ornav::json_reading
