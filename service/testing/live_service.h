// The service inside the test's own process: storage over a database URL, the handlers and the
// HTTP front end on a free loopback port, serving from a thread of its own until destroyed.
#pragma once

#include <memory>
#include <string>
#include <thread>

#include "http_front_end.h"
#include "service_handlers.h"
#include "storage.h"

namespace ornav::service::testing {

struct LiveService {
  explicit LiveService(const std::string& database, ServiceLimits limits = {},
                       FrontEndOptions options = {})
      : storage(Storage::open(database, 4)),
        handlers(*storage, limits),
        frontEnd(handlers, options),
        thread([this] { frontEnd.run(); }) {}
  ~LiveService() {
    frontEnd.stop();
    thread.join();
  }

  std::unique_ptr<Storage> storage;
  ServiceHandlers handlers;
  HttpFrontEnd frontEnd;
  std::thread thread;
};

}  // namespace ornav::service::testing
