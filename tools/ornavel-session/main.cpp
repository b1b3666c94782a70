// ornavel-session: drives one real input controller from JSON events on standard input and
// answers each with the client's and the panel's state on standard output. Logs go to standard
// error. See session_protocol.h for the protocol.
//
//   ornavel-session --dict DICTDIR --user USERDIR --keymap KEYMAP.json
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>

#include "core/key_map.h"
#include "core/key_map_extras.h"
#include "diagnostics/logger.h"
#include "offline_services.h"
#include "platform/linux/file_settings.h"
#include "platform/linux/run_loop.h"
#include "platform/linux/system_services.h"
#include "ports/platform.h"
#include "session.h"
#include "session_bundle.h"

namespace {

namespace fs = std::filesystem;
using namespace ornav;

struct Arguments {
  std::string dict;
  std::string user;
  std::string keymap;
};

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
    } else {
      return std::nullopt;
    }
  }
  if (!dict || !user || !keymap) return std::nullopt;
  return args;
}

// A private folder for everything the process would otherwise keep in the user's own folders
// (settings, logs, crash notes); removed at the end.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::error_code error;
    std::string pattern = (fs::temp_directory_path(error) / "ornavel-session-XXXXXX").string();
    if (error) pattern = "/tmp/ornavel-session-XXXXXX";
    if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code ignored;
    if (!path_.empty()) fs::remove_all(path_, ignored);
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

}  // namespace

int main(int argc, char** argv) {
  const auto args = parseArguments(argc, argv);
  if (!args) {
    std::cerr << "usage: ornavel-session --dict DICTDIR --user USERDIR --keymap KEYMAP.json\n";
    return 2;
  }

  ScratchFolder scratch;
  if (scratch.path().empty()) {
    std::cerr << "ornavel-session: cannot create a temporary folder\n";
    return 1;
  }
  // The session's own folders: nothing of the user's real settings or logs is read or written.
  ::setenv("XDG_DATA_HOME", (scratch.path() / "data").c_str(), 1);
  ::setenv("XDG_CONFIG_HOME", (scratch.path() / "config").c_str(), 1);
  ::setenv("XDG_CACHE_HOME", (scratch.path() / "cache").c_str(), 1);

  linux_platform::StderrSystemLog systemLog;
  linux_platform::UserFolders folders;
  linux_platform::WallClock clock;
  linux_platform::ProcessSystemInfo systemInfo;
  linux_platform::RunLoop mainQueue;
  linux_platform::FileSettings settings(scratch.path() / "config" / "settings.json", &systemLog);
  session::SessionBundle bundle(args->keymap, scratch.path() / "resources");

  Platform ports;
  ports.settings = &settings;
  ports.mainQueue = &mainQueue;
  ports.clock = &clock;
  ports.bundle = &bundle;
  ports.folders = &folders;
  ports.systemLog = &systemLog;
  ports.systemInfo = &systemInfo;
  installPlatform(ports);
  Logger::configureForTesting((scratch.path() / "ornav_ime.log").string(),
                              (scratch.path() / "logs" / "ornav_ime.log").string());

  KeyMap::shared().load();
  session::OfflineServices services(settings, mainQueue);

  session::SessionSetup setup;
  setup.dictDir = args->dict;
  setup.userDir = args->user;
  setup.mapKey = [](const std::string& typed) { return KeyMap::shared().map(typed); };
  setup.keyMapExtras = KeyMapExtras::from(KeyMap::shared());
  setup.mainQueue = &mainQueue;
  setup.drainMainQueue = [&mainQueue] { mainQueue.runUntilIdle(); };
  setup.services = &services;
  setup.diagnostics.log = [](const std::string& message) { Logger::write(message); };

  int status = 0;
  {
    session::Session session(std::move(setup));
    std::string line;
    while (std::getline(std::cin, line)) {
      std::string error;
      const auto answer = session.handleLine(line, &error);
      if (!error.empty()) std::cerr << "ornavel-session: ignored line: " << error << "\n";
      if (!answer) continue;
      std::fwrite(answer->data(), 1, answer->size(), stdout);
      std::fputc('\n', stdout);
      if (std::fflush(stdout) != 0) {
        status = 1;
        break;
      }
    }
  }
  Logger::resetForTesting();
  return status;
}
