// A real HTTP server on a loopback port for tests of the HTTP implementation and of the service
// client: handlers by method and path, a record of every request, handlers that never answer (for
// time-outs), and bodies sent with or without a length. Nothing leaves 127.0.0.1.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "ports/http_session.h"

namespace ornav::testing {

struct RecordedRequest {
  std::string method;
  std::string path;                          // without the query
  std::string target;                        // path and query as sent
  std::map<std::string, std::string> query;  // decoded query parameters
  HttpHeaders headers;
  std::string body;

  // The first header of that name, ignoring case.
  std::optional<std::string> header(const std::string& name) const {
    return HttpResponse{0, headers, ""}.header(name);
  }
};

struct ServerReply {
  int status = 200;
  HttpHeaders headers;
  std::string body;
  // Send the body in chunks without a Content-Length (chunked transfer encoding).
  bool withoutLength = false;
  std::size_t chunkSize = 4096;
  std::chrono::milliseconds chunkDelay{0};  // pause before each chunk

  static ServerReply json(std::string body, int status = 200) {
    ServerReply reply;
    reply.status = status;
    reply.headers = {{"Content-Type", "application/json"}};
    reply.body = std::move(body);
    return reply;
  }
};

// A certificate and its private key (PEM files) for a server that speaks https.
struct TlsIdentity {
  std::string certificateFile;
  std::string keyFile;
};

class LocalHttpServer {
 public:
  using Handler = std::function<ServerReply(const RecordedRequest&)>;

  // Starts listening on 127.0.0.1 at a free port; over TLS when `tls` is given.
  explicit LocalHttpServer(std::optional<TlsIdentity> tls = std::nullopt);
  // Releases hanging handlers and stops; waits for the server's threads.
  ~LocalHttpServer();
  LocalHttpServer(const LocalHttpServer&) = delete;
  LocalHttpServer& operator=(const LocalHttpServer&) = delete;

  int port() const { return port_; }
  // "http://127.0.0.1:<port>" (https with TLS) followed by `pathAndQuery` (which starts with
  // "/").
  std::string url(const std::string& pathAndQuery = "/") const;

  // Answers `method` requests for exactly `path` (query ignored). Unregistered ones get 404.
  void handle(const std::string& method, const std::string& path, Handler handler);
  // The same reply every time.
  void reply(const std::string& method, const std::string& path, ServerReply reply);
  // Requests for `path` are accepted and then never answered (until the server stops).
  void hang(const std::string& method, const std::string& path);

  std::vector<RecordedRequest> requests() const;
  // Waits until at least `count` requests arrived; false on time-out.
  bool waitForRequests(std::size_t count, std::chrono::milliseconds timeout) const;

  void stop();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  int port_ = 0;
  bool tls_ = false;
};

// A self-signed certificate for 127.0.0.1 made with the openssl program in `folder`; absent when
// the program is not there.
std::optional<TlsIdentity> makeLoopbackTlsIdentity(const std::string& folder);

// A loopback port on which nothing listens (bound, then closed again).
int unusedLoopbackPort();

}  // namespace ornav::testing
