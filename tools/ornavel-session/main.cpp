// ornavel-session: drives one real input controller from JSON events on standard input and
// answers each with the client's and the panel's state on standard output. Logs go to standard
// error. See session_protocol.h for the protocol.
//
//   ornavel-session --dict DICTDIR --user USERDIR --keymap KEYMAP.json [--screens SCREENS.json]
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>

#include "base/files.h"
#include "base/temporary_folder.h"
#include "core/application.h"
#include "core/update_service_bridge.h"
#include "platform/linux/linux_platform.h"
#include "services/update_service_operations.h"
#include "session.h"
#include "session_bundle.h"

namespace {

namespace fs = std::filesystem;
using namespace ornav;

struct Arguments {
  std::string dict;
  std::string user;
  std::string keymap;
  std::optional<std::string> screens;
};

constexpr const char* kUsage =
    "usage: ornavel-session --dict DICTDIR --user USERDIR --keymap KEYMAP.json "
    "[--screens SCREENS.json]\n";

// A screens file is a few lines; anything much larger is not one.
constexpr std::uintmax_t kScreensFileLimit = 1 << 20;

std::optional<Arguments> parseArguments(int argc, char** argv) {
  Arguments args;
  bool dict = false, user = false, keymap = false;
  for (int i = 1; i < argc; ++i) {
    const std::string flag = argv[i];
    if (i + 1 >= argc) return std::nullopt;
    const std::string value = argv[++i];
    if (flag == "--dict") {
      args.dict = value;
      dict = true;
    } else if (flag == "--user") {
      args.user = value;
      user = true;
    } else if (flag == "--keymap") {
      args.keymap = value;
      keymap = true;
    } else if (flag == "--screens") {
      args.screens = value;
    } else {
      return std::nullopt;
    }
  }
  if (!dict || !user || !keymap) return std::nullopt;
  return args;
}

// The displays of a --screens file, or the default one; absent (with a note on standard error)
// when the file cannot be read or is not a screens array.
std::optional<std::vector<Screen>> loadScreens(const Arguments& args) {
  if (!args.screens) return session::defaultSessionScreens();
  std::string why;
  const auto text = readWholeFile(*args.screens, &why, kScreensFileLimit);
  if (!text) {
    std::cerr << "ornavel-session: --screens " << *args.screens << ": " << why << "\n";
    return std::nullopt;
  }
  auto screens = session::parseScreensJson(*text, &why);
  if (!screens) {
    std::cerr << "ornavel-session: --screens " << *args.screens << ": " << why << "\n";
  }
  return screens;
}

int runSession(const Arguments& args, std::vector<Screen> screens, const fs::path& scratch) {
  session::SessionBundle bundle(args.keymap, scratch / "resources");
  linux_platform::LinuxPlatform platform(
      {.settingsFile = scratch / "config" / "settings.json", .bundle = &bundle});

  ApplicationOptions options;
  options.logFiles = Logger::Files{(scratch / "ornav_ime.log").string(),
                                   (scratch / "logs" / "ornav_ime.log").string()};
  options.engineDirectories = EngineDirectories{args.dict, args.user};
  // The web service only when one is named at run time (ORNAV_SERVICE_BASE_URL): the session's
  // settings are its own, so the environment is the only place that can name one.
  Application app(platform.ports(), options);
  app.loadKeyMap();

  // Without a service both online switches are off, as a user who switched them off: fetches and
  // uploads then answer "nothing to do" on the main queue, and nothing waits for a network.
  if (app.identity().serviceBaseURL.empty()) {
    UpdateServiceOperations::setOnlineDictEnabled(false);
    UpdateServiceOperations::setUploadConsent(false);
  }
  UpdateServiceBridge services;

  session::Session session({.app = &app,
                            .services = &services,
                            .drainMainQueue = [&platform] { platform.runLoop().runUntilIdle(); },
                            .screens = std::move(screens)});
  std::string line;
  while (std::getline(std::cin, line)) {
    std::string error;
    const auto answer = session.handleLine(line, &error);
    if (!error.empty()) std::cerr << "ornavel-session: ignored line: " << error << "\n";
    if (!answer) continue;
    std::fwrite(answer->data(), 1, answer->size(), stdout);
    std::fputc('\n', stdout);
    if (std::fflush(stdout) != 0) return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const auto args = parseArguments(argc, argv);
  if (!args) {
    std::cerr << kUsage;
    return 2;
  }
  auto screens = loadScreens(*args);
  if (!screens) return 2;

  // A private folder for everything the process would otherwise keep in the user's own folders
  // (settings, logs, crash notes); removed at the end.
  const TemporaryFolder scratch("ornavel-session");
  if (scratch.path().empty()) {
    std::cerr << "ornavel-session: cannot create a temporary folder\n";
    return 1;
  }
  // The session's own folders: nothing of the user's real settings or logs is read or written.
  ::setenv("XDG_DATA_HOME", (scratch.path() / "data").c_str(), 1);
  ::setenv("XDG_CONFIG_HOME", (scratch.path() / "config").c_str(), 1);
  ::setenv("XDG_CACHE_HOME", (scratch.path() / "cache").c_str(), 1);
  return runSession(*args, std::move(*screens), scratch.path());
}
