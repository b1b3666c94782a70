// OrnavEngine: the application's object over one engine handle of libornav_engine.
//
// Every method is exactly one call of the C interface plus the string conversions at the
// boundary: arguments go in as NUL-terminated UTF-8 copies that live for the call only; every
// non-null string that comes back is decoded (ill-formed bytes become U+FFFD), released with
// orn_string_free exactly once before the method returns, and a null result reads as "".
// Nothing is cached: reading `buffer` twice asks the library twice.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ornav_engine.h"  // the C interface (engine/include)

namespace ornav {

// The C functions the binding calls. Production code uses realEngineApi(); tests substitute a
// table that counts calls and releases.
struct EngineApi {
  OrnEngine* (*engineNew)(const char* dictDir, const char* userDir);
  void (*engineFree)(OrnEngine* engine);
  void (*input)(OrnEngine* engine, const char* text);
  int32_t (*backspace)(OrnEngine* engine);
  char* (*buffer)(OrnEngine* engine);
  char* (*candidates)(OrnEngine* engine);
  char* (*select)(OrnEngine* engine, size_t index);
  char* (*commitRaw)(OrnEngine* engine);
  void (*reset)(OrnEngine* engine);
  char* (*exportUserFreq)(OrnEngine* engine);
  char* (*exportUserUnknown)(OrnEngine* engine);
  int32_t (*syncExtraDict)(OrnEngine* engine, const char* tsv);
  void (*stringFree)(char* text);
};

const EngineApi& realEngineApi();

class OrnavEngine {
 public:
  // Creates an engine over the two directories; null (after the failure line through `log`) when
  // the library refuses.
  static std::unique_ptr<OrnavEngine> create(
      const std::string& dictDir, const std::optional<std::string>& userDir,
      const EngineApi& api = realEngineApi(),
      const std::function<void(const std::string&)>& log = {});
  ~OrnavEngine();
  OrnavEngine(const OrnavEngine&) = delete;
  OrnavEngine& operator=(const OrnavEngine&) = delete;

  void input(std::string_view text);
  // True while the buffer still holds text after the removal.
  bool backspace();
  std::string buffer() const;
  std::vector<std::string> candidates() const;
  std::string select(std::size_t index);
  std::string commitRaw();
  void reset();
  std::string exportUserFreq();
  std::string exportUserUnknown();
  // Entries of the new cloud dictionary, or -1.
  int64_t syncExtraDict(std::string_view tsv);

 private:
  OrnavEngine(OrnEngine* handle, const EngineApi& api) : handle_(handle), api_(&api) {}
  std::string take(char* text) const;

  OrnEngine* handle_;  // never null in a live object
  const EngineApi* api_;
};

// Splits the library's candidate text at every LF; "" gives no candidates.
std::vector<std::string> splitCandidateText(const std::string& text);

}  // namespace ornav
