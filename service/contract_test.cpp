// The application's own operations (UpdateService over libcurl, TLS verified against the test's
// certificate; the crash reporter; the engine's merge of the cloud dictionary) against the real
// service: what the service answers is exactly what the application reads.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/temporary_folder.h"
#include "diagnostics/crash_reporter.h"
#include "ornav_engine.h"
#include "platform/linux/curl_http_session.h"
#include "platform/linux/file_settings.h"
#include "platform/linux/run_loop.h"
#include "platform/linux/system_services.h"
#include "services/service_client.h"
#include "services/update_service.h"
#include "services/update_service_operations.h"
#include "test_dict.h"
#include "testing/live_service.h"
#include "testing/local_http_server.h"

namespace ornav::service {
namespace {

std::string taken(char* text) {
  std::string copy = text != nullptr ? text : "";
  orn_string_free(text);
  return copy;
}

class Contract : public ::testing::Test {
 protected:
  void SetUp() override {
    identity_ = ::ornav::testing::makeLoopbackTlsIdentity(folder_.path().string());
    ASSERT_TRUE(identity_) << "the openssl program makes the test certificate";
    service_ = std::make_unique<testing::LiveService>(
        "sqlite:" + (folder_ / "db").string(), ServiceLimits{},
        FrontEndOptions{.tls = TlsFiles{identity_->certificateFile, identity_->keyFile}});
    http_.emplace(loop_, identity_->certificateFile);
  }

  // One installation of the application: its own settings (so its own device identifier).
  void becomeDevice(int number) {
    installation_.reset();
    settings_.emplace(folder_ / ("device" + std::to_string(number) + ".json"), nullptr);
    client_.emplace(ServiceEnvironment{.settings = &*settings_,
                                       .mainQueue = &loop_,
                                       .clock = &clock_,
                                       .http = &*http_,
                                       .baseURL = service_->frontEnd.baseURL()});
    installation_.emplace(*client_);
    UpdateServiceOperations::setUploadConsent(true);  // a user who agreed to share
  }

  template <typename T>
  T await(const std::function<void(std::function<void(T)>)>& start) {
    std::optional<T> result;
    start([&](T value) { result = std::move(value); });
    EXPECT_TRUE(loop_.runUntil([&] { return result.has_value(); }, Seconds(20)));
    return result.value_or(T{});
  }

  TemporaryFolder folder_;
  std::optional<::ornav::testing::TlsIdentity> identity_;
  std::unique_ptr<testing::LiveService> service_;
  linux_platform::RunLoop loop_;
  linux_platform::WallClock clock_;
  std::optional<linux_platform::CurlHttpSession> http_;
  std::optional<linux_platform::FileSettings> settings_;
  std::optional<ServiceClient> client_;
  std::optional<InstalledServiceClient> installation_;
};

TEST_F(Contract, UpdateAboutFeedbackAndCrashReportsReadWhatTheServiceAnswers) {
  const std::string sha(64, 'c'), url = "https://dl.example/Ornavel-9.1.pkg";
  service_->storage->publishRelease({"9.1", url, sha, "新", 12.5}, 1);
  service_->storage->setAbout({"关于", std::nullopt, "©"}, 1);
  becomeDevice(1);

  const UpdateResult update = await<UpdateResult>(UpdateService::checkForUpdates);
  EXPECT_EQ(update, UpdateResult::available({"9.1", url, url, "新", sha, 12.5}));
  const auto about = await<std::optional<AboutContent>>(UpdateService::fetchAboutContent);
  EXPECT_EQ(about, (AboutContent{"关于", UpdateService::defaultAbout().description, "©"}));
  const FeedbackResult feedback = await<FeedbackResult>(
      [](auto done) { UpdateService::submitFeedback("候选词太少", "me@example.org", done); });
  EXPECT_EQ(feedback, FeedbackResult::success("反馈已提交，感谢你的帮助。"));

  // A crash of an earlier run: the marker is sent and deleted once the service took it.
  CrashReporter reporter({.baseDir = folder_ / "support",
                          .deviceID = "D1",
                          .reportURL = UpdateService::crashReportURL(),
                          .http = &*http_});
  std::filesystem::create_directories(reporter.dir());
  std::ofstream(reporter.signalMarkerPath()) << "11\n";
  reporter.uploadPending();
  EXPECT_TRUE(loop_.runUntil([&] { return !std::filesystem::exists(reporter.signalMarkerPath()); },
                             Seconds(20)));
  EXPECT_EQ(service_->storage->stats().feedback + service_->storage->stats().crashReports, 2);
}

TEST_F(Contract, AWordFromKDevicesReachesAnotherDevicesCandidatesAndOneFromFewerNever) {
  const std::string dict = (folder_ / "dict").string();
  std::filesystem::create_directories(dict);
  ::ornav::testing::write_dict(dict, {{"ئالما", 50}}, {});
  const std::string computer = "كومپيۇتېر", phone = "تېلېفون";
  const auto engineOf = [&](int device) {
    const auto user = folder_ / ("user" + std::to_string(device));
    std::filesystem::create_directories(user);
    return orn_engine_new(dict.c_str(), user.c_str());
  };
  // Three devices type "computer"; two of them also "phone". k = 3.
  for (int device = 1; device <= 3; ++device) {
    OrnEngine* engine = engineOf(device);
    for (const std::string& word : {computer, phone}) {
      if (word == phone && device == 3) continue;
      orn_input(engine, word.c_str());
      taken(orn_commit_raw(engine));
    }
    const std::string counts =
        taken(orn_export_user_freq(engine)) + "\n" + taken(orn_export_user_unknown(engine));
    orn_engine_free(engine);
    becomeDevice(device);
    EXPECT_TRUE(
        await<bool>([&](auto done) { UpdateService::uploadUserDict(counts, false, done); }));
  }
  service_->storage->rebuildDictionary(3, 100);

  becomeDevice(4);
  const auto fetched = await<std::optional<CloudDict>>(
      [](auto done) { UpdateService::fetchCloudDict(UpdateService::cloudDictVersion(), done); });
  ASSERT_TRUE(fetched);
  OrnEngine* engine = engineOf(4);
  EXPECT_EQ(orn_sync_extra_dict(engine, fetched->tsv.c_str()), 1);
  orn_input(engine, "كوم");
  EXPECT_NE(taken(orn_candidates(engine)).find(computer), std::string::npos);
  orn_reset(engine);
  orn_input(engine, "تې");
  EXPECT_EQ(taken(orn_candidates(engine)).find(phone), std::string::npos);
  orn_engine_free(engine);
  // Once merged, the same version is not sent again.
  EXPECT_FALSE(await<std::optional<CloudDict>>(
      [&](auto done) { UpdateService::fetchCloudDict(fetched->version, done); }));
}

}  // namespace
}  // namespace ornav::service
