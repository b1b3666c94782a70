// What the dialogs ask of the online services: the update check and installation, the pending
// install notice, feedback, the about text, the running version and the welcome flag. Production
// code forwards to UpdateService; tests substitute their own.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "services/update_types.h"

namespace ornav {

class DialogServices {
 public:
  virtual ~DialogServices() = default;

  // Every completion and progress call runs later on the main queue, never inside the call.
  virtual void checkForUpdates(std::function<void(UpdateResult)> completion) = 0;
  virtual void downloadAndInstallUpdate(const UpdateInfo& info,
                                        std::function<void(InAppUpdateStage)> progress,
                                        std::function<void(InAppUpdateResult)> completion) = 0;
  virtual void submitFeedback(const std::string& message, const std::string& contact,
                              std::function<void(FeedbackResult)> completion) = 0;
  virtual void fetchAboutContent(std::function<void(std::optional<AboutContent>)> completion) = 0;

  // Reading the notice clears it.
  virtual std::optional<PendingInstallNotice> consumePendingInstallNotice() = 0;
  virtual std::string currentVersion() const = 0;
  virtual std::string feedbackURL() const = 0;
  virtual AboutContent defaultAbout() const = 0;
  virtual bool hasShownWelcome() const = 0;
  virtual void setHasShownWelcome(bool shown) = 0;
};

}  // namespace ornav
