#include "dialogs/update_service_dialog_services.h"

#include "services/update_service.h"

namespace ornav {

void UpdateServiceDialogServices::checkForUpdates(std::function<void(UpdateResult)> completion) {
  UpdateService::checkForUpdates(std::move(completion));
}

void UpdateServiceDialogServices::downloadAndInstallUpdate(
    const UpdateInfo& info, std::function<void(InAppUpdateStage)> progress,
    std::function<void(InAppUpdateResult)> completion) {
  UpdateService::downloadAndInstallUpdate(info, std::move(progress), std::move(completion));
}

void UpdateServiceDialogServices::submitFeedback(const std::string& message,
                                                 const std::string& contact,
                                                 std::function<void(FeedbackResult)> completion) {
  UpdateService::submitFeedback(message, contact, std::move(completion));
}

void UpdateServiceDialogServices::fetchAboutContent(
    std::function<void(std::optional<AboutContent>)> completion) {
  UpdateService::fetchAboutContent(std::move(completion));
}

std::optional<PendingInstallNotice> UpdateServiceDialogServices::consumePendingInstallNotice() {
  return UpdateService::consumePendingInstallNotice();
}

std::string UpdateServiceDialogServices::currentVersion() const {
  return UpdateService::currentVersion();
}

std::string UpdateServiceDialogServices::feedbackURL() const {
  return UpdateService::feedbackURL();
}

AboutContent UpdateServiceDialogServices::defaultAbout() const {
  return UpdateService::defaultAbout();
}

bool UpdateServiceDialogServices::hasShownWelcome() const {
  return UpdateService::hasShownWelcome();
}

void UpdateServiceDialogServices::setHasShownWelcome(bool shown) {
  UpdateService::setHasShownWelcome(shown);
}

}  // namespace ornav
