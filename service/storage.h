// Everything the service keeps, over one database (SQLite or PostgreSQL) with the same statements
// for both. Every operation that stores something returns only after its transaction committed;
// every one throws StorageError when the database cannot do its part, having stored nothing.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "connection_pool.h"
#include "request_reading.h"

namespace ornav::service {

// A device's total for one word never exceeds this, so that neither a repeated upload nor a flood
// from one device weighs more than a steady user.
inline constexpr std::int64_t kDeviceWordCap = 100;

struct Release {
  std::string version, url, sha256, notes;
  std::optional<double> sizeMB;
};

// Each part absent until set; the application shows its built-in text for a missing one.
struct AboutText {
  std::optional<std::string> title, description, copyright;
};

struct Dictionary {
  std::int64_t version = 0;  // 0: no dictionary was built yet
  std::string tsv;           // word TAB count LF, by word
  std::int64_t words = 0;
};

struct RebuildOutcome {
  std::int64_t version = 0;
  std::int64_t words = 0;
  bool changed = false;  // false: the words were the same and the version stayed
};

struct PurgeOutcome {
  std::int64_t feedback = 0, crashReports = 0, uploads = 0, devices = 0;
};

struct StoredFeedback {
  std::int64_t receivedAt = 0;
  FeedbackRequest feedback;
};

struct CrashGroup {
  std::int64_t id = 0;
  std::string signature;
  std::int64_t reports = 0, firstSeen = 0, lastSeen = 0;
};

struct StoredCrash {
  std::int64_t receivedAt = 0;
  CrashReport report;
};

struct PublishedRelease {
  std::int64_t publishedAt = 0;
  Release release;
};

struct Stats {
  std::int64_t devices = 0, uploads = 0, dictionaryVersion = 0, dictionaryWords = 0, feedback = 0,
               crashReports = 0, crashGroups = 0, releases = 0;
};

class Storage {
 public:
  // Opens the database named by `databaseURL` ("sqlite:PATH" or "postgresql://..."), with up to
  // `connections` connections, and brings its schema up to date. Throws StorageError, or
  // std::invalid_argument for a URL of neither kind.
  static std::unique_ptr<Storage> open(const std::string& databaseURL, std::size_t connections);

  Storage(ConnectionPool::Opener opener, std::size_t connections);

  // Adds the upload's growth to the device's totals (each capped); the number of words kept.
  void recordUpload(const UploadRequest& upload, std::int64_t now);
  void recordFeedback(const FeedbackRequest& feedback, std::int64_t now);
  // False when this device already sent this report (it is kept once).
  bool recordCrash(const CrashReport& report, const std::string& signature, std::int64_t now);

  void publishRelease(const Release& release, std::int64_t now);
  // The release published last.
  std::optional<Release> latestRelease();

  // Every release, the newest first.
  std::vector<PublishedRelease> releases();

  void setAbout(const AboutText& about, std::int64_t now);
  AboutText about();

  std::int64_t dictionaryVersion();
  // The newest dictionary, read once per version and then kept in memory.
  std::shared_ptr<const Dictionary> dictionary();
  // Makes a new version from the words that at least `minDevices` devices sent, when they differ
  // from the served ones.
  RebuildOutcome rebuildDictionary(std::int64_t minDevices, std::int64_t now);

  // Removes feedback, crash reports and upload records received before `before`, and the word
  // totals of devices not seen since then.
  PurgeOutcome purge(std::int64_t before);
  Stats stats();

  // What operators read: feedback received since `since`, the newest first; crash groups, the
  // largest first; a group's newest reports.
  std::vector<StoredFeedback> feedbackSince(std::int64_t since, std::int64_t limit);
  std::vector<CrashGroup> crashGroups(std::int64_t limit);
  std::vector<StoredCrash> crashReports(std::int64_t groupID, std::int64_t limit);
  // A trivial query: whether the database answers at all.
  void check();
  // True when the database refuses writes (then requests that store answer 503).
  bool readOnly();

 private:
  ConnectionPool pool_;
  std::mutex cacheMutex_;
  std::shared_ptr<const Dictionary> cached_;
};

}  // namespace ornav::service
