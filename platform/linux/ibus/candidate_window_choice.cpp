#include "platform/linux/ibus/candidate_window_choice.h"

namespace ornav::linux_platform {

CandidateWindow chooseCandidateWindow(const std::optional<std::string>& setting,
                                      const std::string& sessionType) {
  if (setting == kCandidateWindowPanel) return CandidateWindow::panel;
  if (setting == kCandidateWindowLookupTable) return CandidateWindow::lookupTable;
  return sessionType == "wayland" ? CandidateWindow::lookupTable : CandidateWindow::panel;
}

}  // namespace ornav::linux_platform
