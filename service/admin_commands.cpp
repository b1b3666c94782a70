#include "admin_commands.h"

#include <charconv>
#include <ctime>
#include <ostream>

#include <nlohmann/json.hpp>

#include "base/files.h"
#include "base/json_reading.h"
#include "release_rules.h"
#include "service_log.h"
#include "storage.h"

namespace ornav::service {
namespace {

using nlohmann::json;

constexpr std::int64_t kDefaultMinDevices = 5;
constexpr std::uintmax_t kLongestAboutFile = 64 << 10;
constexpr std::int64_t kDay = 86400;

std::string isoTime(std::int64_t seconds) {
  const std::time_t time = static_cast<std::time_t>(seconds);
  std::tm utc{};
  gmtime_r(&time, &utc);
  char text[32] = {};
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return text;
}

struct Admin {
  CommandLine& arguments;
  std::ostream& out;
  std::ostream& err;
  std::string database;

  // Every flag is taken before the database is opened, so a bad command line opens nothing.
  int usage() {
    err << "ornavel-service admin: " << arguments.problem() << "\n";
    return 2;
  }
  int refuse(const std::string& why) {
    err << "ornavel-service admin: refused: " << why << "; nothing was stored\n";
    return 1;
  }
  std::unique_ptr<Storage> open() { return Storage::open(database, 1); }

  int publishRelease() {
    Release release;
    release.version = arguments.value("--version").value_or("");
    release.url = arguments.value("--url").value_or("");
    release.sha256 = arguments.value("--sha256").value_or("");
    release.notes = arguments.value("--notes").value_or("");
    if (const auto size = arguments.value("--size-mb")) {
      double number = 0;
      const auto [end, error] = std::from_chars(size->data(), size->data() + size->size(), number);
      if (error != std::errc() || end != size->data() + size->size()) {
        return refuse("the size must be a positive number of megabytes");
      }
      release.sizeMB = number;
    }
    if (!arguments.problem().empty()) return usage();
    std::string why;
    const std::optional<Release> checked = checkedRelease(release, why);
    if (!checked) return refuse(why);
    open()->publishRelease(*checked, wallClockSeconds());
    out << "published " << checked->version << "\n";
    return 0;
  }

  int rebuildDictionary() {
    const auto minDevices =
        arguments.integer("--min-devices", 1, 1000000).value_or(kDefaultMinDevices);
    if (!arguments.problem().empty()) return usage();
    const RebuildOutcome outcome = open()->rebuildDictionary(minDevices, wallClockSeconds());
    out << "dictionary version " << outcome.version << ": " << outcome.words << " words"
        << (outcome.changed ? "" : " (unchanged)") << "\n";
    return 0;
  }

  int setAbout() {
    const std::optional<std::string> file = arguments.word();
    if (!file) return usage();
    if (!arguments.problem().empty()) return usage();
    std::string why;
    const std::optional<std::string> text = readWholeFile(*file, &why, kLongestAboutFile);
    if (!text) return refuse(*file + ": " + why);
    const std::optional<json> object = json_reading::parseObject(*text);
    if (!object) return refuse(*file + " is not a JSON object");
    AboutText about;
    for (const auto& [key, value] : object->items()) {
      std::optional<std::string>* field = key == "title"         ? &about.title
                                          : key == "description" ? &about.description
                                          : key == "copyright"   ? &about.copyright
                                                                 : nullptr;
      if (field == nullptr) return refuse("unknown key \"" + key + "\" in " + *file);
      if (!value.is_string()) return refuse("\"" + key + "\" must be a string");
      *field = value.get<std::string>();
    }
    if (!about.title && !about.description && !about.copyright) {
      return refuse(*file + " has none of title, description, copyright");
    }
    open()->setAbout(about, wallClockSeconds());
    out << "about text set\n";
    return 0;
  }

  int purge() {
    const auto days = arguments.integer("--older-than", 1, 36500);
    if (!arguments.problem().empty()) return usage();
    if (!days) {
      err << "ornavel-service admin: purge needs --older-than DAYS\n";
      return 2;
    }
    const PurgeOutcome outcome = open()->purge(wallClockSeconds() - *days * kDay);
    out << "removed " << outcome.feedback << " feedback, " << outcome.crashReports
        << " crash reports, " << outcome.uploads << " upload records, " << outcome.devices
        << " devices\n";
    return 0;
  }

  // Prints `rows` as one JSON array, or each row's text.
  template <typename Row>
  int list(bool asJson, const std::vector<Row>& rows, json (*toJson)(const Row&),
           std::string (*toText)(const Row&)) {
    json array = json::array();
    for (const Row& row : rows) {
      if (asJson) {
        array.push_back(toJson(row));
      } else {
        out << toText(row) << "\n";
      }
    }
    if (asJson) out << json_reading::serialize(array) << "\n";
    return 0;
  }

  int releases() {
    const bool asJson = arguments.present("--json");
    if (!arguments.problem().empty()) return usage();
    return list<PublishedRelease>(
        asJson, open()->releases(),
        [](const PublishedRelease& r) -> json {
          json row = {{"publishedAt", isoTime(r.publishedAt)},
                      {"version", r.release.version},
                      {"url", r.release.url},
                      {"sha256", r.release.sha256},
                      {"notes", r.release.notes}};
          if (r.release.sizeMB) row["sizeMB"] = *r.release.sizeMB;
          return row;
        },
        [](const PublishedRelease& r) {
          return isoTime(r.publishedAt) + "  " + r.release.version + "  " + r.release.url;
        });
  }

