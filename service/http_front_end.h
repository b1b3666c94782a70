// The service on the network: cpp-httplib's server with its thread pool, over TLS when given a
// certificate. It refuses what it can before reading a body (unknown paths and methods, bodies
// announced too large), reads bodies with a cap and a time-out, and hands each request to the
// handlers.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "service_handlers.h"

namespace ornav::service {

struct TlsFiles {
  std::string certificate;  // PEM, the chain from the server's certificate up
  std::string key;          // PEM
};

struct FrontEndOptions {
  std::string host = "127.0.0.1";
  int port = 0;  // 0: any free port (see port())
  std::optional<TlsFiles> tls = {};
  int threads = 8;
  // A client that sends nothing for this long (a body that trickles in, headers that promise a
  // body that never comes) gets 400 and loses its connection.
  int readTimeoutSeconds = 10;
  // Take the client's address from the last X-Forwarded-For entry, which a reverse proxy in
  // front of the service adds; only when every request comes through such a proxy.
  bool trustForwardedFor = false;
  // One line per request on the log: method, path and status; not the client's address, which
  // the service keeps nowhere.
  bool accessLog = false;
};

class HttpFrontEnd {
 public:
  // Binds the address; throws std::runtime_error when it cannot (or the TLS files do not load).
  HttpFrontEnd(ServiceHandlers& handlers, FrontEndOptions options);
  ~HttpFrontEnd();
  HttpFrontEnd(const HttpFrontEnd&) = delete;
  HttpFrontEnd& operator=(const HttpFrontEnd&) = delete;

  int port() const { return port_; }
  // "http://HOST:PORT/" or "https://...".
  std::string baseURL() const;

  // Serves until stop() is called (from any thread).
  void run();
  void stop();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  FrontEndOptions options_;
  int port_ = 0;
};

}  // namespace ornav::service
