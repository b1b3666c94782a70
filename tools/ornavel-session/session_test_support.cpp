#include "session_test_support.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include "test_dict.h"

namespace ornav::session_testing {

using nlohmann::json;

ScenarioDictionary::ScenarioDictionary() {
  std::string pattern =
      (std::filesystem::temp_directory_path() / "ornavel-session-test-XXXXXX").string();
  root_ = ::mkdtemp(pattern.data()) ? pattern : "";
  dictDir_ = root_ + "/dict";
  userDir_ = root_ + "/user";
  std::filesystem::create_directories(dictDir_);
  std::filesystem::create_directories(userDir_);

  testing::KeyCounts unigram;
  std::uint64_t count = 5000;
  for (char c = 'b'; c <= 'm'; ++c)
    unigram[std::string("ta") + c] = count -= 10;  // 12 words
  unigram["sun"] = 300;
  unigram["sup"] = 200;
  unigram["sip"] = 100;
  count = 9000;
  for (char c = 'a'; c <= 'z'; ++c)
    unigram[std::string("ma") + c] = count -= 10;  // 26 words
  for (char c = 'a'; c <= 'd'; ++c)
    unigram[std::string("mb") + c] = count -= 10;  // 4 more
  unigram["day"] = 50;
  count = 700;
  for (char c = 'b'; c <= 'g'; ++c)
    unigram[std::string("ka") + c] = count -= 10;  // 6 words
  unigram["kahkahkahkah"] = 600;
  testing::KeyCounts bigram;
  bigram[testing::pair_key("sun", "day")] = 50;
  bigram[testing::pair_key("sun", "set")] = 40;
  bigram[testing::pair_key("sun", "rise")] = 30;
  bigram[testing::pair_key("day", "off")] = 9;
  testing::write_dict(dictDir_, unigram, bigram);
}

ScenarioDictionary::~ScenarioDictionary() {
  std::error_code ignored;
  if (!root_.empty()) std::filesystem::remove_all(root_, ignored);
}

std::unique_ptr<Application> makeSessionApplication(MainQueue& queue, EngineDirectories dirs) {
  Platform ports;
  ports.mainQueue = &queue;
  ApplicationOptions options;
  options.logFiles = Logger::Files{"", ""};
  options.engineDirectories = std::move(dirs);
  options.serviceBaseURL = "";
  return std::make_unique<Application>(ports, options);
}

ScenarioSession::ScenarioSession(bool withDictionary, std::vector<Screen> screens) {
  app_ = makeSessionApplication(
      mainQueue_, {withDictionary ? dictionary_.dictDir() : dictionary_.dictDir() + "/missing",
                   dictionary_.userDir()});
  // Latin letters type themselves; a shifted letter types its lower case.
  KeyTable keys;
  for (char c = 'a'; c <= 'z'; ++c)
    keys[std::string(1, c)] = std::string(1, c);
  keys["T"] = "t";
  app_->keyMap() = KeyMap(std::move(keys), {});
  services_.onlineDict = false;
  services_.consent = false;
  session_ = std::make_unique<session::Session>(
      session::SessionSetup{.app = app_.get(),
                            .services = &services_,
                            .drainMainQueue = [this] { mainQueue_.drain(); },
                            .screens = std::move(screens)});
}

json ScenarioSession::send(const std::string& line) {
  auto out = session_->handleLine(line);
  if (!out) return json();
  return json::parse(*out);
}

json ScenarioSession::sendAll(const std::vector<std::string>& lines) {
  json last;
  for (const auto& line : lines)
    last = send(line);
  return last;
}

std::string key(int keyCode, const std::string& characters, std::uint64_t flags) {
  json event = {
      {"event", "key"}, {"keyCode", keyCode}, {"characters", characters}, {"modifierFlags", flags}};
  return event.dump();
}

std::string keyWithoutCharacters(int keyCode, std::uint64_t flags) {
  json event = {{"event", "key"}, {"keyCode", keyCode}, {"modifierFlags", flags}};
  return event.dump();
}

std::vector<std::string> typing(const std::string& letters) {
  std::vector<std::string> lines;
  for (char c : letters)
    lines.push_back(key(0, std::string(1, c)));
  return lines;
}

std::string click(int index) {
  return json{{"event", "click"}, {"index", index}}.dump();
}

std::string caret(double x, double y, double width, double height) {
  return json{{"event", "caret"}, {"rect", {x, y, width, height}}}.dump();
}

::testing::AssertionResult matches(const json& actual, const json& expected) {
  if (!expected.is_object()) {
    if (actual == expected) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << actual.dump() << " != " << expected.dump();
  }
  if (!actual.is_object()) return ::testing::AssertionFailure() << actual.dump() << " not object";
  for (const auto& [name, value] : expected.items()) {
    if (!actual.contains(name)) return ::testing::AssertionFailure() << "no \"" << name << "\"";
    auto inner = matches(actual[name], value);
    if (!inner) return ::testing::AssertionFailure() << name << ": " << inner.message();
  }
  return ::testing::AssertionSuccess();
}

}  // namespace ornav::session_testing
