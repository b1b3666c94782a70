#include "storage.h"

#include <algorithm>
#include <charconv>
#include <stdexcept>
#include <utility>
#include <vector>

#include "postgres_connection.h"
#include "schema.h"
#include "sqlite_connection.h"
#include "word_rules.h"

namespace ornav::service {
namespace {

// Words written per statement: few round trips to PostgreSQL, well under either engine's limit
// on parameters.
constexpr std::size_t kWordsPerStatement = 200;

SqlValue value(std::int64_t number) {
  return SqlValue(number);
}
SqlValue value(std::string text) {
  return SqlValue(std::move(text));
}
SqlValue value(const std::optional<std::string>& text) {
  return text ? SqlValue(*text) : SqlValue();
}

std::optional<std::string> optionalText(const SqlRow& row, std::size_t column) {
  return row.columns.at(column);
}

std::optional<double> optionalNumber(const SqlRow& row, std::size_t column) {
  const std::optional<std::string>& text = row.columns.at(column);
  if (!text) return std::nullopt;
  double number = 0;
  const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), number);
  if (error != std::errc()) return std::nullopt;
  return number;
}

void touchDevice(SqlConnection& db, const std::string& device, std::int64_t now) {
  db.query(
      "INSERT INTO devices (device_id, first_seen, last_seen) VALUES ($1, CAST($2 AS BIGINT), "
      "CAST($2 AS BIGINT)) ON CONFLICT (device_id) DO UPDATE SET last_seen = excluded.last_seen",
      {value(device), value(now)});
}

// One statement for up to kWordsPerStatement words: $1 is the device, $2 the cap, then each
// word and its growth.
void addWords(SqlConnection& db, const std::string& device, const WordCount* words,
              std::size_t count) {
  std::string sql = "INSERT INTO device_words (device_id, word, total) VALUES ";
  std::vector<SqlValue> parameters = {value(device), value(kDeviceWordCap)};
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t word = parameters.size() + 1;
    sql += (i == 0 ? "" : ", ");
    sql += "($1, $" + std::to_string(word) + ", CAST($" + std::to_string(word + 1) + " AS BIGINT))";
    parameters.push_back(value(words[i].word));
    parameters.push_back(value(words[i].count));
  }
  sql +=
      " ON CONFLICT (device_id, word) DO UPDATE SET total = CASE WHEN device_words.total + "
      "excluded.total > CAST($2 AS BIGINT) THEN CAST($2 AS BIGINT) ELSE device_words.total + "
      "excluded.total END";
  db.query(sql, parameters);
}

std::int64_t countRows(SqlConnection& db, const std::string& sql, std::int64_t before) {
  return static_cast<std::int64_t>(db.query(sql, {value(before)}).size());
}

// "sqlite:PATH" (also "sqlite:///abs/path") or a PostgreSQL URL as libpq reads it.
ConnectionPool::Opener openerFor(const std::string& url) {
  if (url.rfind("sqlite:", 0) == 0) {
    std::string path = url.substr(7);
    if (path.rfind("///", 0) == 0) path.erase(0, 2);
    if (path.empty()) throw std::invalid_argument("no file after \"sqlite:\"");
    auto writers = std::make_shared<std::mutex>();
    return [path, writers] { return std::make_unique<SqliteConnection>(path, writers); };
  }
  if (url.rfind("postgresql://", 0) == 0 || url.rfind("postgres://", 0) == 0) {
    return [url] { return std::make_unique<PostgresConnection>(url); };
  }
  throw std::invalid_argument("the database must be sqlite:PATH or postgresql://...");
}

}  // namespace

std::unique_ptr<Storage> Storage::open(const std::string& databaseURL, std::size_t connections) {
  auto storage = std::make_unique<Storage>(openerFor(databaseURL), connections);
  migrateSchema(*storage->pool_.acquire());
  return storage;
}

Storage::Storage(ConnectionPool::Opener opener, std::size_t connections)
    : pool_(std::move(opener), connections) {}

