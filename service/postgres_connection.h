// A connection to a PostgreSQL database through libpq. Several service processes may share the
// database; what must happen in one process at a time across all of them (a dictionary build, a
// migration) takes a transaction-scoped advisory lock.
#pragma once

#include <string>

#include "sql_connection.h"

struct pg_conn;

namespace ornav::service {

class PostgresConnection : public SqlConnection {
 public:
  // `url` as libpq takes it ("postgresql://user@host/db?..."). Throws StorageError when the
  // server cannot be reached.
  explicit PostgresConnection(const std::string& url);
  ~PostgresConnection() override;

  SqlDialect dialect() const override { return SqlDialect::postgresql; }
  std::vector<SqlRow> query(const std::string& sql,
                            const std::vector<SqlValue>& parameters = {}) override;
  void script(const std::string& sql) override;
  void beginWrite() override { query("BEGIN"); }
  void beginExclusive() override;
  bool usable() const override;

 private:
  pg_conn* connection_ = nullptr;
};

}  // namespace ornav::service
