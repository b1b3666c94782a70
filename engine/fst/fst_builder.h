// Writes maps in the fst library's 0.4 format, version 3 (with its checksum), readable by that
// library and by fst::Map. Keys must arrive in strictly increasing byte order.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ornav::fst {

class Builder {
 public:
  Builder();
  ~Builder();
  Builder(const Builder&) = delete;
  Builder& operator=(const Builder&) = delete;

  // False (and nothing added) when the key is not greater than the previous one.
  bool insert(std::string_view key, std::uint64_t value);
  // The whole file. The builder is spent afterwards: insert() refuses every key and finish()
  // returns an empty vector.
  std::vector<std::uint8_t> finish();

 private:
  struct Impl;
  Impl* impl_;
};

}  // namespace ornav::fst