void Storage::recordUpload(const UploadRequest& upload, std::int64_t now) {
  auto db = pool_.acquire();
  Transaction transaction(*db, Transaction::Kind::write);
  touchDevice(*db, upload.device, now);
  for (std::size_t at = 0; at < upload.entries.size(); at += kWordsPerStatement) {
    addWords(*db, upload.device, upload.entries.data() + at,
             std::min(kWordsPerStatement, upload.entries.size() - at));
  }
  db->query(
      "INSERT INTO uploads (device_id, received_at, words) VALUES ($1, CAST($2 AS BIGINT), "
      "CAST($3 AS BIGINT))",
      {value(upload.device), value(now), value(static_cast<std::int64_t>(upload.entries.size()))});
  transaction.commit();
}

void Storage::recordFeedback(const FeedbackRequest& feedback, std::int64_t now) {
  auto db = pool_.acquire();
  Transaction transaction(*db, Transaction::Kind::write);
  touchDevice(*db, feedback.device, now);
  db->query(
      "INSERT INTO feedback (device_id, version, received_at, message, contact, host, os, "
      "sent_at) VALUES ($1, $2, CAST($3 AS BIGINT), $4, $5, $6, $7, $8)",
      {value(feedback.device), value(feedback.version), value(now), value(feedback.message),
       value(feedback.contact), value(feedback.host), value(feedback.os), value(feedback.time)});
  transaction.commit();
}

bool Storage::recordCrash(const CrashReport& report, const std::string& signature,
                          std::int64_t now) {
  auto db = pool_.acquire();
  Transaction transaction(*db, Transaction::Kind::write);
  touchDevice(*db, report.device, now);
  db->query(
      "INSERT INTO crash_groups (signature, first_seen, last_seen, reports) VALUES ($1, "
      "CAST($2 AS BIGINT), CAST($2 AS BIGINT), 0) ON CONFLICT (signature) DO NOTHING",
      {value(signature), value(now)});
  const auto inserted = db->query(
      "INSERT INTO crash_reports (group_id, report_id, device_id, version, received_at, type, "
      "name, reason, stack, host, os, sent_at) SELECT id, CAST($2 AS TEXT), CAST($3 AS TEXT), "
      "CAST($4 AS TEXT), CAST($5 AS BIGINT), CAST($6 AS TEXT), CAST($7 AS TEXT), "
      "CAST($8 AS TEXT), CAST($9 AS TEXT), CAST($10 AS TEXT), CAST($11 AS TEXT), "
      "CAST($12 AS TEXT) FROM crash_groups WHERE signature = $1 "
      "ON CONFLICT (device_id, report_id) DO NOTHING RETURNING id",
      {value(signature), value(report.reportID), value(report.device), value(report.version),
       value(now), value(report.type), value(report.name), value(report.reason),
       value(report.stack), value(report.host), value(report.os), value(report.time)});
  if (!inserted.empty()) {
    db->query(
        "UPDATE crash_groups SET reports = reports + 1, last_seen = CAST($2 AS BIGINT) WHERE "
        "signature = $1",
        {value(signature), value(now)});
  }
  transaction.commit();
  return !inserted.empty();
}

void Storage::publishRelease(const Release& release, std::int64_t now) {
  auto db = pool_.acquire();
  Transaction transaction(*db, Transaction::Kind::write);
  db->query(
      "INSERT INTO releases (version, url, sha256, notes, size_mb, published_at) VALUES ($1, $2, "
      "$3, $4, CAST($5 AS DOUBLE PRECISION), CAST($6 AS BIGINT))",
      {value(release.version), value(release.url), value(release.sha256), value(release.notes),
       release.sizeMB ? SqlValue(*release.sizeMB) : SqlValue(), value(now)});
  transaction.commit();
}

std::optional<Release> Storage::latestRelease() {
  auto db = pool_.acquire();
  const auto rows = db->query(
      "SELECT version, url, sha256, notes, size_mb FROM releases ORDER BY id DESC LIMIT 1");
  if (rows.empty()) return std::nullopt;
  const SqlRow& row = rows.front();
  return Release{row.text(0), row.text(1), row.text(2), row.text(3), optionalNumber(row, 4)};
}

