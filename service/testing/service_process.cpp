#include "service_process.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

extern char** environ;

namespace ornav::service::testing {
namespace {

// Starts the program with `words`, its standard output on the returned descriptor.
pid_t spawn(const std::vector<std::string>& words, int& output) {
  int pipeEnds[2];
  if (::pipe(pipeEnds) != 0) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
  std::vector<char*> argv;
  for (const std::string& word : words)
    argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipeEnds[1]);
  output = pipeEnds[0];
  return pid;
}

// Everything the descriptor gives until `done` holds or it ends (20 s at most).
template <typename Done>
std::string readUntil(int fd, Done done) {
  std::string text;
  char buffer[4096];
  const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!done(text) && std::chrono::steady_clock::now() < limit) {
    pollfd ready{fd, POLLIN, 0};
    if (::poll(&ready, 1, 200) <= 0) continue;
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n <= 0) break;
    text.append(buffer, static_cast<std::size_t>(n));
  }
  return text;
}

}  // namespace

ServiceProcess::ServiceProcess(const std::string& database, const std::vector<std::string>& extra,
                               const std::vector<std::string>& prefix) {
  std::vector<std::string> words = prefix;
  for (const char* word : {ORNAV_SERVICE_PROGRAM, "serve", "--database"})
    words.emplace_back(word);
  words.push_back(database);
  words.insert(words.end(), {"--listen", "127.0.0.1:0"});
  words.insert(words.end(), extra.begin(), extra.end());
  int output = -1;
  pid_ = spawn(words, output);
  const std::string said = readUntil(
      output, [](const std::string& text) { return text.find('\n') != std::string::npos; });
  ::close(output);
  const std::string marker = "listening on ";
  if (const auto at = said.find(marker); at != std::string::npos) {
    url_ = said.substr(at + marker.size(), said.find('\n', at) - at - marker.size());
    port_ = std::stoi(url_.substr(url_.rfind(':') + 1));
  }
}

ServiceProcess::~ServiceProcess() {
  if (pid_ > 0) end(SIGTERM);
}

bool ServiceProcess::alive() const {
  return pid_ > 0 && ::waitpid(pid_, nullptr, WNOHANG) == 0;
}

int ServiceProcess::end(int signal) {
  int status = 0;
  ::kill(pid_, signal);
  ::waitpid(pid_, &status, 0);
  pid_ = -1;
  return status;
}

std::pair<int, std::string> runAdmin(const std::string& database,
                                     const std::vector<std::string>& args) {
  std::vector<std::string> words = {ORNAV_SERVICE_PROGRAM, "admin", "--database", database};
  words.insert(words.end(), args.begin(), args.end());
  int output = -1;
  const pid_t pid = spawn(words, output);
  const std::string text = readUntil(output, [](const std::string&) { return false; });
  ::close(output);
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
    if (::send(fd, pieces[i].data(), pieces[i].size(), MSG_NOSIGNAL) < 0) break;
  }
  const std::string answer =
      readUntil(fd, [](const std::string& text) { return text.find("\r\n") != std::string::npos; });
  ::close(fd);
  // "HTTP/1.1 400 Bad Request"
  return answer.size() > 12 ? std::atoi(answer.c_str() + 9) : 0;
}

}  // namespace ornav::service::testing
