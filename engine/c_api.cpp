// The thirteen exported functions. Each one checks its arguments, calls the engine, and turns any
// exception (std::bad_alloc included) into the function's neutral answer: nothing unwinds into
// or aborts the caller.
#include <cstdlib>
#include <cstring>
#include <limits>

#include "engine.h"
#include "ornav_engine.h"
#include "utf8.h"

struct OrnEngine {
  std::unique_ptr<ornav::Engine> engine;
};

namespace {

// Result strings are malloc'd copies, so they outlive the engine; null for text with a NUL,
// which a C string could not carry.
char* new_string(std::string_view text) {
  if (text.find('\0') != std::string_view::npos) return nullptr;
  char* copy = static_cast<char*>(std::malloc(text.size() + 1));
  if (!copy) return nullptr;
  std::memcpy(copy, text.data(), text.size());
  copy[text.size()] = '\0';
  return copy;
}

template <typename Result, typename Body>
Result guarded(Result neutral, Body body) noexcept {
  try {
    return body();
  } catch (...) {
    return neutral;
  }
}

template <typename Body>
void guarded_void(Body body) noexcept {
  try {
    body();
  } catch (...) {
  }
}

bool is_text(const char* text) {
  return text && ornav::utf8::is_valid(text);
}

}  // namespace

extern "C" {

ORN_API OrnEngine* orn_engine_new(const char* dict_dir, const char* user_dir) {
  return guarded<OrnEngine*>(nullptr, [&]() -> OrnEngine* {
    if (!is_text(dict_dir)) return nullptr;
    std::optional<std::string_view> user;
    // An empty path would put the user's files in whatever the working directory is.
    if (is_text(user_dir) && *user_dir != '\0') user = user_dir;
    auto engine = ornav::Engine::create(dict_dir, user);
    if (!engine) return nullptr;
    return new OrnEngine{std::move(engine)};
  });
}

ORN_API void orn_engine_free(OrnEngine* engine) {
  delete engine;
}

ORN_API void orn_input(OrnEngine* engine, const char* text) {
  guarded_void([&] {
    if (engine && is_text(text)) engine->engine->input(text);
  });
}

ORN_API int32_t orn_backspace(OrnEngine* engine) {
  return guarded<int32_t>(0, [&] { return engine && engine->engine->backspace() ? 1 : 0; });
}

ORN_API char* orn_buffer(OrnEngine* engine) {
  return guarded<char*>(
      nullptr, [&]() -> char* { return engine ? new_string(engine->engine->buffer()) : nullptr; });
}

ORN_API char* orn_candidates(OrnEngine* engine) {
  return guarded<char*>(nullptr, [&]() -> char* {
    if (!engine) return nullptr;
    const std::vector<std::string>& words = engine->engine->candidates();
    std::string joined;
    for (std::size_t i = 0; i < words.size(); ++i) {
      if (i > 0) joined.push_back('\n');
      joined.append(words[i]);
    }
    return new_string(joined);
  });
}

ORN_API char* orn_select(OrnEngine* engine, size_t index) {
  return guarded<char*>(nullptr, [&]() -> char* {
    return engine ? new_string(engine->engine->select(index)) : nullptr;
  });
}

ORN_API char* orn_commit_raw(OrnEngine* engine) {
  return guarded<char*>(nullptr, [&]() -> char* {
    return engine ? new_string(engine->engine->commit_raw()) : nullptr;
  });
}

ORN_API void orn_reset(OrnEngine* engine) {
  guarded_void([&] {
    if (engine) engine->engine->reset();
  });
}

ORN_API char* orn_export_user_freq(OrnEngine* engine) {
  return guarded<char*>(nullptr, [&]() -> char* {
    return engine ? new_string(engine->engine->export_user_freq()) : nullptr;
  });
}

ORN_API char* orn_export_user_unknown(OrnEngine* engine) {
  return guarded<char*>(nullptr, [&]() -> char* {
    return engine ? new_string(engine->engine->export_user_unknown()) : nullptr;
  });
}

ORN_API int32_t orn_sync_extra_dict(OrnEngine* engine, const char* tsv) {
  return guarded<int32_t>(
      -1, [&] { return engine && tsv ? engine->engine->sync_extra_dict(tsv) : -1; });
}

ORN_API void orn_string_free(char* text) {
  std::free(text);
}

}  // extern "C"