std::vector<PublishedRelease> Storage::releases() {
  std::vector<PublishedRelease> releases;
  for (const SqlRow& row : pool_.acquire()->query(
           "SELECT published_at, version, url, sha256, notes, size_mb FROM releases ORDER BY id "
           "DESC")) {
    releases.push_back(
        {row.integer(0),
         {row.text(1), row.text(2), row.text(3), row.text(4), optionalNumber(row, 5)}});
  }
  return releases;
}

void Storage::setAbout(const AboutText& about, std::int64_t now) {
  auto db = pool_.acquire();
  Transaction transaction(*db, Transaction::Kind::write);
  db->query(
      "INSERT INTO about (id, title, description, copyright, updated_at) VALUES (1, $1, $2, $3, "
      "CAST($4 AS BIGINT)) ON CONFLICT (id) DO UPDATE SET title = excluded.title, description = "
      "excluded.description, copyright = excluded.copyright, updated_at = excluded.updated_at",
      {value(about.title), value(about.description), value(about.copyright), value(now)});
  transaction.commit();
}

AboutText Storage::about() {
  auto db = pool_.acquire();
  const auto rows = db->query("SELECT title, description, copyright FROM about WHERE id = 1");
  if (rows.empty()) return {};
  return {optionalText(rows[0], 0), optionalText(rows[0], 1), optionalText(rows[0], 2)};
}

std::int64_t Storage::dictionaryVersion() {
  auto db = pool_.acquire();
  return db->query("SELECT COALESCE(MAX(version), 0) FROM dictionary_versions")[0].integer(0);
}

std::shared_ptr<const Dictionary> Storage::dictionary() {
  const std::int64_t version = dictionaryVersion();
  {
    std::lock_guard lock(cacheMutex_);
    if (cached_ && cached_->version == version) return cached_;
  }
  auto loaded = std::make_shared<Dictionary>();
  {
    auto db = pool_.acquire();
    const auto rows = db->query(
        "SELECT version, tsv, words FROM dictionary_versions ORDER BY version DESC LIMIT 1");
    if (!rows.empty()) {
      loaded->version = rows[0].integer(0);
      loaded->tsv = rows[0].text(1);
      loaded->words = rows[0].integer(2);
    }
  }
  std::lock_guard lock(cacheMutex_);
  if (!cached_ || cached_->version <= loaded->version) cached_ = loaded;
  return loaded;
}

RebuildOutcome Storage::rebuildDictionary(std::int64_t minDevices, std::int64_t now) {
  auto db = pool_.acquire();
  Transaction transaction(*db, Transaction::Kind::exclusive);
  std::vector<std::pair<std::string, std::int64_t>> words;
  for (const SqlRow& row : db->query(
           "SELECT word, SUM(total) FROM device_words GROUP BY word HAVING COUNT(*) >= CAST($1 "
           "AS BIGINT)",
           {value(std::max<std::int64_t>(minDevices, 1))})) {
    if (isDictionaryWord(row.text(0))) words.emplace_back(row.text(0), row.integer(1));
  }
  // Byte order, the same whatever the database's collation.
  std::sort(words.begin(), words.end());
  std::string tsv;
  for (const auto& [word, count] : words)
    tsv += word + "\t" + std::to_string(count) + "\n";

  RebuildOutcome outcome;
  outcome.words = static_cast<std::int64_t>(words.size());
  const auto current =
      db->query("SELECT version, tsv FROM dictionary_versions ORDER BY version DESC LIMIT 1");
  outcome.version = current.empty() ? 0 : current[0].integer(0);
  if (tsv == (current.empty() ? "" : current[0].text(1))) {
    transaction.commit();
    return outcome;
  }
  outcome.version += 1;
  outcome.changed = true;
  db->query(
      "INSERT INTO dictionary_versions (version, built_at, min_devices, words, tsv) VALUES "
      "(CAST($1 AS BIGINT), CAST($2 AS BIGINT), CAST($3 AS BIGINT), CAST($4 AS BIGINT), $5)",
      {value(outcome.version), value(now), value(minDevices), value(outcome.words), value(tsv)});
  db->query("DELETE FROM dictionary_versions WHERE version < CAST($1 AS BIGINT)",
            {value(outcome.version)});
  transaction.commit();
  return outcome;
}

