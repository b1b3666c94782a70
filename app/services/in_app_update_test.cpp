#include "services/in_app_update.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>

#include "platform/linux/testing/service_test_support.h"
#include "services/update_package.h"
#include "services/update_service_operations.h"

namespace ornav {
namespace {

using service_testing::Outcome;
using service_testing::ServiceTest;
using Ops = UpdateServiceOperations;
using Kind = InAppUpdateStage::Kind;

ProcessRequest command(std::string path, std::vector<std::string> arguments) {
  ProcessRequest request;
  request.path = std::move(path);
  request.arguments = std::move(arguments);
  return request;
}

std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

std::string upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return text;
}

// Reads back an AppleScript string literal body: \\ and \" stand for \ and ".
std::string appleScriptUnescaped(const std::string& body) {
  std::string out;
  for (size_t i = 0; i < body.size(); ++i) {
    if (body[i] == '\\' && i + 1 < body.size()) ++i;
    out.push_back(body[i]);
  }
  return out;
}

struct InstallRun {
  std::vector<InAppUpdateStage> stages;
  InAppUpdateResult result;
  int offMainStages = 0;

  std::vector<Kind> kinds() const {
    std::vector<Kind> kinds;
    for (const auto& stage : stages) {
      if (kinds.empty() || kinds.back() != stage.kind || stage.kind != Kind::downloading) {
        kinds.push_back(stage.kind);
      }
    }
    return kinds;  // consecutive downloading stages folded into one
  }
  std::vector<InAppUpdateStage> downloads() const {
    std::vector<InAppUpdateStage> out;
    for (const auto& stage : stages) {
      if (stage.kind == Kind::downloading) out.push_back(stage);
    }
    return out;
  }
};

class InAppUpdateTest : public ServiceTest {
 protected:
  void SetUp() override {
    ServiceTest::SetUp();
    package_ = std::string(300 * 1024, 'P') + "end";
    digest_ = sha256Of(package_);
  }

  std::string sha256Of(const std::string& content) {
    auto file = temp_.write("digest-input", content);
    ProcessOutcome outcome = realProcesses_.run(command("/usr/bin/sha256sum", {file.string()}));
    return std::get<ProcessResult>(outcome).standardOutput.substr(0, 64);
  }

  void servePackage(const std::string& path, bool withLength = true, int status = 200) {
    testing::ServerReply reply;
    reply.status = status;
    reply.body = package_;
    reply.withoutLength = !withLength;
    reply.chunkSize = 64 * 1024;
    server_->reply("GET", path, reply);
  }

  UpdateInfo infoFor(const std::string& link, std::string sha256) {
    UpdateInfo info;
    info.version = "2.1";
    info.directDownloadURL = link;
    info.sha256 = std::move(sha256);
    return info;
  }

  InstallRun install(const UpdateInfo& info) {
    InstallRun run;
    const std::thread::id main = mainThread_;
    run.result = await<InAppUpdateResult>([&](auto done) {
      Ops::downloadAndInstallUpdate(
          info,
          [&run, main](InAppUpdateStage stage) {
            if (std::this_thread::get_id() != main) ++run.offMainStages;
            run.stages.push_back(stage);
          },
          std::move(done));
    });
    EXPECT_EQ(run.offMainStages, 0);
    return run;
  }

  std::vector<ProcessRequest> requestsFor(const std::string& program) const {
    std::vector<ProcessRequest> out;
    for (const auto& request : processes_.requests()) {
      if (request.path == program) out.push_back(request);
    }
    return out;
  }

  std::filesystem::path updatesFolder() const { return folders_->cachesPath / "Ornavel/Updates"; }

