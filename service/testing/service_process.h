// The ornavel-service program run as a child of the test: `serve` on a free loopback port, and
// `admin` commands.
#pragma once

#include <signal.h>
#include <sys/types.h>

#include <string>
#include <utility>
#include <vector>

namespace ornav::service::testing {

class ServiceProcess {
 public:
  // Runs `prefix... ornavel-service serve --database URL --listen 127.0.0.1:0 extra...` and waits
  // until it says where it listens (port() is 0 when it ended first).
  ServiceProcess(const std::string& database, const std::vector<std::string>& extra = {},
                 const std::vector<std::string>& prefix = {});
  ~ServiceProcess() { end(SIGTERM); }

  int port() const { return port_; }
  bool alive() const;
  // Sends `signal` and waits for the end.
  void end(int signal);

 private:
  pid_t pid_ = -1;
  int port_ = 0;
};

// `ornavel-service admin --database URL args...`: the exit status and standard output.
std::pair<int, std::string> runAdmin(const std::string& database,
                                     const std::vector<std::string>& args);

// Sends `pieces` on a new loopback connection to `port`, pausing `pauseMs` between them, and
// returns the status of the answer (0 when none came).
int rawExchange(int port, const std::vector<std::string>& pieces, int pauseMs = 0);

}  // namespace ornav::service::testing
