// A fixed number of database connections shared by the request threads: a request borrows one for
// its work and gives it back, so no two threads ever use one connection at the same time.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "sql_connection.h"

namespace ornav::service {

class ConnectionPool {
 public:
  using Opener = std::function<std::unique_ptr<SqlConnection>()>;

  // At most `size` connections, opened when first needed.
  ConnectionPool(Opener opener, std::size_t size);

  class Lease {
   public:
    Lease(ConnectionPool& pool, std::unique_ptr<SqlConnection> connection)
        : pool_(&pool), connection_(std::move(connection)) {}
    Lease(Lease&& other) = default;
    ~Lease();
    SqlConnection& operator*() const { return *connection_; }
    SqlConnection* operator->() const { return connection_.get(); }

   private:
    ConnectionPool* pool_;
    std::unique_ptr<SqlConnection> connection_;
  };

  // A connection for the caller alone until the lease ends. Waits while all are lent out;
  // throws StorageError when a new one cannot be opened or none is free for long.
  Lease acquire();

 private:
  void giveBack(std::unique_ptr<SqlConnection> connection);

  Opener opener_;
  std::size_t size_;
  std::mutex mutex_;
  std::condition_variable returned_;
  std::vector<std::unique_ptr<SqlConnection>> idle_;
  std::size_t open_ = 0;
};

}  // namespace ornav::service
