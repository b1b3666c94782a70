#include "postgres_connection.h"

#include <libpq-fe.h>

#include <array>
#include <charconv>
#include <memory>

namespace ornav::service {
namespace {

// The one advisory lock of the service: builds of the dictionary and migrations of the schema.
constexpr const char* kExclusiveLock = "SELECT pg_advisory_xact_lock(7034220415)";

using Result = std::unique_ptr<PGresult, decltype(&PQclear)>;

std::string firstLine(const char* message) {
  std::string text = message != nullptr ? message : "";
  if (const auto end = text.find('\n'); end != std::string::npos) text.resize(end);
  return text;
}

std::string asText(double value) {
  std::array<char, 64> buffer{};
  const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  return std::string(buffer.data(), error == std::errc() ? end : buffer.data());
}

}  // namespace

PostgresConnection::PostgresConnection(const std::string& url) {
  connection_ = PQconnectdb(url.c_str());
  if (connection_ == nullptr || PQstatus(connection_) != CONNECTION_OK) {
    const std::string why = firstLine(PQerrorMessage(connection_));
    PQfinish(connection_);
    connection_ = nullptr;
    throw StorageError("postgresql: cannot connect: " + why);
  }
  PQsetClientEncoding(connection_, "UTF8");
  query("SET synchronous_commit TO on");
}

PostgresConnection::~PostgresConnection() {
  PQfinish(connection_);
}

bool PostgresConnection::usable() const {
  return connection_ != nullptr && PQstatus(connection_) == CONNECTION_OK;
}

void PostgresConnection::beginExclusive() {
  query("BEGIN");
  query(kExclusiveLock);
}

std::vector<SqlRow> PostgresConnection::query(const std::string& sql,
                                              const std::vector<SqlValue>& parameters) {
  std::vector<std::string> texts(parameters.size());
  std::vector<const char*> values(parameters.size(), nullptr);
  for (std::size_t i = 0; i < parameters.size(); ++i) {
    const SqlValue& value = parameters[i];
    if (const auto* number = std::get_if<std::int64_t>(&value)) {
      texts[i] = std::to_string(*number);
    } else if (const auto* real = std::get_if<double>(&value)) {
      texts[i] = asText(*real);
    } else if (const auto* text = std::get_if<std::string>(&value)) {
      texts[i] = *text;
    } else {
      continue;  // NULL
    }
    values[i] = texts[i].c_str();
  }
  Result result(PQexecParams(connection_, sql.c_str(), static_cast<int>(values.size()), nullptr,
                             values.data(), nullptr, nullptr, 0),
                &PQclear);
  const ExecStatusType status = result ? PQresultStatus(result.get()) : PGRES_FATAL_ERROR;
  if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
    throw StorageError("postgresql: " + firstLine(PQerrorMessage(connection_)));
  }
  std::vector<SqlRow> rows;
  const int count = PQntuples(result.get());
  const int columns = PQnfields(result.get());
  rows.reserve(static_cast<std::size_t>(count));
  for (int r = 0; r < count; ++r) {
    SqlRow row;
    for (int c = 0; c < columns; ++c) {
      if (PQgetisnull(result.get(), r, c)) {
        row.columns.emplace_back();
      } else {
        row.columns.emplace_back(
            std::string(PQgetvalue(result.get(), r, c),
                        static_cast<std::size_t>(PQgetlength(result.get(), r, c))));
      }
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

void PostgresConnection::script(const std::string& sql) {
  Result result(PQexec(connection_, sql.c_str()), &PQclear);
  if (!result || PQresultStatus(result.get()) != PGRES_COMMAND_OK) {
    throw StorageError("postgresql: " + firstLine(PQerrorMessage(connection_)));
  }
}

}  // namespace ornav::service
