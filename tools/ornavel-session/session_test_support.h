// Running a session in-process over a small real dictionary, and checking its output lines.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "core/controller_test_support.h"
#include "session.h"

namespace ornav::session_testing {

// A dictionary of Latin-letter words (so the scenarios read plainly), typed through an identity
// key map: 12 words after "t", 3 after "s", 30 after "m", 7 after "k" (the last one 12 letters
// long); "sun" is followed by day, set, rise.
class ScenarioDictionary {
 public:
  ScenarioDictionary();
  ~ScenarioDictionary();
  const std::string& dictDir() const { return dictDir_; }
  const std::string& userDir() const { return userDir_; }

 private:
  std::string root_;
  std::string dictDir_;
  std::string userDir_;
};

// An application for in-process sessions: no folders, no logs, no web service; its controllers
// read from `dirs` and run on `queue`.
std::unique_ptr<Application> makeSessionApplication(MainQueue& queue, EngineDirectories dirs);

// One session over the scenario dictionary (or a missing one: direct insertion).
class ScenarioSession {
 public:
  explicit ScenarioSession(bool withDictionary = true,
                           std::vector<Screen> screens = session::defaultSessionScreens());
  // The output of one input line, parsed.
  nlohmann::json send(const std::string& line);
  // Sends every line; the output of the last.
  nlohmann::json sendAll(const std::vector<std::string>& lines);
  session::Session& session() { return *session_; }

 private:
  ScenarioDictionary dictionary_;
  testing::ManualMainQueue mainQueue_;
  controller_testing::FakeServices services_;
  std::unique_ptr<Application> app_;
  std::unique_ptr<session::Session> session_;
};

std::string key(int keyCode, const std::string& characters, std::uint64_t flags = 0);
std::string keyWithoutCharacters(int keyCode, std::uint64_t flags = 0);
std::vector<std::string> typing(const std::string& letters);
std::string click(int index);
std::string caret(double x, double y, double width, double height);
inline const std::string kActivate = R"({"event":"activate"})";
inline const std::string kDeactivate = R"({"event":"deactivate"})";

// Each member of `expected` must be present in `actual` with an equal value; objects compare
// member by member, everything else as a whole.
::testing::AssertionResult matches(const nlohmann::json& actual, const nlohmann::json& expected);

}  // namespace ornav::session_testing
