// One engine behind the C interface, with the library's strings turned into std::string at once
// (each released with orn_string_free right after the copy).
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct OrnEngine;

namespace ornav::dict {

class EngineSession {
 public:
  // Nothing when the engine refuses the dictionary directory (missing or invalid maps).
  static std::optional<EngineSession> open(const std::string& dict_dir,
                                           const std::optional<std::string>& user_dir);

  void input(const std::string& text);
  void backspace();
  std::string buffer();
  std::vector<std::string> candidates();
  std::string select(std::size_t index);
  std::string commitRaw();
  void reset();

 private:
  struct Free {
    void operator()(OrnEngine* engine) const;
  };
  explicit EngineSession(OrnEngine* engine) : engine_(engine) {}
  std::unique_ptr<OrnEngine, Free> engine_;
};

}  // namespace ornav::dict
