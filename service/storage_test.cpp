// The storage suite, run against SQLite and against a real PostgreSQL (`--postgres`, which exits
// 77 where PostgreSQL is not installed), plus two service processes sharing one PostgreSQL.
#include <gtest/gtest.h>
#include <httplib.h>

#include <cstring>

#include "base/temporary_folder.h"
#include "crash_signature.h"
#include "storage.h"
#include "testing/scratch_postgres.h"
#include "testing/service_process.h"

namespace ornav::service {
namespace {

const std::string kKitab = "كىتاب", kMektep = "مەكتەپ", kAlma = "ئالما", kQelem = "قەلەم";

// A signal report without a stack, an exception report with one.
CrashReport crash(const std::string& id, const std::string& device, const std::string& name,
                  const std::string& stack) {
  return {id, stack.empty() ? "signal" : "exception", name, "", stack, "", device, "", "", ""};
}

class StorageSuite : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    url_ = GetParam() ? testing::freshPostgresDatabase() : "sqlite:" + (folder_ / "db").string();
    storage_ = Storage::open(url_, 2);
  }
  TemporaryFolder folder_;
  std::string url_;
  std::unique_ptr<Storage> storage_;
};

TEST_P(StorageSuite, EachDevicesTotalIsCappedAndOnlyWordsFromKDevicesAreServed) {
  // kAlma from 4 devices, kKitab from 5 (one of them floods it), kMektep from 6; k = 5.
  for (int device = 0; device < 6; ++device) {
    std::vector<WordCount> words = {{kMektep, 10}};
    if (device < 5) words.push_back({kKitab, device == 0 ? kDeviceWordCap : 10});
    if (device < 4) words.push_back({kAlma, 10});
    storage_->recordUpload(UploadRequest{"D" + std::to_string(device), words}, 1000);
  }
  storage_->recordUpload(UploadRequest{"D0", {{kKitab, 50}}}, 1001);  // beyond the cap: stays 100
  RebuildOutcome built = storage_->rebuildDictionary(5, 2000);
  EXPECT_TRUE(built.changed);
  EXPECT_EQ(storage_->dictionary()->tsv, kKitab + "\t140\n" + kMektep + "\t60\n");
  EXPECT_EQ(built.version, storage_->dictionaryVersion());

  // The same words again: the version stays; a fifth device for kAlma makes a new one.
  EXPECT_FALSE(storage_->rebuildDictionary(5, 2001).changed);
  storage_->recordUpload(UploadRequest{"D5", {{kAlma, 1}}}, 1002);
  built = storage_->rebuildDictionary(5, 2002);
  EXPECT_EQ(built.words, 3);
  EXPECT_EQ(storage_->dictionary()->version, built.version);
  const Stats stats = storage_->stats();
  EXPECT_EQ(stats.devices, 6);
  EXPECT_EQ(stats.uploads, 8);
  EXPECT_EQ(stats.dictionaryWords, 3);
}

TEST_P(StorageSuite, CrashReportsAreGroupedBySignatureAndKeptOnce) {
  const std::string stack = "0 Ornavel 0x0000000104a1 crashHere + 12\n1 Ornavel 0x00000001 main";
  const std::string rebuilt = "0 Ornavel 0x00000009ff00 crashHere + 40\n1 Ornavel 0x02 main";
  struct Row {
    CrashReport report;
    bool stored;
  } rows[] = {
      {crash("signal-11-1", "A", "SIGSEGV", ""), true},
      {crash("signal-11-1", "A", "SIGSEGV", ""), false},  // sent again
      {crash("signal-11-1", "B", "SIGSEGV", ""), true},   // same name, another device
      {crash("E1", "A", "std::out_of_range", stack), true},
      {crash("E2", "B", "std::out_of_range", rebuilt), true},  // only addresses differ
      {crash("E3", "B", "std::bad_alloc", stack), true},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(storage_->recordCrash(row.report, crashSignature(row.report), 10), row.stored)
        << row.report.reportID;
  }
  const std::vector<CrashGroup> groups = storage_->crashGroups(10);
  ASSERT_EQ(groups.size(), 3u);
  EXPECT_EQ(groups[0].reports + groups[1].reports + groups[2].reports, 5);
  EXPECT_EQ(storage_->crashReports(groups[0].id, 10).size(), 2u);
}

