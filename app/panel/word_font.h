// The font of the candidate words: the application's own "ornav.ttf", registered for the process,
// or a system font when that fails. Loaded once per panel, never while the candidates change.
#pragma once

#include <functional>
#include <string>

#include "ports/bundle.h"
#include "ports/text_measurer.h"
#include "ports/ui_types.h"

namespace ornav {

inline constexpr const char* kWordFontFailedLog =
    "CandidatePanel: ornav.ttf 加载失败，回退系统字体";
// The Arabic-script font every Mac has, used when ours cannot be loaded.
inline constexpr const char* kFallbackWordFontName = "Geeza Pro";

// The bundle's "ornav"."ttf" registered through `measurer` at `size` points. When the resource is
// missing, does not register or gives no usable font, logs kWordFontFailedLog once and answers
// kFallbackWordFontName at `size`, or the system font at `size` when that font is missing too.
// Registering a file that is already registered answers its name again, so a second panel of the
// process gets the same font.
Font loadWordFont(double size, const Bundle* bundle, TextMeasurer& measurer,
                  const std::function<void(const std::string&)>& log);

}  // namespace ornav
