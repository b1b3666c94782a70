// What a keystroke costs above the engine: a paragraph of Uyghur typed into one real controller
// over the shipped dictionary and key map, with the application's real log and crash notes (files
// in a scratch folder). Every key event is timed on its own (thread CPU time and wall time) from
// the key press to the panel's new content; the figures are printed as p50 / p99 / worst.
//
//   controller_bench [PARAGRAPH.txt] [ROUNDS]
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "base/files.h"
#include "base/temporary_folder.h"
#include "core/application.h"
#include "core/controller_test_support.h"
#include "platform/linux/linux_platform.h"
#include "session.h"
#include "session_protocol.h"
#include "session_test_support.h"
#include "testing/manual_main_queue.h"
#include "uyghur_typist.h"

namespace {

using namespace ornav;

double threadCpuMicroseconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return now.tv_sec * 1e6 + now.tv_nsec / 1e3;
}

void print(const char* what, std::vector<double> values) {
  if (values.empty()) return;
  std::sort(values.begin(), values.end());
  const auto at = [&](double q) {
    return values[std::min(values.size() - 1, static_cast<std::size_t>(q * values.size()))];
  };
  std::printf("%-28s p50 %8.1f us   p99 %8.1f us   worst %8.1f us   (%zu keys)\n", what, at(0.5),
              at(0.99), values.back(), values.size());
}

// The key events that cost most at the median over the rounds, each with the characters typed up
// to it: a slow event in every round is the work, not the machine.
void printSlowest(const std::vector<std::string>& lines,
                  std::vector<std::vector<double>> cpuByEvent, std::size_t count) {
  const auto typed = [&](std::size_t event) {
    const auto parsed = session::parseEventLine(lines[event]);
    const auto* key = parsed.event ? std::get_if<KeyEvent>(&*parsed.event) : nullptr;
    return key && key->characters ? *key->characters : std::string("?");
  };
  std::vector<std::pair<double, std::size_t>> medians;
  for (std::size_t event = 0; event < cpuByEvent.size(); ++event) {
    auto& values = cpuByEvent[event];
    if (values.empty()) continue;
    std::sort(values.begin(), values.end());
    medians.emplace_back(values[values.size() / 2], event);
  }
  std::sort(medians.rbegin(), medians.rend());
  std::printf("slowest key events (CPU, median over the rounds):\n");
  for (std::size_t k = 0; k < std::min(count, medians.size()); ++k) {
    const std::size_t event = medians[k].second;
    std::string before;
    for (std::size_t e = event >= 8 ? event - 8 : 0; e < event; ++e)
      before += typed(e);
    std::printf("  %8.1f us  event %3zu: '%s' after '%s'\n", medians[k].first, event,
                typed(event).c_str(), before.c_str());
  }
}

// The key events a user types the paragraph with (picking each word as soon as the first row shows
// it), found by typing it once.
std::vector<std::string> keyLinesFor(const std::string& keymap, const std::string& paragraph) {
  const auto tables = dict::parseKeyMapJson(keymap, nullptr);
  if (!tables) return {};
  const TemporaryFolder user("ornav-controller-bench-typist");
  ornav::testing::ManualMainQueue queue;
  controller_testing::FakeServices services;
  services.onlineDict = false;
  services.consent = false;
  auto app = session_testing::makeSessionApplication(
      queue, {ORNAV_SHIPPED_DICT_DIR, user.path().string()});
  app->keyMap() = KeyMap(*parseKeyMap(keymap));
  session::Session session(
      {.app = app.get(), .services = &services, .drainMainQueue = [&queue] { queue.drain(); }});
  session_testing::UyghurTypist typist(*tables);
  return typist.type(session, paragraph).value_or(std::vector<std::string>{});
}

}  // namespace

int main(int argc, char** argv) {
  const std::string paragraphFile =
      argc > 1 ? argv[1] : ORNAV_SOURCE_DIR "/tools/ornavel-session/testdata/paragraph.txt";
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 20;
  const auto paragraph = readWholeFile(paragraphFile);
  const auto keymap = readWholeFile(ORNAV_SHIPPED_KEYMAP);
  if (!paragraph || !keymap) {
    std::fprintf(stderr, "controller_bench: cannot read the paragraph or the key map\n");
    return 1;
  }
  const auto lines = keyLinesFor(*keymap, *paragraph);
  if (lines.empty()) {
    std::fprintf(stderr, "controller_bench: the paragraph cannot be typed with the key map\n");
    return 1;
  }

  // Letters (the composition grows) and commits (a pick or Return: the user file is saved).
  std::vector<double> cpu, wall, letterCpu, commitCpu;
  std::vector<std::vector<double>> cpuByEvent(lines.size());
  for (int round = 0; round < rounds; ++round) {
    // A fresh user folder and scratch files each round, as at a new start of the application.
    const TemporaryFolder scratch("ornav-controller-bench");
    ::setenv("XDG_DATA_HOME", (scratch / "data").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (scratch / "config").c_str(), 1);
    linux_platform::LinuxPlatform platform;
    ornav::testing::ManualMainQueue queue;
    Platform ports = platform.ports();
    ports.mainQueue = &queue;
    ApplicationOptions options;
    options.logFiles = Logger::Files{"", (scratch / "ornav_ime.log").string()};
    options.engineDirectories =
        EngineDirectories{ORNAV_SHIPPED_DICT_DIR, (scratch / "user").string()};
    options.serviceBaseURL = "";
    std::filesystem::create_directories(scratch / "user");
    Application app(ports, options);
    app.keyMap() = KeyMap(*parseKeyMap(*keymap));
    NoControllerServices services;
    session::Session session(
        {.app = &app, .services = &services, .drainMainQueue = [&queue] { queue.drain(); }});
    for (const std::string& line : lines) {
      const auto parsed = session::parseEventLine(line);
      if (!parsed.event) continue;
      const bool isKey = std::holds_alternative<KeyEvent>(*parsed.event);
      const double cpuStart = threadCpuMicroseconds();
      const auto wallStart = std::chrono::steady_clock::now();
      const std::size_t before = session.client().document().size();
      session.apply(*parsed.event);
      if (!isKey) continue;
      const double used = threadCpuMicroseconds() - cpuStart;
      cpuByEvent[static_cast<std::size_t>(&line - lines.data())].push_back(used);
      cpu.push_back(used);
      (session.client().document().size() > before ? commitCpu : letterCpu).push_back(used);
      wall.push_back(
          std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - wallStart)
              .count());
    }
  }
  std::printf("key press to panel content, %d rounds of %zu events\n", rounds, lines.size());
  print("CPU (this thread)", cpu);
  print("wall", wall);
  print("CPU, letters", letterCpu);
  print("CPU, commits (saving)", commitCpu);
  printSlowest(lines, cpuByEvent, 8);
  return 0;
}
