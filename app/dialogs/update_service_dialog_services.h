// The dialogs' services in the running application: UpdateService's operations, which reach the
// service client of the installed Application.
#pragma once

#include "dialogs/dialog_services.h"

namespace ornav {

class UpdateServiceDialogServices : public DialogServices {
 public:
  void checkForUpdates(std::function<void(UpdateResult)> completion) override;
  void downloadAndInstallUpdate(const UpdateInfo& info,
                                std::function<void(InAppUpdateStage)> progress,
                                std::function<void(InAppUpdateResult)> completion) override;
  void submitFeedback(const std::string& message, const std::string& contact,
                      std::function<void(FeedbackResult)> completion) override;
  void fetchAboutContent(std::function<void(std::optional<AboutContent>)> completion) override;
  std::optional<PendingInstallNotice> consumePendingInstallNotice() override;
  std::string currentVersion() const override;
  std::string feedbackURL() const override;
  AboutContent defaultAbout() const override;
  bool hasShownWelcome() const override;
  void setHasShownWelcome(bool shown) override;
};

}  // namespace ornav
