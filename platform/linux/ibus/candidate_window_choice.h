// Where ornavel-ibus shows its candidates: the user's setting when there is one, else by the kind
// of session (a Wayland client cannot place a window of its own under the caret, so the desktop's
// own candidate list is used there).
#pragma once

#include <optional>
#include <string>

#include "platform/linux/ibus/ibus_engine_host.h"

namespace ornav::linux_platform {

// The settings key and its two values.
inline constexpr const char* kCandidateWindowKey = "Ornavel.ibusCandidates";
inline constexpr const char* kCandidateWindowPanel = "panel";
inline constexpr const char* kCandidateWindowLookupTable = "lookup-table";

// `setting` is the key's value (absent or unknown: no choice), `sessionType` XDG_SESSION_TYPE.
CandidateWindow chooseCandidateWindow(const std::optional<std::string>& setting,
                                      const std::string& sessionType);

}  // namespace ornav::linux_platform
