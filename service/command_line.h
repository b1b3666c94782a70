// The command line of ornavel-service: flags with values ("--database URL") in any order, taken
// one by one by the command that knows them; whatever is left over is an error.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ornav::service {

class CommandLine {
 public:
  explicit CommandLine(std::vector<std::string> words) : words_(std::move(words)) {}

  // The value after `flag`, removed with it; absent when the flag is not there. A flag without a
  // value is an error.
  std::optional<std::string> value(const std::string& flag);
  // A decimal integer value within [least, most]; anything else is an error.
  std::optional<std::int64_t> integer(const std::string& flag, std::int64_t least,
                                      std::int64_t most);
  // A flag without a value.
  bool present(const std::string& flag);
  // The first word that is not a flag, removed.
  std::optional<std::string> word();

  // The first problem met, or a word nobody took; empty when all is well.
  std::string problem() const;

 private:
  std::vector<std::string> words_;
  std::string problem_;
};

}  // namespace ornav::service
