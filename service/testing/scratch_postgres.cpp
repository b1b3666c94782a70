#include "scratch_postgres.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>

#include "base/temporary_folder.h"
#include "postgres_connection.h"

namespace ornav::service::testing {
namespace {

namespace fs = std::filesystem;

bool syncCommits = false;

std::optional<fs::path> postgresBin() {
  std::error_code error;
  std::optional<fs::path> newest;
  for (const auto& entry : fs::directory_iterator("/usr/lib/postgresql", error)) {
    if (fs::exists(entry.path() / "bin" / "pg_ctl") && (!newest || entry.path() > *newest)) {
      newest = entry.path();
    }
  }
  if (newest) return *newest / "bin";
  return std::nullopt;
}

struct Server {
  TemporaryFolder folder{"ornav-postgres"};
  std::string asUser;  // a command prefix that drops root, empty when not root
  fs::path bin;
  bool running = false;
  int databases = 0;

  bool run(const std::string& command) const {
    return std::system((asUser + command + " >>" + (folder / "log").string() + " 2>&1").c_str()) ==
           0;
  }
  ~Server() {
    if (running)
      run((bin / "pg_ctl").string() + " -D " + (folder / "data").string() + " -m immediate stop");
  }
};

Server* start() {
  const auto bin = postgresBin();
  if (!bin) {
    std::cerr << "PostgreSQL is not installed (no /usr/lib/postgresql/*/bin/pg_ctl)\n";
    return nullptr;
  }
  static Server server;
  server.bin = *bin;
  if (::geteuid() == 0) {
    const passwd* user = ::getpwnam("postgres");
    if (user == nullptr) user = ::getpwnam("nobody");
    if (user == nullptr || ::chown(server.folder.path().c_str(), user->pw_uid, user->pw_gid) != 0)
      return nullptr;
    server.asUser = "setpriv --reuid=" + std::to_string(user->pw_uid) +
                    " --regid=" + std::to_string(user->pw_gid) + " --clear-groups ";
  }
  const std::string data = (server.folder / "data").string();
  if (!server.run((*bin / "initdb").string() + " -D " + data +
                  " -U ornav --auth=trust -E UTF8 --no-locale --no-sync") ||
      !server.run((*bin / "pg_ctl").string() + " -D " + data + " -w -o \"-k " +
                  server.folder.path().string() +
                  " -c listen_addresses=" + (syncCommits ? "" : " -F") + "\" start")) {
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
  Server* server = shared();
  if (server == nullptr) return std::nullopt;
  return "postgresql://ornav@/" + database + "?host=" + server->folder.path().string();
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
