#include "engine_session.h"

#include "ornav_engine.h"

namespace ornav::dict {
namespace {

std::string take(char* text) {
  if (!text) return {};
  std::string copy(text);
  orn_string_free(text);
  return copy;
}

}  // namespace

void EngineSession::Free::operator()(OrnEngine* engine) const {
  orn_engine_free(engine);
}

std::optional<EngineSession> EngineSession::open(const std::string& dict_dir,
                                                 const std::optional<std::string>& user_dir) {
  OrnEngine* engine = orn_engine_new(dict_dir.c_str(), user_dir ? user_dir->c_str() : nullptr);
  if (!engine) return std::nullopt;
  return EngineSession(engine);
}

void EngineSession::input(const std::string& text) {
  orn_input(engine_.get(), text.c_str());
}

void EngineSession::backspace() {
  orn_backspace(engine_.get());
}

std::string EngineSession::buffer() {
  return take(orn_buffer(engine_.get()));
}

std::vector<std::string> EngineSession::candidates() {
  const std::string text = take(orn_candidates(engine_.get()));
  std::vector<std::string> words;
  if (text.empty()) return words;
  std::size_t start = 0;
  for (;;) {
    const auto lf = text.find('\n', start);
    words.push_back(text.substr(start, lf - start));
    if (lf == std::string::npos) return words;
    start = lf + 1;
  }
}

std::string EngineSession::select(std::size_t index) {
  return take(orn_select(engine_.get(), index));
}

std::string EngineSession::commitRaw() {
  return take(orn_commit_raw(engine_.get()));
}

void EngineSession::reset() {
  orn_reset(engine_.get());
}

}  // namespace ornav::dict