TEST_P(StorageSuite, ReleasesAboutTextAndPurgeKeepWhatTheySay) {
  EXPECT_FALSE(storage_->latestRelease());
  storage_->publishRelease({"1.2", "https://a/1.pkg", std::string(64, 'a'), "", 12.5}, 10);
  storage_->publishRelease({"1.1", "https://a/2.pkg", std::string(64, 'b'), "修复", {}}, 11);
  const auto latest = storage_->latestRelease();
  ASSERT_TRUE(latest);
  EXPECT_EQ(latest->url, "https://a/2.pkg");  // the one published last
  EXPECT_EQ(latest->notes, "修复");
  EXPECT_FALSE(latest->sizeMB);

  const std::string hostile = "'); DROP TABLE about; -- \"\\ $1 ?";
  storage_->setAbout({hostile, std::nullopt, "©"}, 12);
  const AboutText about = storage_->about();
  EXPECT_EQ(about.title, hostile);
  EXPECT_FALSE(about.description);

  FeedbackRequest feedback{hostile, "", "1.0", "OLD", "", "", ""};
  storage_->recordFeedback(feedback, 100);
  storage_->recordUpload(UploadRequest{"OLD", {{kQelem, 3}}}, 100);
  feedback.device = "NEW";
  storage_->recordFeedback(feedback, 300);
  storage_->recordUpload(UploadRequest{"NEW", {{kQelem, 3}}}, 300);
  const PurgeOutcome purged = storage_->purge(200);
  const auto kept = storage_->feedbackSince(0, 10);
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(kept[0].feedback.message, hostile);
  EXPECT_EQ(kept[0].feedback.device, "NEW");
  EXPECT_EQ(purged.feedback, 1);
  EXPECT_EQ(purged.uploads, 1);
  EXPECT_EQ(purged.devices, 1);
  EXPECT_EQ(storage_->rebuildDictionary(1, 400).words, 1);
  EXPECT_EQ(storage_->dictionary()->tsv, kQelem + "\t3\n");  // only the device still seen
  // Opening again migrates nothing and finds everything.
  EXPECT_EQ(Storage::open(url_, 1)->stats().feedback, 1);
}

INSTANTIATE_TEST_SUITE_P(Sqlite, StorageSuite, ::testing::Values(false));
INSTANTIATE_TEST_SUITE_P(Postgres, StorageSuite, ::testing::Values(true));

TEST(TwoProcessesOnPostgres, ServeOneDictionaryAndBothAcceptUploads) {
  const std::string database = testing::freshPostgresDatabase();
  testing::ServiceProcess first(database), second(database);
  ASSERT_TRUE(first.port() && second.port());
  int accepted = 0;
  for (int device = 0; device < 4; ++device) {
    httplib::Client client("127.0.0.1", device % 2 ? first.port() : second.port());
    const std::string body = R"({"device":"P)" + std::to_string(device) +
                             R"(","entries":[{"word":")" + kAlma + R"(","count":2}]})";
    const auto answer = client.Post("/api/ornav-ime/user-dict", body, "application/json");
    accepted += answer && answer->status == 200;
  }
  EXPECT_EQ(accepted, 4);
  EXPECT_EQ(testing::runAdmin(database, {"rebuild-dictionary", "--min-devices", "4"}).first, 0);
  const auto one = httplib::Client("127.0.0.1", first.port()).Get("/api/ornav-ime/dict?since=0");
  const auto two = httplib::Client("127.0.0.1", second.port()).Get("/api/ornav-ime/dict?since=0");
  ASSERT_TRUE(one && two);
  EXPECT_EQ(one->body, two->body);
  EXPECT_NE(one->body.find(kAlma + "\\t8"), std::string::npos) << one->body;
  EXPECT_NE(testing::runAdmin(database, {"stats", "--json"}).second.find("\"uploads\":4"),
            std::string::npos);
}

}  // namespace
}  // namespace ornav::service

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  const bool postgres = argc > 1 && std::strcmp(argv[1], "--postgres") == 0;
  if (postgres && !ornav::service::testing::scratchPostgresURL())
    return ornav::service::testing::kSkipped;
  if (GTEST_FLAG_GET(filter) == "*") GTEST_FLAG_SET(filter, postgres ? "*Postgres*" : "Sqlite/*");
  return RUN_ALL_TESTS();
}
