#include "connection_pool.h"

#include <chrono>

namespace ornav::service {
namespace {

// Longer than any one request's work; a pool that stays empty this long means the database is
// stuck, and the request is better answered with 503 than left waiting.
constexpr std::chrono::seconds kWaitLimit{15};

}  // namespace

ConnectionPool::ConnectionPool(Opener opener, std::size_t size)
    : opener_(std::move(opener)), size_(size == 0 ? 1 : size) {}

ConnectionPool::Lease::~Lease() {
  if (connection_) pool_->giveBack(std::move(connection_));
}

ConnectionPool::Lease ConnectionPool::acquire() {
  std::unique_lock lock(mutex_);
  if (!returned_.wait_for(lock, kWaitLimit, [this] { return !idle_.empty() || open_ < size_; })) {
    throw StorageError("no database connection became free");
  }
  if (!idle_.empty()) {
    std::unique_ptr<SqlConnection> connection = std::move(idle_.back());
    idle_.pop_back();
    return Lease(*this, std::move(connection));
  }
  ++open_;
  lock.unlock();
  try {
    return Lease(*this, opener_());
  } catch (...) {
    lock.lock();
    --open_;
    returned_.notify_one();
    throw;
  }
}

void ConnectionPool::giveBack(std::unique_ptr<SqlConnection> connection) {
  std::lock_guard lock(mutex_);
  if (connection->usable()) {
    idle_.push_back(std::move(connection));
  } else {
    --open_;  // a lost connection is dropped; the next borrower opens a fresh one
  }
  returned_.notify_one();
}

}  // namespace ornav::service
