// How JSON from outside is read (answers of the web service, files the application keeps). Only
// the text counts (for an answer, the status code is never looked at), it must be a JSON object,
// and members are taken by key and type: a string only from a JSON string, a boolean from true or
// from the number 1, a number from any JSON number. A member that is absent or of another type
// gives the caller's default.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace ornav::json_reading {

// The body as a JSON object; absent when it is not JSON or its top level is not an object.
std::optional<nlohmann::json> parseObject(std::string_view body);

// A member that is a JSON string; absent for any other type (a number is not converted).
std::optional<std::string> string(const nlohmann::json& object, std::string_view key);

// The string member, or `fallback` when it is absent or not a string.
std::string stringOr(const nlohmann::json& object, std::string_view key, std::string fallback);

// true for JSON true and for the JSON number 1; false for everything else, absence included.
bool isTrue(const nlohmann::json& object, std::string_view key);

// A member that is any JSON number (integer or floating point); absent otherwise.
std::optional<double> number(const nlohmann::json& object, std::string_view key);

// A member that is a JSON integer (or a floating-point number with an integral value that fits);
// absent otherwise.
std::optional<std::int64_t> integer(const nlohmann::json& object, std::string_view key);

// Compact serialisation; invalid UTF-8 inside strings is replaced instead of failing.
std::string serialize(const nlohmann::json& value);

}  // namespace ornav::json_reading
