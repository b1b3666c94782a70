// A PostgreSQL server of the test program's own: initdb and pg_ctl from Debian's postgresql
// package in a temporary folder, reached through a socket in that folder, run by an unprivileged
// user when the tests run as root, and stopped when the program ends. One per program.
#pragma once

#include <optional>
#include <string>

namespace ornav::service::testing {

// The program's server, started on first use; absent (with the reason on standard error) when
// PostgreSQL is not installed or does not start.
std::optional<std::string> scratchPostgresURL(const std::string& database = "postgres");

// Call before the first use for a server that syncs its commits to disk, as in production (the
// tests' server does not, for speed: they kill services, never it).
void scratchPostgresSyncsCommits();

// A new empty database on that server; its URL.
std::string freshPostgresDatabase();

// The exit status a CTest test gives to say it was skipped.
inline constexpr int kSkipped = 77;

}  // namespace ornav::service::testing
