#include "sqlite_connection.h"

#include <sqlite3.h>

namespace ornav::service {
namespace {

// How long a writer waits for another writer's commit before the request gives up (503).
constexpr int kBusyTimeoutMs = 5000;

}  // namespace

SqliteConnection::SqliteConnection(const std::string& path, std::shared_ptr<std::mutex> writers)
    : writers_(std::move(writers)) {
  const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
  if (sqlite3_open_v2(path.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
    const std::string why = db_ != nullptr ? sqlite3_errmsg(db_) : "out of memory";
    sqlite3_close(db_);
    db_ = nullptr;
    throw StorageError("cannot open " + path + ": " + why);
  }
  sqlite3_extended_result_codes(db_, 1);
  sqlite3_busy_timeout(db_, kBusyTimeoutMs);
  // A database someone made read-only keeps its journal mode; everything else runs in WAL mode,
  // where readers never wait for the writer.
  try {
    query("PRAGMA journal_mode=WAL");
  } catch (const StorageError&) {
    if (!readOnly()) throw;
  }
  query("PRAGMA synchronous=FULL");
  query("PRAGMA foreign_keys=ON");
}

SqliteConnection::~SqliteConnection() {
  for (auto& [sql, statement] : statements_)
    sqlite3_finalize(statement);
  sqlite3_close(db_);
}

void SqliteConnection::beginWrite() {
  if (writers_) writing_ = std::unique_lock(*writers_);
  try {
    query("BEGIN IMMEDIATE");
  } catch (const StorageError&) {
    if (writing_.owns_lock()) writing_.unlock();
    throw;
  }
}

void SqliteConnection::commit() {
  query("COMMIT");
  if (writing_.owns_lock()) writing_.unlock();
}

void SqliteConnection::rollback() {
  try {
    query("ROLLBACK");
  } catch (const StorageError&) {
    if (writing_.owns_lock()) writing_.unlock();
    throw;
  }
  if (writing_.owns_lock()) writing_.unlock();
}

bool SqliteConnection::readOnly() const {
  return sqlite3_db_readonly(db_, "main") == 1;
}

void SqliteConnection::fail(const std::string& what) const {
  throw StorageError("sqlite: " + what + ": " + sqlite3_errmsg(db_));
}

sqlite3_stmt* SqliteConnection::prepared(const std::string& sql) {
  if (auto found = statements_.find(sql); found != statements_.end()) return found->second;
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v3(db_, sql.c_str(), static_cast<int>(sql.size()), SQLITE_PREPARE_PERSISTENT,
                         &statement, nullptr) != SQLITE_OK) {
    fail("prepare");
  }
  statements_.emplace(sql, statement);
  return statement;
}

std::vector<SqlRow> SqliteConnection::query(const std::string& sql,
                                            const std::vector<SqlValue>& parameters) {
  sqlite3_stmt* statement = prepared(sql);
  sqlite3_reset(statement);
  sqlite3_clear_bindings(statement);
  for (std::size_t i = 0; i < parameters.size(); ++i) {
    const std::string name = "$" + std::to_string(i + 1);
    const int index = sqlite3_bind_parameter_index(statement, name.c_str());
    if (index == 0) continue;  // a parameter the statement does not use
    const SqlValue& value = parameters[i];
    int status = SQLITE_OK;
    if (const auto* number = std::get_if<std::int64_t>(&value)) {
      status = sqlite3_bind_int64(statement, index, *number);
    } else if (const auto* real = std::get_if<double>(&value)) {
      status = sqlite3_bind_double(statement, index, *real);
    } else if (const auto* text = std::get_if<std::string>(&value)) {
      status = sqlite3_bind_text64(statement, index, text->data(), text->size(), SQLITE_TRANSIENT,
                                   SQLITE_UTF8);
    } else {
      status = sqlite3_bind_null(statement, index);
    }
    if (status != SQLITE_OK) fail("bind");
  }

  std::vector<SqlRow> rows;
  for (;;) {
    const int status = sqlite3_step(statement);
    if (status == SQLITE_DONE) break;
    if (status != SQLITE_ROW) {
      const std::string why = sqlite3_errmsg(db_);
      sqlite3_reset(statement);
      throw StorageError("sqlite: " + why);
    }
    SqlRow row;
    const int columns = sqlite3_column_count(statement);
    for (int c = 0; c < columns; ++c) {
      if (sqlite3_column_type(statement, c) == SQLITE_NULL) {
        row.columns.emplace_back();
        continue;
      }
      const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, c));
      row.columns.emplace_back(
          std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(statement, c))));
    }
    rows.push_back(std::move(row));
  }
  sqlite3_reset(statement);
  return rows;
}

void SqliteConnection::script(const std::string& sql) {
  char* error = nullptr;
  if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    const std::string why = error != nullptr ? error : "unknown error";
    sqlite3_free(error);
    throw StorageError("sqlite: " + why);
  }
}

}  // namespace ornav::service
