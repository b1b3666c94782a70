#include "scratch_postgres.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "base/temporary_folder.h"
#include "postgres_connection.h"

namespace ornav::service::testing {
namespace {

bool syncCommits = false;

struct Server {
  TemporaryFolder folder{"ornav-postgres"};
  std::string command;  // "[setpriv ... ]/usr/lib/postgresql/N/bin/", empty when not installed
  bool running = false;
  int databases = 0;

  bool run(const std::string& line) const {
    return std::system((command + line + " >>" + (folder / "log").string() + " 2>&1").c_str()) == 0;
  }
  ~Server() {
    if (running) run("pg_ctl -D " + (folder / "data").string() + " -m immediate stop");
  }
};

Server* start() {
  static Server server;
  std::error_code none;
  for (const auto& version : std::filesystem::directory_iterator("/usr/lib/postgresql", none))
    if (std::filesystem::exists(version.path() / "bin/pg_ctl"))
      server.command = (version.path() / "bin/").string();
  if (server.command.empty()) {
    std::cerr << "PostgreSQL is not installed (no /usr/lib/postgresql/*/bin/pg_ctl)\n";
    return nullptr;
  }
  // PostgreSQL refuses to run as root.
  if (::geteuid() == 0) {
    const passwd* user = ::getpwnam("postgres") ? ::getpwnam("postgres") : ::getpwnam("nobody");
    if (!user || ::chown(server.folder.path().c_str(), user->pw_uid, user->pw_gid) != 0)
      return nullptr;
    server.command = "setpriv --reuid=" + std::to_string(user->pw_uid) +
                     " --regid=" + std::to_string(user->pw_gid) + " --clear-groups " +
                     server.command;
  }
  const std::string data = (server.folder / "data").string();
  const std::string fsync = syncCommits ? "" : " -F";
  if (!server.run("initdb -D " + data + " -U ornav --auth=trust -E UTF8 --no-locale --no-sync") ||
      !server.run("pg_ctl -D " + data + " -w -o \"-k " + server.folder.path().string() +
                  " -c listen_addresses=" + fsync + "\" start")) {
    std::cerr << "PostgreSQL did not start; see " << (server.folder / "log") << "\n";
    return nullptr;
  }
  server.running = true;
  return &server;
}

Server* shared() {
  static Server* server = start();
  return server;
}

}  // namespace

std::optional<std::string> scratchPostgresURL(const std::string& database) {
  if (shared() == nullptr) return std::nullopt;
  return "postgresql://ornav@/" + database + "?host=" + shared()->folder.path().string();
}

void scratchPostgresSyncsCommits() {
  syncCommits = true;
}

std::string freshPostgresDatabase() {
  const std::string name = "test" + std::to_string(++shared()->databases);
  PostgresConnection(*scratchPostgresURL()).script("CREATE DATABASE " + name);
  return *scratchPostgresURL(name);
}

}  // namespace ornav::service::testing
