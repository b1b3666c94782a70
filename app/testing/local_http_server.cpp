#include "testing/local_http_server.h"

#include <arpa/inet.h>
#include <httplib.h>
#include <netinet/in.h>
#include <strings.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <stdexcept>

namespace ornav::testing {

struct LocalHttpServer::Impl {
  explicit Impl(const std::optional<TlsIdentity>& tls)
      : owned(tls ? std::make_unique<httplib::SSLServer>(tls->certificateFile.c_str(),
                                                         tls->keyFile.c_str())
                  : std::make_unique<httplib::Server>()),
        server(*owned) {}
  std::unique_ptr<httplib::Server> owned;
  httplib::Server& server;
  std::thread thread;
  mutable std::mutex mutex;
  mutable std::condition_variable changed;
  std::map<std::pair<std::string, std::string>, Handler> handlers;
  std::map<std::pair<std::string, std::string>, bool> hanging;
  std::vector<RecordedRequest> requests;
  bool stopping = false;

  void dispatch(const httplib::Request& request, httplib::Response& response) {
    RecordedRequest recorded;
    recorded.method = request.method;
    recorded.path = request.path;
    recorded.target = request.target;
    for (const auto& [name, value] : request.params)
      recorded.query[name] = value;
    for (const auto& [name, value] : request.headers) {
      // The server library adds these itself; they were not sent by the client.
      if (name == "REMOTE_ADDR" || name == "REMOTE_PORT" || name == "LOCAL_ADDR" ||
          name == "LOCAL_PORT") {
        continue;
      }
      recorded.headers.emplace_back(name, value);
    }
    recorded.body = request.body;

    Handler handler;
    bool hangs = false;
    {
      std::lock_guard lock(mutex);
      requests.push_back(recorded);
      auto key = std::make_pair(request.method, request.path);
      hangs = hanging.count(key) > 0;
      if (auto found = handlers.find(key); found != handlers.end()) handler = found->second;
    }
    changed.notify_all();

    if (hangs) {
      std::unique_lock lock(mutex);
      changed.wait(lock, [this] { return stopping; });
      response.status = 503;
      return;
    }
    if (!handler) {
      response.status = 404;
      response.set_content("no handler", "text/plain");
      return;
    }
    ServerReply reply = handler(recorded);
    response.status = reply.status;
    std::string contentType = "application/octet-stream";
    for (const auto& [name, value] : reply.headers) {
      if (::strcasecmp(name.c_str(), "Content-Type") == 0) {
        contentType = value;
      } else {
        response.set_header(name, value);
      }
    }
    if (!reply.withoutLength) {
      response.set_content(reply.body, contentType);
      return;
    }
    auto body = std::make_shared<std::string>(std::move(reply.body));
    auto offset = std::make_shared<std::size_t>(0);
    response.set_chunked_content_provider(
        contentType, [body, offset, reply](std::size_t, httplib::DataSink& sink) {
          if (*offset >= body->size()) {
            sink.done();
            return true;
          }
          if (reply.chunkDelay.count() > 0) std::this_thread::sleep_for(reply.chunkDelay);
          std::size_t size = std::min(reply.chunkSize, body->size() - *offset);
          if (!sink.write(body->data() + *offset, size)) return false;
          *offset += size;
          return true;
        });
  }
};

namespace {
// A proxy configured in the environment must not see loopback requests: tests talk to this
// server directly, and nothing is to leave the machine.
void bypassProxiesForLoopback() {
  for (const char* name : {"no_proxy", "NO_PROXY"}) {
    const char* current = std::getenv(name);
    std::string value = current ? current : "";
    if (value.find("127.0.0.1") != std::string::npos) continue;
    value = value.empty() ? "127.0.0.1,localhost" : value + ",127.0.0.1,localhost";
    ::setenv(name, value.c_str(), 1);
  }
}
}  // namespace

LocalHttpServer::LocalHttpServer(std::optional<TlsIdentity> tls)
    : impl_(std::make_unique<Impl>(tls)), tls_(tls.has_value()) {
  if (!impl_->server.is_valid()) throw std::runtime_error("cannot set up the server's TLS");
  bypassProxiesForLoopback();
  auto dispatch = [this](const httplib::Request& request, httplib::Response& response) {
    impl_->dispatch(request, response);
  };
  impl_->server.Get(".*", dispatch);
  impl_->server.Post(".*", dispatch);
  impl_->server.Put(".*", dispatch);
  impl_->server.Delete(".*", dispatch);
  impl_->server.Patch(".*", dispatch);
  impl_->server.Options(".*", dispatch);
  impl_->server.set_keep_alive_max_count(1);
  // Poll instead of blocking in accept(), so stop() always ends the listen loop within a tick even
  // when no request ever arrives.
  impl_->server.set_idle_interval(std::chrono::milliseconds(50));
  port_ = impl_->server.bind_to_any_port("127.0.0.1");
  if (port_ <= 0) throw std::runtime_error("cannot bind a loopback port");
  impl_->thread = std::thread([this] { impl_->server.listen_after_bind(); });
  // stop() only works once the accept loop runs; the socket already listens, so nothing is lost.
  while (!impl_->server.is_running())
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

LocalHttpServer::~LocalHttpServer() {
  stop();
}

std::string LocalHttpServer::url(const std::string& pathAndQuery) const {
  return std::string(tls_ ? "https" : "http") + "://127.0.0.1:" + std::to_string(port_) +
         pathAndQuery;
}

void LocalHttpServer::handle(const std::string& method, const std::string& path, Handler handler) {
  std::lock_guard lock(impl_->mutex);
  impl_->handlers[{method, path}] = std::move(handler);
}

void LocalHttpServer::reply(const std::string& method, const std::string& path, ServerReply reply) {
  handle(method, path, [reply](const RecordedRequest&) { return reply; });
}

void LocalHttpServer::hang(const std::string& method, const std::string& path) {
  std::lock_guard lock(impl_->mutex);
  impl_->hanging[{method, path}] = true;
}

std::vector<RecordedRequest> LocalHttpServer::requests() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->requests;
}

bool LocalHttpServer::waitForRequests(std::size_t count, std::chrono::milliseconds timeout) const {
  std::unique_lock lock(impl_->mutex);
  return impl_->changed.wait_for(lock, timeout, [&] { return impl_->requests.size() >= count; });
}

void LocalHttpServer::stop() {
  if (!impl_->thread.joinable()) return;
  {
    std::lock_guard lock(impl_->mutex);
    impl_->stopping = true;
  }
  impl_->changed.notify_all();
  impl_->server.stop();
  impl_->thread.join();
}

int unusedLoopbackPort() {
  int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) return 9;  // the discard port; nothing listens there on a test machine
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  socklen_t length = sizeof address;
  int port = 9;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
    port = ntohs(address.sin_port);
  }
  ::close(fd);  // bound but never listening: connections are refused
  return port;
}

std::optional<TlsIdentity> makeLoopbackTlsIdentity(const std::string& folder) {
  TlsIdentity identity{folder + "/loopback-cert.pem", folder + "/loopback-key.pem"};
  const std::string command =
      "openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=127.0.0.1"
      " -addext subjectAltName=IP:127.0.0.1 -keyout '" +
      identity.keyFile + "' -out '" + identity.certificateFile + "' >/dev/null 2>&1";
  if (std::system(command.c_str()) != 0) return std::nullopt;
  return identity;
}

}  // namespace ornav::testing
