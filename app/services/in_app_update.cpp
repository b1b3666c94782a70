// In-app installation: download the package named by the update check into the caches folder,
// verify it, and hand it to the system installer with administrator rights. Stages and the one
// outcome reach the caller on the main queue, in the order they happened.
//
// Threads: start() runs on the caller's thread, the download callbacks on the download's worker
// thread (the checksum tool runs there too), the installer on the background queue. The
// coordinator never calls the caller from those threads; it posts to the main queue.
#include "services/in_app_update.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <memory>
#include <mutex>
#include <thread>

#include "base/text.h"
#include "base/url_text.h"
#include "diagnostics/logger.h"
#include "ports/bundle.h"
#include "ports/http_session.h"
#include "ports/main_queue.h"
#include "ports/process_runner.h"
#include "services/http_failure.h"
#include "services/service_client.h"
#include "services/service_operation_support.h"
#include "services/service_settings.h"
#include "services/update_package.h"
#include "services/update_service.h"
#include "services/update_service_operations.h"

namespace ornav {
namespace {

const std::string kPendingInstallVersionKey = "Ornavel.pendingInstallVersion";
const std::string kPendingInstallStartedAtKey = "Ornavel.pendingInstallStartedAt";
constexpr double kDownloadIdleTimeout = 60;
constexpr double kDownloadResourceTimeout = 3600;
constexpr const char* kIncompleteDownloadText = "更新包下载不完整，请重试。";

using in_app_update::StepError;

std::string describe(const std::filesystem::path& path, const std::error_code& error) {
  return "“" + path.string() + "”：" + error.message();
}

// Tool output as UTF-8 text, trimmed; absent when it is not UTF-8.
std::optional<std::string> decodedTrimmed(const std::string& bytes) {
  if (!isValidUtf8(bytes)) return std::nullopt;
  return trimWhitespaceAndNewlines(bytes);
}

class UpdateCoordinator : public std::enable_shared_from_this<UpdateCoordinator> {
 public:
  UpdateCoordinator(UpdateInfo info, std::function<void(InAppUpdateStage)> progressHandler,
                    std::function<void(InAppUpdateResult)> completionHandler)
      : info_(std::move(info)),
        progressHandler_(std::move(progressHandler)),
        completionHandler_(std::move(completionHandler)) {}

  void start();

  // Drops the download handle once the outcome was delivered; it is only kept until then.
  void releaseDownload() {
    std::lock_guard lock(mutex_);
    download_.reset();
  }

 private:
  void report(const InAppUpdateStage& stage) {
    if (!ended_.load()) progressHandler_(stage);
  }
  // The one outcome; anything reported after it is dropped.
  void end(InAppUpdateResult result) {
    if (ended_.exchange(true)) return;
    completionHandler_(std::move(result));
  }
  void fail(std::string message) { end(InAppUpdateResult::failure(std::move(message))); }

  void didWriteData(std::int64_t written, std::int64_t expected) {
    report(InAppUpdateStage::downloading(written, expected));
  }
  void didFinishDownloading(const std::string& temporaryFile);
  void didComplete(const std::optional<HttpError>& error) {
    if (error) {
      fail(failureText(*error));
    } else if (!bodyArrived_.load()) {
      // Without this the caller would wait forever for an outcome.
      fail(kIncompleteDownloadText);
    }
  }
  void install(const std::filesystem::path& package);

