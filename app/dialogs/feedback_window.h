// The feedback window: a message, an optional contact, and the buttons to send it, to use the
// web page instead, or to give up.
#pragma once

#include "ports/dialog_window.h"

namespace ornav::feedback_window {

inline constexpr const char* kTitle = "提交反馈";

// Control names.
inline constexpr const char* kHeadline = "headline";
inline constexpr const char* kHint = "hint";
inline constexpr const char* kMessage = "message";
inline constexpr const char* kContactLabel = "contactLabel";
inline constexpr const char* kContact = "contact";
inline constexpr const char* kWebButton = "web";
inline constexpr const char* kCancelButton = "cancel";
inline constexpr const char* kSubmitButton = "submit";

// An empty form; the message has the keyboard focus when it opens.
WindowDescription describe();

}  // namespace ornav::feedback_window
