// A connection to one SQLite file in write-ahead-log mode with full synchronous commits: once a
// commit returns, the data survives a crash of the process or of the machine.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "sql_connection.h"

struct sqlite3;
struct sqlite3_stmt;

namespace ornav::service {

class SqliteConnection : public SqlConnection {
 public:
  // Opens the file, creating it when missing (":memory:" for a private in-memory database).
  // Connections of one process that share `writers` queue for it before they write, instead of
  // polling SQLite's lock, which would leave some of them sleeping long after it is free.
  // Throws StorageError when it cannot be opened.
  explicit SqliteConnection(const std::string& path, std::shared_ptr<std::mutex> writers = {});
  ~SqliteConnection() override;

  SqlDialect dialect() const override { return SqlDialect::sqlite; }
  std::vector<SqlRow> query(const std::string& sql,
                            const std::vector<SqlValue>& parameters = {}) override;
  void script(const std::string& sql) override;
  void beginWrite() override;
  void beginExclusive() override { beginWrite(); }
  void commit() override;
  void rollback() override;
  bool usable() const override { return true; }
  bool readOnly() const override;

 private:
  sqlite3_stmt* prepared(const std::string& sql);
  [[noreturn]] void fail(const std::string& what) const;

  sqlite3* db_ = nullptr;
  std::map<std::string, sqlite3_stmt*> statements_;
  std::shared_ptr<std::mutex> writers_;
  std::unique_lock<std::mutex> writing_;
};

}  // namespace ornav::service
