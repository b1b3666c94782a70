// ornavel-service: the web service the application talks to (update check, cloud dictionary,
// uploads of learned words, feedback, about text, crash reports), on SQLite or PostgreSQL.
//
//   ornavel-service serve --database URL --listen ADDRESS:PORT [--tls-cert F --tls-key F] ...
//   ornavel-service admin --database URL COMMAND ...
//
// docs/service.md describes every option, endpoint and command.
#include <iostream>
#include <string>
#include <vector>

#include "admin_commands.h"
#include "command_line.h"
#include "serve_command.h"

namespace {

constexpr const char* kUsage = R"(usage:
  ornavel-service serve --database URL --listen ADDRESS:PORT
      [--tls-cert FILE --tls-key FILE] [--min-devices K] [--rebuild-every SECONDS]
      [--retention-days N] [--threads N] [--read-timeout SECONDS] [--trust-forwarded-for]
      [--access-log]
      [--uploads-per-hour N] [--feedback-per-hour N] [--crash-reports-per-hour N]
      [--requests-per-address N]
  ornavel-service admin --database URL COMMAND
      publish-release --version V --url https://... --sha256 HEX [--notes TEXT] [--size-mb N]
      rebuild-dictionary [--min-devices K]
      set-about FILE.json          (keys: title, description, copyright)
      purge --older-than DAYS
      stats [--json]
      releases [--json]
      feedback [--days N] [--limit N] [--json]
      crashes [--limit N] [--json]
      crash-reports --group ID [--limit N] [--json]
URL: sqlite:PATH or postgresql://USER@HOST/DATABASE
)";

}  // namespace

int main(int argc, char** argv) {
  using namespace ornav::service;
  const std::vector<std::string> words(argv + 1, argv + argc);
  if (words.empty() || words[0] == "--help" || words[0] == "-h") {
    std::cout << kUsage;
    return words.empty() ? 2 : 0;
  }
  CommandLine arguments(std::vector<std::string>(words.begin() + 1, words.end()));
  if (words[0] == "serve") return runServe(arguments);
  if (words[0] == "admin") return runAdmin(arguments, std::cout, std::cerr);
  std::cerr << kUsage;
  return 2;
}
