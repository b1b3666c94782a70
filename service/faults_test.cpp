// The program under faults: killed with SIGKILL in the middle of a load of uploads, a database on
// a full disk or read-only, and admin commands given what they must refuse.
#include <gtest/gtest.h>
#include <httplib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <mutex>
#include <set>
#include <thread>

#include "base/temporary_folder.h"
#include "base/text.h"
#include "sqlite_connection.h"
#include "storage.h"
#include "testing/service_process.h"

namespace ornav::service {
namespace {

// An upload of `words` different dictionary words, the first numbered `first`.
std::string uploadBody(const std::string& device, int first, int words) {
  static const std::vector<std::string> letters = codePoints("ابتجخدرزسشغفقكلمنوىيپچژڭگھۆۇۈۋېە");
  std::string entries;
  for (int i = 0; i < words; ++i) {
    std::string word;
    for (int n = first + i, l = 0; l < 4; ++l, n /= int(letters.size()))
      word += letters[n % letters.size()];
    entries += (i ? "," : "") + std::string(R"({"word":")") + word + R"(","count":1})";
  }
  return R"({"device":")" + device + R"(","entries":[)" + entries + "]}";
}

const std::vector<std::string> kNoLimits = {"--uploads-per-hour", "0", "--requests-per-address",
                                            "0"};

class Faults : public ::testing::Test {
 protected:
  std::string database() const { return "sqlite:" + (folder_ / "db").string(); }
  std::set<std::string> stored(const std::string& sql) {
    std::set<std::string> values;
    for (const SqlRow& row : SqliteConnection((folder_ / "db").string()).query(sql))
      values.insert(row.text(0));
    return values;
  }
  TemporaryFolder folder_;
};

TEST_F(Faults, KilledDuringUploadsLosesNoUploadItAcknowledged) {
  testing::ServiceProcess service(database(), kNoLimits);
  ASSERT_NE(service.port(), 0);
  std::mutex mutex;
  std::vector<std::string> acknowledged;  // the devices whose upload was answered "ok"
  std::atomic<bool> stop = false;
  std::vector<std::thread> senders;
  for (int sender = 0; sender < 4; ++sender) {
    senders.emplace_back([&, sender] {
      httplib::Client client("127.0.0.1", service.port());
      for (int i = 0; !stop; ++i) {
        const std::string device = "K" + std::to_string(sender) + "-" + std::to_string(i);
        const auto answer =
            client.Post("/api/ornav-ime/user-dict", uploadBody(device, i, 20), "application/json");
        if (!answer) return;
        std::lock_guard lock(mutex);
        if (answer->status == 200) acknowledged.push_back(device);
      }
    });
  }
  for (int waited = 0; waited < 2000; ++waited) {
    if (std::lock_guard lock(mutex); acknowledged.size() >= 100) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  service.end(SIGKILL);
  stop = true;
  for (std::thread& sender : senders)
    sender.join();

  const std::set<std::string> uploads = stored("SELECT device_id FROM uploads");
  const std::set<std::string> withWords = stored("SELECT DISTINCT device_id FROM device_words");
  for (const std::string& device : acknowledged) {
    EXPECT_TRUE(uploads.count(device) && withWords.count(device)) << device << " was lost";
  }
  std::printf("acknowledged %zu uploads, stored %zu\n", acknowledged.size(), uploads.size());
  EXPECT_EQ(stored("PRAGMA integrity_check"), std::set<std::string>{"ok"});
}

TEST_F(Faults, AFullDiskOrAReadOnlyDatabaseIsAnswered503) {
  Storage::open(database(), 1);  // the schema, so that start-up writes nothing
  const auto before = std::filesystem::file_size(folder_ / "db");
  {
    // The file-size limit stands for a full disk: the write-ahead log soon cannot grow.
    testing::ServiceProcess full(database(), kNoLimits,
                                 {"prlimit", "--fsize=" + std::to_string(before + 65536), "--"});
    httplib::Client client("127.0.0.1", full.port());
    int status = 0, acknowledged = 0;
    for (int i = 0; i < 200 && status != 503; ++i) {
      const auto answer =
          client.Post("/api/ornav-ime/user-dict", uploadBody("F" + std::to_string(i), i * 200, 200),
                      "application/json");
      status = answer ? answer->status : 0;
      acknowledged += status == 200;
    }
    EXPECT_EQ(status, 503);
    EXPECT_TRUE(full.alive());
    EXPECT_EQ(stored("SELECT COUNT(*) FROM uploads"),
              std::set<std::string>{std::to_string(acknowledged)});
  }
  EXPECT_EQ(stored("PRAGMA integrity_check"), std::set<std::string>{"ok"});

  // Read-only: to the service's user (root may write anything, so the service runs as nobody).
  ::chmod((folder_ / "db").c_str(), 0444);
  ::chmod(folder_.path().c_str(), 0777);
  std::vector<std::string> asNobody;
  if (::geteuid() == 0)
    asNobody = {"setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups"};
  testing::ServiceProcess readOnly(database(), kNoLimits, asNobody);
  httplib::Client client("127.0.0.1", readOnly.port());
  const auto upload =
      client.Post("/api/ornav-ime/user-dict", uploadBody("R", 0, 1), "application/json");
  EXPECT_EQ(upload ? upload->status : 0, 503);
  const auto about = client.Get("/api/ornav-ime/about");
  EXPECT_EQ(about ? about->status : 0, 200);  // reading still works
  EXPECT_TRUE(readOnly.alive());
}

TEST_F(Faults, PublishingRefusesWhatNoApplicationCouldCheckAndStoresNothing) {
  const std::string sha(64, 'A'), https = "https://dl.example/a.pkg";
  const auto publish = [&](std::string version, std::string url, std::string sum,
                           std::vector<std::string> more = {}) {
    std::vector<std::string> args = {"publish-release", "--version", version, "--url", url};
    if (!sum.empty()) args.insert(args.end(), {"--sha256", sum});
    args.insert(args.end(), more.begin(), more.end());
    return testing::runAdmin(database(), args).first;
  };
  EXPECT_EQ(publish("1.2", "http://dl.example/a.pkg", sha), 1);
  EXPECT_EQ(publish("1.2", https, "abc"), 1);
  EXPECT_EQ(publish("1.2", https, ""), 1);
  EXPECT_EQ(publish("1.2-beta", https, sha), 1);
  EXPECT_EQ(publish("1.2", https, sha, {"--size-mb", "-3"}), 1);
  EXPECT_EQ(publish("1.2", https, sha, {"--bogus"}), 2);
  EXPECT_EQ(publish("1.2", https, sha), 0);
  EXPECT_EQ(stored("SELECT sha256 || COUNT(*) FROM releases"),
            std::set<std::string>{std::string(64, 'a') + "1"});
}

}  // namespace
}  // namespace ornav::service
