#include "schema.h"

#include <ctime>
#include <string>
#include <vector>

namespace ornav::service {
namespace {

struct Migration {
  int number;
  const char* sql;  // "{{ID}}" stands for the dialect's generated key column
};

// Never edit a migration that has shipped; add the next number instead. Times are seconds since
// 1970 in UTC. A device is the random identifier the application made for one user account.
const std::vector<Migration> kMigrations = {
    {1, R"sql(
CREATE TABLE devices (
  device_id TEXT PRIMARY KEY,
  first_seen BIGINT NOT NULL,
  last_seen BIGINT NOT NULL
);
-- Each device's own total for each word, capped; the dictionary is built from these.
CREATE TABLE device_words (
  device_id TEXT NOT NULL REFERENCES devices (device_id),
  word TEXT NOT NULL,
  total BIGINT NOT NULL,
  PRIMARY KEY (device_id, word)
);
CREATE INDEX device_words_by_word ON device_words (word);
-- One row per accepted upload request.
CREATE TABLE uploads (
  id {{ID}},
  device_id TEXT NOT NULL,
  received_at BIGINT NOT NULL,
  words BIGINT NOT NULL
);
CREATE INDEX uploads_by_time ON uploads (received_at);
-- The served dictionary: only its newest version is kept.
CREATE TABLE dictionary_versions (
  version BIGINT PRIMARY KEY,
  built_at BIGINT NOT NULL,
  min_devices BIGINT NOT NULL,
  words BIGINT NOT NULL,
  tsv TEXT NOT NULL
);
CREATE TABLE releases (
  id {{ID}},
  version TEXT NOT NULL,
  url TEXT NOT NULL,
  sha256 TEXT NOT NULL,
  notes TEXT NOT NULL,
  size_mb DOUBLE PRECISION,
  published_at BIGINT NOT NULL
);
CREATE TABLE about (
  id BIGINT PRIMARY KEY CHECK (id = 1),
  title TEXT,
  description TEXT,
  copyright TEXT,
  updated_at BIGINT NOT NULL
);
CREATE TABLE feedback (
  id {{ID}},
  device_id TEXT NOT NULL,
  version TEXT NOT NULL,
  received_at BIGINT NOT NULL,
  message TEXT NOT NULL,
  contact TEXT NOT NULL,
  host TEXT NOT NULL,
  os TEXT NOT NULL,
  sent_at TEXT NOT NULL
);
CREATE INDEX feedback_by_time ON feedback (received_at);
-- Crash reports with the same signal or exception and the same top of stack form one group.
CREATE TABLE crash_groups (
  id {{ID}},
  signature TEXT NOT NULL UNIQUE,
  first_seen BIGINT NOT NULL,
  last_seen BIGINT NOT NULL,
  reports BIGINT NOT NULL
);
CREATE TABLE crash_reports (
  id {{ID}},
  group_id BIGINT NOT NULL REFERENCES crash_groups (id),
  report_id TEXT NOT NULL,
  device_id TEXT NOT NULL,
  version TEXT NOT NULL,
  received_at BIGINT NOT NULL,
  type TEXT NOT NULL,
  name TEXT NOT NULL,
  reason TEXT NOT NULL,
  stack TEXT NOT NULL,
  host TEXT NOT NULL,
  os TEXT NOT NULL,
  sent_at TEXT NOT NULL,
  UNIQUE (device_id, report_id)
);
CREATE INDEX crash_reports_by_time ON crash_reports (received_at);
)sql"},
};

std::string forDialect(std::string sql, SqlDialect dialect) {
  const std::string key = "{{ID}}";
  const std::string id = dialect == SqlDialect::sqlite
                             ? "INTEGER PRIMARY KEY"
                             : "BIGINT GENERATED ALWAYS AS IDENTITY PRIMARY KEY";
  for (auto at = sql.find(key); at != std::string::npos; at = sql.find(key, at + id.size()))
    sql.replace(at, key.size(), id);
  return sql;
}

bool hasMigrationTable(SqlConnection& connection) {
  const char* sql = connection.dialect() == SqlDialect::sqlite
                        ? "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = $1"
                        : "SELECT 1 FROM information_schema.tables WHERE table_name = $1 "
                          "AND table_schema = current_schema()";
  return !connection.query(sql, {std::string("schema_migrations")}).empty();
}

}  // namespace

int schemaVersion(SqlConnection& connection) {
  if (!hasMigrationTable(connection)) return 0;
  const auto rows = connection.query("SELECT MAX(number) FROM schema_migrations");
  return rows.empty() ? 0 : static_cast<int>(rows[0].integer(0));
}

void migrateSchema(SqlConnection& connection) {
  if (schemaVersion(connection) >= kMigrations.back().number) return;
  Transaction transaction(connection, Transaction::Kind::exclusive);
  connection.script(
      "CREATE TABLE IF NOT EXISTS schema_migrations (number BIGINT PRIMARY KEY, "
      "applied_at BIGINT NOT NULL)");
  // Another process may have migrated while this one waited for the lock.
  const int applied = schemaVersion(connection);
  for (const Migration& migration : kMigrations) {
    if (migration.number <= applied) continue;
    connection.script(forDialect(migration.sql, connection.dialect()));
    connection.query(
        "INSERT INTO schema_migrations (number, applied_at) VALUES ($1, CAST($2 AS BIGINT))",
        {std::int64_t{migration.number}, static_cast<std::int64_t>(std::time(nullptr))});
  }
  transaction.commit();
}

}  // namespace ornav::service