  std::string package_;
  std::string digest_;
};

TEST_F(InAppUpdateTest, HttpPackageWithMatchingUpperCaseChecksumInstalls) {
  servePackage("/files/Ornavel Setup (2).pkg");
  std::optional<std::string> markerDuringInstall;
  processes_.handler = [&](const ProcessRequest& request) -> ProcessOutcome {
    if (request.path != "/usr/bin/osascript") return realProcesses_.run(request);
    markerDuringInstall = settings_->getString("Ornavel.pendingInstallVersion");
    return ProcessResult{};
  };

  InstallRun run =
      install(infoFor(server_->url("/files/Ornavel%20Setup%20(2).pkg"), upper(digest_)));

  EXPECT_EQ(run.result, InAppUpdateResult::success());
  EXPECT_EQ(run.kinds(), (std::vector<Kind>{Kind::preparing, Kind::downloading, Kind::verifying,
                                            Kind::installing, Kind::completed}));
  auto downloads = run.downloads();
  ASSERT_FALSE(downloads.empty());
  for (size_t i = 1; i < downloads.size(); ++i) {
    EXPECT_GE(downloads[i].receivedBytes, downloads[i - 1].receivedBytes);
  }
  EXPECT_EQ(downloads.back().receivedBytes, static_cast<int64_t>(package_.size()));
  EXPECT_EQ(downloads.back().totalBytes, static_cast<int64_t>(package_.size()));

  const auto saved = updatesFolder() / "Ornavel-Setup-2-.pkg";
  EXPECT_EQ(readFile(saved), package_);
  auto shasum = requestsFor("/usr/bin/shasum");
  ASSERT_EQ(shasum.size(), 1u);
  EXPECT_EQ(shasum[0].arguments, (std::vector<std::string>{"-a", "256", saved.string()}));
  auto installer = requestsFor("/usr/bin/osascript");
  ASSERT_EQ(installer.size(), 1u);
  EXPECT_EQ(installer[0].arguments, installerArguments(saved.string()));

  EXPECT_EQ(markerDuringInstall, "2.1");
  EXPECT_FALSE(settings_->contains("Ornavel.pendingInstallVersion"));
  EXPECT_FALSE(settings_->contains("Ornavel.pendingInstallStartedAt"));
  EXPECT_TRUE(logged("应用内更新：记录待安装版本 2.1"));
  EXPECT_EQ(server_->requests().back().header("User-Agent"), "Ornavel/2.0");
}

TEST(DownloadLimit, IsTheOfferedSizeWithAMargin) {
  constexpr std::int64_t kMiB = 1024 * 1024;
  EXPECT_EQ(in_app_update::downloadLimitBytes(std::nullopt), -1);
  EXPECT_EQ(in_app_update::downloadLimitBytes(0.0), -1);
  EXPECT_EQ(in_app_update::downloadLimitBytes(-3.0), -1);
  EXPECT_EQ(in_app_update::downloadLimitBytes(std::nan("")), -1);
  EXPECT_EQ(in_app_update::downloadLimitBytes(1e12), -1);  // no real package
  // Below 10 MiB the margin is 1 MiB, above it a tenth; at 10 MiB both agree.
  EXPECT_EQ(in_app_update::downloadLimitBytes(2.0), 3 * kMiB);
  EXPECT_EQ(in_app_update::downloadLimitBytes(10.0), 11 * kMiB);
  EXPECT_EQ(in_app_update::downloadLimitBytes(100.0), 110 * kMiB);
}

TEST_F(InAppUpdateTest, APackageFarLargerThanOfferedIsRefused) {
  servePackage("/big.pkg");  // about 300 KiB
  UpdateInfo info = infoFor(server_->url("/big.pkg"), digest_);
  info.fileSizeMB = 0.01;  // a limit of about 1 MiB: the package fits
  EXPECT_EQ(install(info).result.kind, InAppUpdateResult::Kind::success);

  package_ = std::string(3 * 1024 * 1024, 'Q');  // 3 MiB against an offer of 1 MiB
  servePackage("/big.pkg");
  info.sha256 = sha256Of(package_);
  info.fileSizeMB = 1.0;
  const InstallRun run = install(info);
  ASSERT_EQ(run.result.kind, InAppUpdateResult::Kind::failure);
  EXPECT_NE(run.result.message.find("返回的数据过大"), std::string::npos) << run.result.message;
  EXPECT_TRUE(requestsFor("/usr/bin/osascript").size() == 1u);  // only the first installation
}

TEST_F(InAppUpdateTest, DownloadWithoutLengthReportsMinusOne) {
  servePackage("/p.pkg", /*withLength=*/false);
  InstallRun run = install(infoFor(server_->url("/p.pkg"), digest_));
  EXPECT_EQ(run.result, InAppUpdateResult::success());
  auto downloads = run.downloads();
  ASSERT_FALSE(downloads.empty());
  for (const auto& stage : downloads)
    EXPECT_EQ(stage.totalBytes, -1);
  EXPECT_EQ(downloads.back().receivedBytes, static_cast<int64_t>(package_.size()));
}

TEST_F(InAppUpdateTest, PlainHttpWithoutChecksumIsNeverInstalled) {
  servePackage("/p.pkg");
  InstallRun run = install(infoFor(server_->url("/p.pkg"), ""));
  EXPECT_EQ(run.result, InAppUpdateResult::failure("更新包未经校验，已取消安装。"));
  EXPECT_TRUE(run.stages.empty());
  EXPECT_TRUE(server_->requests().empty());  // not even downloaded
  EXPECT_TRUE(processes_.requests().empty());
  EXPECT_FALSE(settings_->contains("Ornavel.pendingInstallVersion"));
}

TEST_F(InAppUpdateTest, HttpsWithoutChecksumIsNotRefused) {
  // Nothing listens there, so the download itself fails: the link was accepted.
  const int port = testing::unusedLoopbackPort();
  InstallRun run = install(infoFor("https://127.0.0.1:" + std::to_string(port) + "/p.pkg", ""));
  ASSERT_EQ(run.result.kind, InAppUpdateResult::Kind::failure);
  EXPECT_NE(run.result.message, "更新包未经校验，已取消安装。");
  EXPECT_FALSE(run.result.message.empty());
  EXPECT_EQ(run.kinds(), std::vector<Kind>{Kind::preparing});
}

TEST_F(InAppUpdateTest, ChecksumMismatchStopsBeforeTheInstaller) {
  servePackage("/p.pkg");
  InstallRun run = install(infoFor(server_->url("/p.pkg"), std::string(64, 'a')));
  EXPECT_EQ(run.result, InAppUpdateResult::failure("安装包校验失败，请重新下载后重试。"));
  EXPECT_EQ(run.kinds(), (std::vector<Kind>{Kind::preparing, Kind::downloading, Kind::verifying}));
  EXPECT_TRUE(requestsFor("/usr/bin/osascript").empty());
  EXPECT_FALSE(settings_->contains("Ornavel.pendingInstallVersion"));
  EXPECT_TRUE(std::filesystem::exists(updatesFolder() / "p.pkg"));  // the file stays
}

TEST_F(InAppUpdateTest, ExpectedChecksumIsNotTrimmed) {
  servePackage("/p.pkg");
  InstallRun run = install(infoFor(server_->url("/p.pkg"), digest_ + " "));
  EXPECT_EQ(run.result, InAppUpdateResult::failure("安装包校验失败，请重新下载后重试。"));
}

TEST_F(InAppUpdateTest, ErrorPageIsSavedAndCaughtByTheChecksum) {
  servePackage("/missing.pkg", true, 404);
  package_ = "<html>not here</html>";
  servePackage("/missing.pkg", true, 404);
  InstallRun run = install(infoFor(server_->url("/missing.pkg"), digest_));
  EXPECT_EQ(run.result, InAppUpdateResult::failure("安装包校验失败，请重新下载后重试。"));
  EXPECT_EQ(readFile(updatesFolder() / "missing.pkg"), "<html>not here</html>");
}

TEST_F(InAppUpdateTest, UnusableLinksFailBeforeAnyStage) {
  for (const auto& [direct, fallback] : std::vector<std::pair<std::string, std::string>>{
           {"", ""}, {"/only/a/path", ""}, {"   ", "/x"}}) {
    UpdateInfo info = infoFor(direct, digest_);
    info.fallbackURL = fallback;
    InstallRun run = install(info);
    EXPECT_EQ(run.result, InAppUpdateResult::failure("更新下载链接无效")) << direct;
    EXPECT_TRUE(run.stages.empty());
  }
  EXPECT_TRUE(server_->requests().empty());
}

TEST_F(InAppUpdateTest, FallbackLinkIsUsedWhenTheDirectOneIsEmpty) {
  servePackage("/mirror/p.pkg");
  UpdateInfo info = infoFor("", digest_);
  info.fallbackURL = server_->url("/mirror/p.pkg");
  EXPECT_EQ(install(info).result, InAppUpdateResult::success());
}

TEST_F(InAppUpdateTest, ReplacesAnEarlierDownloadOfTheSameName) {
  std::filesystem::create_directories(updatesFolder());
  std::ofstream(updatesFolder() / "p.pkg") << "old";
  servePackage("/p.pkg");
  EXPECT_EQ(install(infoFor(server_->url("/p.pkg"), digest_)).result, InAppUpdateResult::success());
  EXPECT_EQ(readFile(updatesFolder() / "p.pkg"), package_);
}

TEST_F(InAppUpdateTest, DownloadFolderThatCannotBeCreatedFails) {
  std::ofstream(temp_ / "caches-file") << "x";
  folders_->cachesPath = temp_ / "caches-file";
  servePackage("/p.pkg");
  InstallRun run = install(infoFor(server_->url("/p.pkg"), digest_));
  ASSERT_EQ(run.result.kind, InAppUpdateResult::Kind::failure);
  EXPECT_EQ(run.result.message.rfind("无法创建更新下载文件夹", 0), 0u) << run.result.message;
  EXPECT_TRUE(requestsFor("/usr/bin/osascript").empty());
}

TEST_F(InAppUpdateTest, TransportFailureOfTheDownload) {
  setServiceTimeout(0.5);
  server_->hang("GET", "/slow.pkg");
  InstallRun run = install(infoFor(server_->url("/slow.pkg"), digest_));
  ASSERT_EQ(run.result.kind, InAppUpdateResult::Kind::failure);
  EXPECT_FALSE(run.result.message.empty());
  EXPECT_EQ(run.kinds(), std::vector<Kind>{Kind::preparing});
}

TEST_F(InAppUpdateTest, SecondInstallationWhileTheFirstDownloadsBothEndOnce) {
  testing::ServerReply slow;
  slow.body = package_;
  slow.withoutLength = true;
  slow.chunkSize = 64 * 1024;
  slow.chunkDelay = std::chrono::milliseconds(60);
  server_->reply("GET", "/slow.pkg", slow);
  servePackage("/fast.pkg");

  Outcome<InAppUpdateResult> first;
  Outcome<InAppUpdateResult> second;
  Ops::downloadAndInstallUpdate(
      infoFor(server_->url("/slow.pkg"), digest_), [](InAppUpdateStage) {}, recorder(first));
  Ops::downloadAndInstallUpdate(
      infoFor(server_->url("/fast.pkg"), digest_), [](InAppUpdateStage) {}, recorder(second));
  runUntil([&] { return !first.values.empty() && !second.values.empty(); });
  settle();
  ASSERT_EQ(first.values.size(), 1u);
  ASSERT_EQ(second.values.size(), 1u);
  EXPECT_EQ(first.values[0], InAppUpdateResult::success());
  EXPECT_EQ(second.values[0], InAppUpdateResult::success());
  EXPECT_EQ(first.offMainCalls + second.offMainCalls, 0);
  EXPECT_EQ(requestsFor("/usr/bin/osascript").size(), 2u);
}

class InstallerTest : public InAppUpdateTest {
 protected:
  void SetUp() override {
    InAppUpdateTest::SetUp();
    servePackage("/p.pkg");
  }
  void scriptInstaller(std::function<ProcessOutcome()> answer) {
    processes_.handler = [this, answer](const ProcessRequest& request) -> ProcessOutcome {
      if (request.path == "/usr/bin/osascript") return answer();
      return realProcesses_.run(request);
    };
  }
  InstallRun installIt() { return install(infoFor(server_->url("/p.pkg"), digest_)); }
};

ProcessResult exited(int status, std::string standardError) {
  ProcessResult result;
  result.exitStatus = status;
  result.standardError = std::move(standardError);
  return result;
}

TEST_F(InstallerTest, FailingInstallerReportsItsTrimmedErrorAndClearsTheMarker) {
  scriptInstaller([] { return exited(1, "  installer: Error - the package is damaged.\n"); });
  InstallRun run = installIt();
  EXPECT_EQ(run.result, InAppUpdateResult::failure("installer: Error - the package is damaged."));
  EXPECT_EQ(run.kinds(), (std::vector<Kind>{Kind::preparing, Kind::downloading, Kind::verifying,
                                            Kind::installing}));
  EXPECT_FALSE(settings_->contains("Ornavel.pendingInstallVersion"));
  EXPECT_FALSE(settings_->contains("Ornavel.pendingInstallStartedAt"));
}

TEST_F(InstallerTest, CancelledPasswordDialogIsAFailure) {
  scriptInstaller([] { return exited(1, "0:120: execution error: User canceled. (-128)\n"); });
  EXPECT_EQ(installIt().result,
            InAppUpdateResult::failure("0:120: execution error: User canceled. (-128)"));
}

TEST_F(InstallerTest, SilentOrUnreadableFailureGetsTheBuiltInText) {
  scriptInstaller([] { return exited(2, " \n"); });
  EXPECT_EQ(installIt().result, InAppUpdateResult::failure("系统安装器返回失败"));
  scriptInstaller([] { return exited(2, "\xFF\xFE"); });
  EXPECT_EQ(installIt().result, InAppUpdateResult::failure("系统安装器返回失败"));
}

TEST_F(InstallerTest, InstallerThatCannotStartFails) {
  scriptInstaller([]() -> ProcessOutcome { return ProcessLaunchError{"无法启动 osascript"}; });
  EXPECT_EQ(installIt().result, InAppUpdateResult::failure("无法启动 osascript"));
}

TEST_F(InstallerTest, RealRunnerWithoutTheMacInstallerFailsCleanly) {
  if (std::filesystem::exists("/usr/bin/osascript")) GTEST_SKIP() << "a real installer is here";
  scriptInstaller([this]() -> ProcessOutcome {
    return realProcesses_.run(command("/usr/bin/osascript", {"-e", "x"}));
  });
  InstallRun run = installIt();
  ASSERT_EQ(run.result.kind, InAppUpdateResult::Kind::failure);
  EXPECT_FALSE(run.result.message.empty());
  EXPECT_FALSE(settings_->contains("Ornavel.pendingInstallVersion"));
}

TEST_F(InstallerTest, PathWithAQuoteReachesTheInstallerAsOneWord) {
  folders_->cachesPath = temp_ / "o'brien \"caches\" $HOME";
  InstallRun run = installIt();
  ASSERT_EQ(run.result, InAppUpdateResult::success());
  const std::string package = (updatesFolder() / "p.pkg").string();
  EXPECT_EQ(readFile(package), package_);

  auto installer = requestsFor("/usr/bin/osascript");
  ASSERT_EQ(installer.size(), 1u);
  ASSERT_EQ(installer[0].arguments.size(), 2u);
  EXPECT_EQ(installer[0].arguments[0], "-e");
  const std::string& script = installer[0].arguments[1];
  const std::string prefix = "do shell script \"";
  const std::string suffix = "\" with administrator privileges";
  ASSERT_EQ(script.rfind(prefix, 0), 0u);
  ASSERT_EQ(script.substr(script.size() - suffix.size()), suffix);
  const std::string shellCommand = appleScriptUnescaped(
      script.substr(prefix.size(), script.size() - prefix.size() - suffix.size()));
  const std::string head = "/usr/sbin/installer -pkg ";
  const std::string tail = " -target /";
  ASSERT_EQ(shellCommand.rfind(head, 0), 0u);
  ASSERT_EQ(shellCommand.substr(shellCommand.size() - tail.size()), tail);
  // Let a real shell split the command's package word and print what it got.
  const std::string word =
      shellCommand.substr(head.size(), shellCommand.size() - head.size() - tail.size());
  ProcessOutcome echoed =
      realProcesses_.run(command("/bin/sh", {"-c", "printf '%s|' " + word + " -target"}));
  EXPECT_EQ(std::get<ProcessResult>(echoed).standardOutput, package + "|-target|");
}

class ChecksumToolTest : public InstallerTest {
 protected:
  void scriptShasum(std::function<ProcessOutcome()> answer) {
    processes_.handler = [answer](const ProcessRequest& request) -> ProcessOutcome {
      if (request.path == "/usr/bin/shasum") return answer();
      return ProcessResult{};
    };
  }
};

TEST_F(ChecksumToolTest, ToolFailureReportsItsError) {
  scriptShasum([] { return exited(1, "shasum: p.pkg: Permission denied\n"); });
  EXPECT_EQ(installIt().result, InAppUpdateResult::failure("shasum: p.pkg: Permission denied"));
  scriptShasum([] { return exited(1, "\xC3"); });
  EXPECT_EQ(installIt().result, InAppUpdateResult::failure("无法计算安装包校验值"));
  scriptShasum([]() -> ProcessOutcome { return ProcessLaunchError{"没有 shasum"}; });
  EXPECT_EQ(installIt().result, InAppUpdateResult::failure("没有 shasum"));
  EXPECT_TRUE(requestsFor("/usr/bin/osascript").empty());
}

TEST_F(ChecksumToolTest, OutputIsReadAsDigestThenPath) {
  scriptShasum([this] {
    ProcessResult result;
    result.standardOutput = digest_ + "  /some where/p.pkg\n";
    return result;
  });
  EXPECT_EQ(installIt().result, InAppUpdateResult::success());
}

class PendingInstallTest : public ServiceTest {};

TEST_F(PendingInstallTest, NoticeOnceTheRunningVersionCaughtUp) {
  settings_->setString("Ornavel.pendingInstallVersion", "2.1");
  settings_->setDouble("Ornavel.pendingInstallStartedAt", 5);
  setRunningVersion("2.0");
  EXPECT_EQ(Ops::consumePendingInstallNotice(), std::nullopt);
  EXPECT_TRUE(settings_->contains("Ornavel.pendingInstallVersion"));

  setRunningVersion("2.1");
  EXPECT_EQ(Ops::consumePendingInstallNotice(), PendingInstallNotice::installed("2.1"));
  EXPECT_FALSE(settings_->contains("Ornavel.pendingInstallVersion"));
  EXPECT_FALSE(settings_->contains("Ornavel.pendingInstallStartedAt"));
  EXPECT_TRUE(logged("应用内更新：检测到版本已切到 2.1，补发安装完成提示"));
  EXPECT_EQ(Ops::consumePendingInstallNotice(), std::nullopt);
}

TEST_F(PendingInstallTest, NewerRunningVersionAlsoConsumes) {
  settings_->setString("Ornavel.pendingInstallVersion", "2.1");
  setRunningVersion("2.3");
  EXPECT_EQ(Ops::consumePendingInstallNotice(), PendingInstallNotice::installed("2.1"));
}

TEST_F(PendingInstallTest, EmptyOrMissingMarkerGivesNothing) {
  EXPECT_EQ(Ops::consumePendingInstallNotice(), std::nullopt);
  settings_->setString("Ornavel.pendingInstallVersion", "");
  EXPECT_EQ(Ops::consumePendingInstallNotice(), std::nullopt);
  EXPECT_TRUE(logMessages().empty());
}

}  // namespace
}  // namespace ornav
