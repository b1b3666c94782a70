// The registration tool's run: register the installed input method with the system's list of
// text input sources, then report in fixed lines what the system lists for it. The tool never
// fails: every outcome is a message, and the exit status is always 0.
#pragma once

#include <ostream>

#include "input_source_registry.h"

namespace srcenrol {

// The installed application and the identifier it is listed under.
inline constexpr char kBundlePath[] = "/Library/Input Methods/Ornavel.app";
inline constexpr char kBundleIdentifier[] = "com.ornav.inputmethod.Ornavel";

// The report's lines (UTF-8; each printed with a line feed).
inline constexpr char kRegistered[] = "✅ TISRegisterInputSource 成功，系统已登记输入法";
inline constexpr char kRegistrationFailedPrefix[] = "❌ TISRegisterInputSource 失败，OSStatus=";
inline constexpr char kListedPrefix[] = "✅ 系统已能枚举到本输入法，共 ";
inline constexpr char kListedSuffix[] = " 个模式：";
inline constexpr char kSourcePrefix[] = "   - ";
inline constexpr char kNotListedYet[] =
    "⚠️ 注册返回成功但仍枚举不到，可能需要注销重登";

// Registers kBundlePath, lists the sources of kBundleIdentifier and writes the report to `out`.
// Answers the process's exit status: always 0.
int enrol(InputSourceRegistry& registry, std::ostream& out);

}  // namespace srcenrol
