// The database schema, made and changed by numbered migrations. Each migration runs once, in its
// own transaction, under the exclusive lock, so several processes starting together on one
// PostgreSQL apply it exactly once; a database already at the newest version is not written at
// all (it may be read-only).
#pragma once

#include "sql_connection.h"

namespace ornav::service {

// Applies every migration the database lacks. Throws StorageError.
void migrateSchema(SqlConnection& connection);

// The number of the newest migration applied (0 for an empty database).
int schemaVersion(SqlConnection& connection);

}  // namespace ornav::service
