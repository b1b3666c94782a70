// Counts and scores are unsigned 64-bit and saturate at the maximum instead of wrapping, so a
// heavily used word can never overflow into a low score.
#pragma once

#include <cstdint>
#include <limits>

namespace ornav {

inline constexpr std::uint64_t max_count = std::numeric_limits<std::uint64_t>::max();

constexpr std::uint64_t saturating_add(std::uint64_t a, std::uint64_t b) {
  std::uint64_t sum = 0;
  return __builtin_add_overflow(a, b, &sum) ? max_count : sum;
}

constexpr std::uint64_t saturating_mul(std::uint64_t a, std::uint64_t b) {
  std::uint64_t product = 0;
  return __builtin_mul_overflow(a, b, &product) ? max_count : product;
}

}  // namespace ornav
