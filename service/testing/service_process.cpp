#include "service_process.h"

#include <arpa/inet.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

extern char** environ;

namespace ornav::service::testing {
namespace {

// Starts `words`, its standard output on `output`.
pid_t spawn(std::vector<std::string> words, int& output) {
  int ends[2];
  if (::pipe(ends) != 0) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, ends[0]);
  std::vector<char*> argv;
  for (std::string& word : words)
    argv.push_back(word.data());
  argv.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  ::close(ends[1]);
  output = ends[0];
  return pid;
}

// What `fd` gives until it holds `until` or ends (20 s at most); closes it.
std::string readAll(int fd, const std::string& until = "") {
  std::string text;
  char buffer[4096];
  const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while ((until.empty() || text.find(until) == std::string::npos) &&
         std::chrono::steady_clock::now() < limit) {
    pollfd ready{fd, POLLIN, 0};
    if (::poll(&ready, 1, 200) <= 0) continue;
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n <= 0) break;
    text.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return text;
}

}  // namespace

ServiceProcess::ServiceProcess(const std::string& database, const std::vector<std::string>& extra,
                               const std::vector<std::string>& prefix) {
  std::vector<std::string> words = prefix;
  words.insert(words.end(),
               {ORNAV_SERVICE_PROGRAM, "serve", "--database", database, "--listen", "127.0.0.1:0"});
  words.insert(words.end(), extra.begin(), extra.end());
  int output = -1;
  pid_ = spawn(words, output);
  // "ornavel-service: listening on http://127.0.0.1:PORT/"
  const std::string said = readAll(output, "/\n");
  if (const auto colon = said.rfind(':');
      colon != std::string::npos && said.find("listening") != std::string::npos) {
    port_ = std::atoi(said.c_str() + colon + 1);
  }
}

bool ServiceProcess::alive() const {
  return pid_ > 0 && ::waitpid(pid_, nullptr, WNOHANG) == 0;
}

void ServiceProcess::end(int signal) {
  if (pid_ <= 0) return;
  ::kill(pid_, signal);
  ::waitpid(pid_, nullptr, 0);
  pid_ = -1;
}

std::pair<int, std::string> runAdmin(const std::string& database,
                                     const std::vector<std::string>& args) {
  std::vector<std::string> words = {ORNAV_SERVICE_PROGRAM, "admin", "--database", database};
  words.insert(words.end(), args.begin(), args.end());
  int output = -1;
  const pid_t pid = spawn(words, output);
  const std::string text = readAll(output);
  int status = 0;
  ::waitpid(pid, &status, 0);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, text};
}

int rawExchange(int port, const std::vector<std::string>& pieces, int pauseMs) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<uint16_t>(port));
  if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    ::close(fd);
    return 0;
  }
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    if (i > 0) std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
    ::send(fd, pieces[i].data(), pieces[i].size(), MSG_NOSIGNAL);
  }
  const std::string answer = readAll(fd, "\r\n");  // "HTTP/1.1 400 Bad Request"
  return answer.size() > 12 ? std::atoi(answer.c_str() + 9) : 0;
}

}  // namespace ornav::service::testing
