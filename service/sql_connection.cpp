#include "sql_connection.h"

#include <charconv>

namespace ornav::service {

std::string SqlRow::text(std::size_t column) const {
  return columns.at(column).value_or("");
}

std::int64_t SqlRow::integer(std::size_t column) const {
  const std::optional<std::string>& value = columns.at(column);
  if (!value) return 0;
  std::int64_t result = 0;
  const auto [end, error] = std::from_chars(value->data(), value->data() + value->size(), result);
  if (error != std::errc() || end != value->data() + value->size()) return 0;
  return result;
}

Transaction::Transaction(SqlConnection& connection, Kind kind) : connection_(connection) {
  if (kind == Kind::exclusive) {
    connection_.beginExclusive();
  } else {
    connection_.beginWrite();
  }
}

Transaction::~Transaction() {
  if (!open_) return;
  try {
    connection_.rollback();
  } catch (const StorageError&) {
    // A lost connection ends its transaction by itself.
  }
}

void Transaction::commit() {
  connection_.commit();
  open_ = false;  // a commit that failed is rolled back by the destructor
}

}  // namespace ornav::service