PurgeOutcome Storage::purge(std::int64_t before) {
  auto db = pool_.acquire();
  Transaction transaction(*db, Transaction::Kind::write);
  PurgeOutcome outcome;
  outcome.feedback = countRows(
      *db, "DELETE FROM feedback WHERE received_at < CAST($1 AS BIGINT) RETURNING 1", before);
  outcome.crashReports = countRows(
      *db, "DELETE FROM crash_reports WHERE received_at < CAST($1 AS BIGINT) RETURNING 1", before);
  db->query(
      "DELETE FROM crash_groups WHERE NOT EXISTS (SELECT 1 FROM crash_reports WHERE "
      "crash_reports.group_id = crash_groups.id)");
  outcome.uploads = countRows(
      *db, "DELETE FROM uploads WHERE received_at < CAST($1 AS BIGINT) RETURNING 1", before);
  db->query(
      "DELETE FROM device_words WHERE device_id IN (SELECT device_id FROM devices WHERE "
      "last_seen < CAST($1 AS BIGINT))",
      {value(before)});
  outcome.devices = countRows(
      *db, "DELETE FROM devices WHERE last_seen < CAST($1 AS BIGINT) RETURNING 1", before);
  transaction.commit();
  return outcome;
}

Stats Storage::stats() {
  auto db = pool_.acquire();
  const SqlRow row = db->query(
      "SELECT (SELECT COUNT(*) FROM devices), (SELECT COUNT(*) FROM uploads), "
      "(SELECT COALESCE(MAX(version), 0) FROM dictionary_versions), "
      "(SELECT words FROM dictionary_versions ORDER BY version DESC LIMIT 1), "
      "(SELECT COUNT(*) FROM feedback), (SELECT COUNT(*) FROM crash_reports), "
      "(SELECT COUNT(*) FROM crash_groups), (SELECT COUNT(*) FROM releases)")[0];
  return {row.integer(0), row.integer(1), row.integer(2), row.integer(3),
          row.integer(4), row.integer(5), row.integer(6), row.integer(7)};
}

std::vector<StoredFeedback> Storage::feedbackSince(std::int64_t since, std::int64_t limit) {
  std::vector<StoredFeedback> found;
  for (const SqlRow& row : pool_.acquire()->query(
           "SELECT received_at, message, contact, version, device_id, host, os, sent_at FROM "
           "feedback WHERE received_at >= CAST($1 AS BIGINT) ORDER BY received_at DESC, id DESC "
           "LIMIT CAST($2 AS BIGINT)",
           {value(since), value(limit)})) {
    found.push_back({row.integer(0),
                     {row.text(1), row.text(2), row.text(3), row.text(4), row.text(5), row.text(6),
                      row.text(7)}});
  }
  return found;
}

std::vector<CrashGroup> Storage::crashGroups(std::int64_t limit) {
  std::vector<CrashGroup> groups;
  for (const SqlRow& row : pool_.acquire()->query(
           "SELECT id, signature, reports, first_seen, last_seen FROM crash_groups ORDER BY "
           "reports DESC, last_seen DESC LIMIT CAST($1 AS BIGINT)",
           {value(limit)})) {
    groups.push_back({row.integer(0), row.text(1), row.integer(2), row.integer(3), row.integer(4)});
  }
  return groups;
}

std::vector<StoredCrash> Storage::crashReports(std::int64_t groupID, std::int64_t limit) {
  std::vector<StoredCrash> reports;
  for (const SqlRow& row : pool_.acquire()->query(
           "SELECT received_at, report_id, type, name, reason, stack, version, device_id, host, "
           "os, sent_at FROM crash_reports WHERE group_id = CAST($1 AS BIGINT) ORDER BY "
           "received_at DESC, id DESC LIMIT CAST($2 AS BIGINT)",
           {value(groupID), value(limit)})) {
    CrashReport report{row.text(1), row.text(2), row.text(3), row.text(4), row.text(5),
                       row.text(6), row.text(7), row.text(8), row.text(9), row.text(10)};
    reports.push_back({row.integer(0), std::move(report)});
  }
  return reports;
}

void Storage::check() {
  pool_.acquire()->query("SELECT 1");
}

bool Storage::readOnly() {
  return pool_.acquire()->readOnly();
}

}  // namespace ornav::service
