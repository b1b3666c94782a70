#include "core/ornav_engine_binding.h"

#include "base/text.h"

namespace ornav {

const EngineApi& realEngineApi() {
  static const EngineApi api{
      orn_engine_new,
      orn_engine_free,
      orn_input,
      orn_backspace,
      orn_buffer,
      orn_candidates,
      orn_select,
      orn_commit_raw,
      orn_reset,
      orn_export_user_freq,
      orn_export_user_unknown,
      orn_sync_extra_dict,
      orn_string_free,
  };
  return api;
}

std::unique_ptr<OrnavEngine> OrnavEngine::create(
    const std::string& dictDir, const std::optional<std::string>& userDir, const EngineApi& api,
    const std::function<void(const std::string&)>& log) {
  OrnEngine* handle = api.engineNew(dictDir.c_str(), userDir ? userDir->c_str() : nullptr);
  if (handle == nullptr) {
    if (log) log("OrnavEngine: 引擎创建失败，词典目录=" + dictDir);
    return nullptr;
  }
  return std::unique_ptr<OrnavEngine>(new OrnavEngine(handle, api));
}

OrnavEngine::~OrnavEngine() {
  api_->engineFree(handle_);
}

std::string OrnavEngine::take(char* text) const {
  if (text == nullptr) return {};
  // Library strings are UTF-8 by contract; a stray ill-formed byte still must not reach the
  // client or the settings as is, so it becomes U+FFFD.
  std::string out = toValidUtf8(text);
  api_->stringFree(text);
  return out;
}

void OrnavEngine::input(std::string_view text) {
  const std::string copy(text);
  api_->input(handle_, copy.c_str());
}

bool OrnavEngine::backspace() {
  return api_->backspace(handle_) != 0;
}

std::string OrnavEngine::buffer() const {
  return take(api_->buffer(handle_));
}

std::vector<std::string> OrnavEngine::candidates() const {
  return splitCandidateText(take(api_->candidates(handle_)));
}

std::string OrnavEngine::select(std::size_t index) {
  return take(api_->select(handle_, index));
}

std::string OrnavEngine::commitRaw() {
  return take(api_->commitRaw(handle_));
}

void OrnavEngine::reset() {
  api_->reset(handle_);
}

std::string OrnavEngine::exportUserFreq() {
  return take(api_->exportUserFreq(handle_));
}

std::string OrnavEngine::exportUserUnknown() {
  return take(api_->exportUserUnknown(handle_));
}

int64_t OrnavEngine::syncExtraDict(std::string_view tsv) {
  const std::string copy(tsv);
  return static_cast<int64_t>(api_->syncExtraDict(handle_, copy.c_str()));
}

std::vector<std::string> splitCandidateText(const std::string& text) {
  std::vector<std::string> words;
  if (text.empty()) return words;
  std::size_t start = 0;
  while (true) {
    const std::size_t lf = text.find('\n', start);
    if (lf == std::string::npos) {
      words.push_back(text.substr(start));
      return words;
    }
    words.push_back(text.substr(start, lf - start));
    start = lf + 1;
  }
}

}  // namespace ornav