  const UpdateInfo info_;
  const std::function<void(InAppUpdateStage)> progressHandler_;
  const std::function<void(InAppUpdateResult)> completionHandler_;
  std::string sourceURL_;
  std::atomic<bool> ended_{false};
  std::atomic<bool> bodyArrived_{false};
  std::mutex mutex_;
  std::shared_ptr<DownloadTask> download_;
};

void UpdateCoordinator::start() {
  const std::string link = UpdateService::normalizedDownloadURLString(info_.preferredDownloadURL());
  if (link.empty() || !url_text::isUsableEndpoint(link)) {
    fail(in_app_update::kInvalidLinkText);
    return;
  }
  // A package that travels over plain http and is not checked against a digest from the service
  // could have been replaced by anyone on the way; it must never reach the installer, which runs
  // with administrator rights. Refused before anything is downloaded.
  if (isPlainHttpURL(link) && info_.sha256.empty()) {
    Logger::write("应用内更新：安装包链接未加密且没有校验值，拒绝安装");
    fail(in_app_update::kUnverifiedPlainHttpText);
    return;
  }
  sourceURL_ = link;
  report(InAppUpdateStage::preparing());

  DownloadSession* session = ServiceClient::current().downloads;
  if (session == nullptr) {
    fail("网络服务不可用");
    return;
  }
  DownloadRequest request;
  request.request.url = link;
  request.request.method = "GET";
  request.request.headers = {{"User-Agent", "Ornavel/" + UpdateService::currentVersion()}};
  request.request.cachePolicy = CachePolicy::useProtocol;
  request.request.timeoutSeconds = service_ops::timeout(kDownloadIdleTimeout);
  request.resourceTimeoutSeconds =
      std::max(request.request.timeoutSeconds, service_ops::timeout(kDownloadResourceTimeout));
  request.request.maxResponseBytes = in_app_update::downloadLimitBytes(info_.fileSizeMB);

  // The handlers keep the coordinator alive until the download has ended.
  std::shared_ptr<UpdateCoordinator> self = shared_from_this();
  DownloadHandlers handlers;
  handlers.progress = [self](std::int64_t written, std::int64_t expected) {
    self->didWriteData(written, expected);
  };
  handlers.finished = [self](const std::string& path, int) { self->didFinishDownloading(path); };
  handlers.completed = [self](std::optional<HttpError> error) { self->didComplete(error); };
  std::shared_ptr<DownloadTask> task = session->download(request, std::move(handlers));
  std::lock_guard lock(mutex_);
  download_ = std::move(task);
}

// Runs before the download deletes its temporary file, so the package is moved away first.
void UpdateCoordinator::didFinishDownloading(const std::string& temporaryFile) {
  bodyArrived_ = true;
  if (ended_.load()) return;
  auto destination = in_app_update::makeDownloadedPackageURL(info_, sourceURL_);
  if (const auto* error = std::get_if<StepError>(&destination)) {
    fail(error->description);
    return;
  }
  const std::filesystem::path package = std::get<std::filesystem::path>(destination);
  if (auto error = in_app_update::movePackage(temporaryFile, package)) {
    fail(error->description);
    return;
  }
  report(InAppUpdateStage::verifying());

  if (!info_.sha256.empty()) {
    auto computed = in_app_update::sha256String(package);
    if (const auto* error = std::get_if<StepError>(&computed)) {
      fail(error->description);
      return;
    }
    if (!checksumMatches(info_.sha256, std::get<std::string>(computed))) {
      fail(in_app_update::kChecksumMismatchText);
      return;
    }
  }
  install(package);
}

void UpdateCoordinator::install(const std::filesystem::path& package) {
  in_app_update::markPendingInstall(info_.version);
  report(InAppUpdateStage::installing());
  std::shared_ptr<UpdateCoordinator> self = shared_from_this();
  in_app_update::installPackage(package, [self](bool success, std::string message) {
    in_app_update::clearPendingInstall();
    if (!success) {
      self->fail(std::move(message));
      return;
    }
    self->report(InAppUpdateStage::completed());
    self->end(InAppUpdateResult::success());
  });
}

std::mutex& activeMutex() {
  static std::mutex mutex;
  return mutex;
}

// The coordinator of the running installation, kept until its outcome was delivered.
std::shared_ptr<UpdateCoordinator>& activeUpdateCoordinator() {
  static std::shared_ptr<UpdateCoordinator> active;
  return active;
}

void runInBackground(std::function<void()> work) {
  if (BackgroundQueue* queue = ServiceClient::current().backgroundQueue) {
    queue->post(std::move(work));
  } else {
    std::thread(std::move(work)).detach();
  }
}

ProcessOutcome runProcess(const ProcessRequest& request) {
  if (ProcessRunner* runner = ServiceClient::current().processes) return runner->run(request);
  return ProcessLaunchError{"无法启动 " + request.path};
}

}  // namespace

namespace in_app_update {

StepResult<std::filesystem::path> updateDownloadDirectory() {
  std::filesystem::path base;
  if (const Folders* folders = ServiceClient::current().folders) {
    base = folders->caches();
    if (base.empty()) base = folders->temporary();
  }
  if (base.empty()) base = std::filesystem::temp_directory_path();
  std::filesystem::path directory = base / "Ornavel" / "Updates";
  std::error_code error;
  std::filesystem::create_directories(directory, error);
  if (error) return StepError{"无法创建更新下载文件夹" + describe(directory, error)};
  if (!std::filesystem::is_directory(directory, error)) {
    return StepError{"无法创建更新下载文件夹" +
                     describe(directory, std::make_error_code(std::errc::not_a_directory))};
  }
  return directory;
}

std::int64_t downloadLimitBytes(const std::optional<double>& fileSizeMB) {
  constexpr double kMiB = 1024.0 * 1024.0;
  // Sizes past a terabyte are no real package; they count as unknown rather than overflow.
  if (!fileSizeMB || !(*fileSizeMB > 0) || *fileSizeMB > 1024.0 * 1024.0) return -1;
  const double offered = *fileSizeMB * kMiB;
  return static_cast<std::int64_t>(std::ceil(offered + std::max(offered / 10, kMiB)));
}

StepResult<std::filesystem::path> makeDownloadedPackageURL(const UpdateInfo& info,
                                                           const std::string& sourceURL) {
  StepResult<std::filesystem::path> directory = updateDownloadDirectory();
  if (std::holds_alternative<StepError>(directory)) return directory;
  return std::get<std::filesystem::path>(directory) / downloadedPackageName(info, sourceURL);
}

std::optional<StepError> movePackage(const std::filesystem::path& source,
                                     const std::filesystem::path& destination) {
  std::error_code ignored;
  std::filesystem::remove(destination, ignored);
  std::error_code error;
  std::filesystem::rename(source, destination, error);
  if (!error) return std::nullopt;
  // The download's temporary folder may sit on another file system than the caches folder.
  if (error == std::errc::cross_device_link) {
    error.clear();
    std::filesystem::copy_file(source, destination,
                               std::filesystem::copy_options::overwrite_existing, error);
    if (!error) {
      std::filesystem::remove(source, ignored);
      return std::nullopt;
    }
    std::filesystem::remove(destination, ignored);
  }
  return StepError{"无法保存安装包" + describe(destination, error)};
}

StepResult<std::string> sha256String(const std::filesystem::path& file) {
  ProcessRequest request;
  request.path = std::string(kShasumPath);
  request.arguments = shasumArguments(file.string());
  request.captureStandardOutput = true;
  request.captureStandardError = true;
  ProcessOutcome outcome = runProcess(request);
  if (const auto* launch = std::get_if<ProcessLaunchError>(&outcome)) {
    return StepError{launch->description};
  }
  const ProcessResult& result = std::get<ProcessResult>(outcome);
  if (result.exitStatus == 0) {
    if (!isValidUtf8(result.standardOutput)) return std::string();
    return firstShasumField(result.standardOutput);
  }
  std::optional<std::string> message = decodedTrimmed(result.standardError);
  // An empty text would leave the user with a blank alert.
  if (!message || message->empty()) return StepError{kChecksumToolFailedText};
  return StepError{*message};
}

void installPackage(const std::filesystem::path& package,
                    std::function<void(bool success, std::string message)> completion) {
  runInBackground([package, completion = std::move(completion)] {
    ProcessRequest request;
    request.path = std::string(kInstallerLauncher);
    request.arguments = installerArguments(package.string());
    request.captureStandardOutput = false;
    request.captureStandardError = true;
    ProcessOutcome outcome = runProcess(request);
    if (const auto* launch = std::get_if<ProcessLaunchError>(&outcome)) {
      completion(false, launch->description);
      return;
    }
    const ProcessResult& result = std::get<ProcessResult>(outcome);
    if (result.exitStatus == 0) {
      completion(true, {});
      return;
    }
    std::optional<std::string> message = decodedTrimmed(result.standardError);
    completion(false, message && !message->empty() ? *message : kInstallerFailedText);
  });
}

void markPendingInstall(const std::string& version) {
  service_settings::setString(kPendingInstallVersionKey, version);
  service_settings::setDouble(kPendingInstallStartedAtKey, service_ops::nowSeconds());
  Logger::write("应用内更新：记录待安装版本 " + version);
}

void clearPendingInstall() {
  service_settings::remove(kPendingInstallVersionKey);
  service_settings::remove(kPendingInstallStartedAtKey);
}

}  // namespace in_app_update

void UpdateServiceOperations::downloadAndInstallUpdate(
    const UpdateInfo& info, std::function<void(InAppUpdateStage)> progress,
    std::function<void(InAppUpdateResult)> completion) {
  auto progressHandler = [progress = std::move(progress)](InAppUpdateStage stage) {
    service_ops::postToMain([progress, stage] { progress(stage); });
  };
  // Filled in below; the completion step needs to know which coordinator it belongs to.
  auto holder = std::make_shared<std::weak_ptr<UpdateCoordinator>>();
  auto completionHandler = [completion = std::move(completion), holder](InAppUpdateResult result) {
    service_ops::postToMain([completion, holder, result] {
      std::shared_ptr<UpdateCoordinator> finished = holder->lock();
      {
        // A newer installation may have replaced this one meanwhile; only this one's own
        // reference is dropped, so the newer one stays alive.
        std::lock_guard lock(activeMutex());
        if (activeUpdateCoordinator() == finished) activeUpdateCoordinator().reset();
      }
      if (finished) finished->releaseDownload();
      completion(result);
    });
  };
  auto coordinator = std::make_shared<UpdateCoordinator>(info, std::move(progressHandler),
                                                         std::move(completionHandler));
  *holder = coordinator;
  {
    std::lock_guard lock(activeMutex());
    activeUpdateCoordinator() = coordinator;
  }
  coordinator->start();
}

std::optional<PendingInstallNotice> UpdateServiceOperations::consumePendingInstallNotice() {
  std::optional<std::string> pending = service_settings::string(kPendingInstallVersionKey);
  if (!pending || pending->empty()) return std::nullopt;
  const std::string current = UpdateService::currentVersion();
  if (current != *pending && !UpdateService::isNewer(current, *pending)) return std::nullopt;
  in_app_update::clearPendingInstall();
  Logger::write("应用内更新：检测到版本已切到 " + current + "，补发安装完成提示");
  return PendingInstallNotice::installed(*pending);
}

}  // namespace ornav
