// One connection to the service's database, SQLite or PostgreSQL, behind one interface. Every
// statement is written once with numbered parameters ($1, $2, ...) that both engines understand,
// and every value reaches the database as a bound parameter, never as SQL text.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

namespace ornav::service {

enum class SqlDialect { sqlite, postgresql };

// The database cannot be reached, is read-only or full, or refused a statement. Requests answer
// 503 when they meet one; the transaction they were in is rolled back.
class StorageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

using SqlValue = std::variant<std::monostate, std::int64_t, double, std::string>;

// One result row, every column as text (NULL as absent), as both engines can give it.
struct SqlRow {
  std::vector<std::optional<std::string>> columns;

  std::string text(std::size_t column) const;
  // The column as a decimal integer; 0 for NULL or text that is not one.
  std::int64_t integer(std::size_t column) const;
  bool isNull(std::size_t column) const { return !columns.at(column).has_value(); }
};

class SqlConnection {
 public:
  virtual ~SqlConnection() = default;
  virtual SqlDialect dialect() const = 0;

  // Runs one statement with its parameters and returns the rows it produced.
  virtual std::vector<SqlRow> query(const std::string& sql,
                                    const std::vector<SqlValue>& parameters = {}) = 0;
  // Runs several statements without parameters (the schema's migrations).
  virtual void script(const std::string& sql) = 0;

  // Starts a transaction that will write: SQLite takes its write lock at once, so two writers
  // never deadlock upgrading from a read.
  virtual void beginWrite() = 0;
  // A write transaction that also excludes every other exclusive one, across processes (building
  // a dictionary version, migrating the schema).
  virtual void beginExclusive() = 0;
  virtual void commit() { query("COMMIT"); }
  virtual void rollback() { query("ROLLBACK"); }

  // False once the connection is lost; the pool then opens a new one.
  virtual bool usable() const = 0;
  // True when the database refuses every write (a read-only file).
  virtual bool readOnly() const { return false; }
};

// A transaction that is rolled back unless committed, so an error anywhere in it stores nothing.
class Transaction {
 public:
  enum class Kind { write, exclusive };
  Transaction(SqlConnection& connection, Kind kind);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;

  // Only once this returns is the work durable; it throws StorageError when the commit fails.
  void commit();

 private:
  SqlConnection& connection_;
  bool open_ = true;
};

}  // namespace ornav::service
