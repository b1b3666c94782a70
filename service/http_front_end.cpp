#include "http_front_end.h"

#include <httplib.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "service_log.h"

namespace ornav::service {
namespace {

void send(const ServiceResponse& answer, httplib::Response& response) {
  response.status = answer.status;
  for (const auto& [name, value] : answer.headers)
    response.set_header(name, value);
  response.set_content(answer.body, answer.contentType);
}

// A refusal before or instead of reading a body: what is left of the body on the connection
// cannot be told from the next request, so the connection ends.
void sendAndClose(const ServiceResponse& answer, httplib::Response& response) {
  send(answer, response);
  response.set_header("Connection", "close");
}

ServiceResponse plainRefusal(int status, const std::string& error) {
  ServiceResponse response;
  response.status = status;
  response.body = R"({"ok":false,"error":")" + error + "\"}";
  return response;
}

std::string lastForwardedAddress(const std::string& header) {
  const auto comma = header.rfind(',');
  std::string address = comma == std::string::npos ? header : header.substr(comma + 1);
  const auto first = address.find_first_not_of(' ');
  const auto last = address.find_last_not_of(' ');
  return first == std::string::npos ? std::string() : address.substr(first, last - first + 1);
}

}  // namespace

struct HttpFrontEnd::Impl {
  std::unique_ptr<httplib::Server> server;
  // A stop may come (from a signal) before the server's loop has started; it must not be lost.
  std::atomic<bool> runStarted{false}, runEnded{false}, stopRequested{false};
};

HttpFrontEnd::HttpFrontEnd(ServiceHandlers& handlers, FrontEndOptions options)
    : impl_(std::make_unique<Impl>()), options_(std::move(options)) {
  if (options_.tls) {
    impl_->server = std::make_unique<httplib::SSLServer>(options_.tls->certificate.c_str(),
                                                         options_.tls->key.c_str());
  } else {
    impl_->server = std::make_unique<httplib::Server>();
  }
  httplib::Server& server = *impl_->server;
  if (!server.is_valid()) throw std::runtime_error("cannot load the TLS certificate or key");

  const int threads = options_.threads > 0 ? options_.threads : 1;
  server.new_task_queue = [threads] { return new httplib::ThreadPool(threads); };
  server.set_read_timeout(options_.readTimeoutSeconds, 0);
  server.set_write_timeout(options_.readTimeoutSeconds, 0);
  server.set_keep_alive_timeout(5);
  // The library refuses larger announced bodies before any handler; each route's own cap is
  // checked below, and again while its body is read.
  server.set_payload_max_length(handlers.largestBody());

  server.set_pre_routing_handler(
      [&handlers](const httplib::Request& request, httplib::Response& response) {
        auto admitted = handlers.admit(request.method, request.path);
        if (auto* refused = std::get_if<ServiceResponse>(&admitted)) {
          sendAndClose(*refused, response);
          return httplib::Server::HandlerResponse::Handled;
        }
        const std::size_t limit = std::get<std::size_t>(admitted);
        const std::uint64_t announced = request.get_header_value<std::uint64_t>("Content-Length");
        // A route without a body takes none: the library would read a chunked one without bound.
        if (announced > limit || (limit == 0 && request.has_header("Transfer-Encoding"))) {
          sendAndClose(plainRefusal(413, "the body is too large"), response);
          return httplib::Server::HandlerResponse::Handled;
        }
        return httplib::Server::HandlerResponse::Unhandled;
      });

  const bool trustForwardedFor = options_.trustForwardedFor;
  auto toRequest = [trustForwardedFor](const httplib::Request& request) {
    ServiceRequest out;
    out.method = request.method;
    out.path = request.path;
    for (const auto& [name, value] : request.params)
      out.query.emplace(name, value);
    out.address = request.remote_addr;
    if (trustForwardedFor && request.has_header("X-Forwarded-For")) {
      out.address = lastForwardedAddress(request.get_header_value("X-Forwarded-For"));
    }
    return out;
  };

  auto answerGet = [&handlers, toRequest](const httplib::Request& request,
                                          httplib::Response& response) {
    send(handlers.handle(toRequest(request)), response);
  };
  // Bodies are read here, piece by piece, so that one that grows past the route's cap (sent in
  // chunks, or compressed) is cut off instead of filling memory.
  auto answerPost = [&handlers, toRequest](const httplib::Request& request,
                                           httplib::Response& response,
                                           const httplib::ContentReader& reader) {
    auto admitted = handlers.admit(request.method, request.path);
    const std::size_t limit =
        std::get_if<std::size_t>(&admitted) ? std::get<std::size_t>(admitted) : 0;
    ServiceRequest service = toRequest(request);
    bool tooLarge = false;
    const bool complete = reader([&](const char* data, std::size_t length) {
      if (service.body.size() + length > limit) {
        tooLarge = true;
        return false;
      }
      service.body.append(data, length);
      return true;
    });
    if (tooLarge) return sendAndClose(plainRefusal(413, "the body is too large"), response);
    if (!complete) return sendAndClose(plainRefusal(400, "the body did not arrive"), response);
    send(handlers.handle(service), response);
  };
  for (const char* path :
       {"/api/ornav-ime/latest", "/api/ornav-ime/dict", "/api/ornav-ime/about", "/", "/healthz"}) {
    server.Get(path, answerGet);
  }
  for (const char* path :
       {"/api/ornav-ime/user-dict", "/api/ornav-ime/feedback", "/api/ornav-ime/crash"}) {
    server.Post(path, answerPost);
  }
  if (options_.accessLog) {
    server.set_logger([](const httplib::Request& request, const httplib::Response& response) {
      logLine(request.method + " " + request.path + " " + std::to_string(response.status));
    });
  }
  server.set_exception_handler(
      [](const httplib::Request& request, httplib::Response& response, std::exception_ptr error) {
        std::string what = "unknown error";
        try {
          std::rethrow_exception(error);
        } catch (const std::exception& e) {
          what = e.what();
        } catch (...) {
        }
        logLine(request.method + " " + request.path + ": 500: " + what);
        send(plainRefusal(500, "internal error"), response);
      });

  port_ = options_.port == 0
              ? server.bind_to_any_port(options_.host)
              : (server.bind_to_port(options_.host, options_.port) ? options_.port : -1);
  if (port_ <= 0) {
    throw std::runtime_error("cannot listen on " + options_.host + ":" +
                             std::to_string(options_.port));
  }
}

HttpFrontEnd::~HttpFrontEnd() {
  stop();
}

std::string HttpFrontEnd::baseURL() const {
  const bool ipv6 = options_.host.find(':') != std::string::npos;
  const std::string host = ipv6 ? "[" + options_.host + "]" : options_.host;
  return std::string(options_.tls ? "https" : "http") + "://" + host + ":" + std::to_string(port_) +
         "/";
}

void HttpFrontEnd::run() {
  impl_->runStarted = true;
  if (!impl_->stopRequested) impl_->server->listen_after_bind();
  impl_->runEnded = true;
}

void HttpFrontEnd::stop() {
  impl_->stopRequested = true;
  if (!impl_->runStarted) return;
  while (!impl_->server->is_running() && !impl_->runEnded)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  impl_->server->stop();
}

}  // namespace ornav::service