  int feedback() {
    const bool asJson = arguments.present("--json");
    const auto days = arguments.integer("--days", 1, 36500).value_or(7);
    const auto limit = arguments.integer("--limit", 1, 1000000).value_or(100);
    if (!arguments.problem().empty()) return usage();
    return list<StoredFeedback>(
        asJson, open()->feedbackSince(wallClockSeconds() - days * kDay, limit),
        [](const StoredFeedback& f) -> json {
          const FeedbackRequest& m = f.feedback;
          return {{"receivedAt", isoTime(f.receivedAt)},
                  {"message", m.message},
                  {"contact", m.contact},
                  {"version", m.version},
                  {"device", m.device},
                  {"host", m.host},
                  {"os", m.os},
                  {"time", m.time}};
        },
        [](const StoredFeedback& f) {
          const FeedbackRequest& m = f.feedback;
          return isoTime(f.receivedAt) + "  version " + m.version + "  device " + m.device +
                 (m.contact.empty() ? "" : "  contact " + m.contact) + "\n  " + m.message;
        });
  }

  int crashes() {
    const bool asJson = arguments.present("--json");
    const auto limit = arguments.integer("--limit", 1, 1000000).value_or(50);
    if (!arguments.problem().empty()) return usage();
    return list<CrashGroup>(
        asJson, open()->crashGroups(limit),
        [](const CrashGroup& g) -> json {
          return {{"group", g.id},
                  {"signature", g.signature},
                  {"reports", g.reports},
                  {"firstSeen", isoTime(g.firstSeen)},
                  {"lastSeen", isoTime(g.lastSeen)}};
        },
        [](const CrashGroup& g) {
          return "group " + std::to_string(g.id) + ": " + std::to_string(g.reports) +
                 " reports, last " + isoTime(g.lastSeen) + "\n  " + g.signature;
        });
  }

  int crashReports() {
    const bool asJson = arguments.present("--json");
    const auto group = arguments.integer("--group", 1, INT64_MAX);
    const auto limit = arguments.integer("--limit", 1, 1000000).value_or(10);
    if (!arguments.problem().empty()) return usage();
    if (!group) {
      err << "ornavel-service admin: crash-reports needs --group ID\n";
      return 2;
    }
    return list<StoredCrash>(
        asJson, open()->crashReports(*group, limit),
        [](const StoredCrash& c) -> json {
          const CrashReport& r = c.report;
          return {{"receivedAt", isoTime(c.receivedAt)},
                  {"reportID", r.reportID},
                  {"type", r.type},
                  {"name", r.name},
                  {"reason", r.reason},
                  {"stack", r.stack},
                  {"version", r.version},
                  {"device", r.device},
                  {"host", r.host},
                  {"os", r.os},
                  {"time", r.time}};
        },
        [](const StoredCrash& c) {
          const CrashReport& r = c.report;
          return isoTime(c.receivedAt) + "  " + r.name + "  version " + r.version + "  os " + r.os +
                 "  host " + r.host + "\n  " + r.reason + "\n" + r.stack;
        });
  }

  int stats() {
    const bool asJson = arguments.present("--json");
    if (!arguments.problem().empty()) return usage();
    const Stats s = open()->stats();
    if (asJson) {
      out << json({{"devices", s.devices},
                   {"uploads", s.uploads},
                   {"dictionaryVersion", s.dictionaryVersion},
                   {"dictionaryWords", s.dictionaryWords},
                   {"feedback", s.feedback},
                   {"crashReports", s.crashReports},
                   {"crashGroups", s.crashGroups},
                   {"releases", s.releases}})
                 .dump()
          << "\n";
    } else {
      out << "devices seen:        " << s.devices << "\n"
          << "uploads accepted:    " << s.uploads << "\n"
          << "dictionary:          version " << s.dictionaryVersion << ", " << s.dictionaryWords
          << " words\n"
          << "feedback:            " << s.feedback << "\n"
          << "crash reports:       " << s.crashReports << " in " << s.crashGroups << " groups\n"
          << "releases published:  " << s.releases << "\n";
    }
    return 0;
  }
};

}  // namespace

int runAdmin(CommandLine& arguments, std::ostream& out, std::ostream& err) {
  Admin admin{arguments, out, err, arguments.value("--database").value_or("")};
  const std::optional<std::string> command = arguments.word();
  if (admin.database.empty() || !command) {
    err << "ornavel-service admin: needs --database URL and a command\n";
    return 2;
  }
  try {
    if (*command == "publish-release") return admin.publishRelease();
    if (*command == "rebuild-dictionary") return admin.rebuildDictionary();
    if (*command == "set-about") return admin.setAbout();
    if (*command == "purge") return admin.purge();
    if (*command == "stats") return admin.stats();
    if (*command == "releases") return admin.releases();
    if (*command == "feedback") return admin.feedback();
    if (*command == "crashes") return admin.crashes();
    if (*command == "crash-reports") return admin.crashReports();
  } catch (const std::exception& error) {
    err << "ornavel-service admin: " << error.what() << "\n";
    return 1;
  }
  err << "ornavel-service admin: unknown command \"" << *command << "\"\n";
  return 2;
}

}  // namespace ornav::service
