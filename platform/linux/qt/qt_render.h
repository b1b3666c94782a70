// Pictures of the panel and the dialogs as the Qt windows draw them (with the offscreen platform
// too), for screenshots and for tests that check facts in the pixels.
#pragma once

#include <QImage>
#include <filesystem>

#include "ports/alerts.h"
#include "ports/bundle.h"
#include "ports/dialog_window.h"
#include "ports/panel_window.h"

namespace ornav::linux_platform {

// The scene drawn in a panel window of its own (never shown).
QImage renderPanelScene(const PanelScene& scene);
// A window built from `description` as it first shows (laid out, never on screen); named images
// come from `bundle` (may be null).
QImage renderWindowDescription(const WindowDescription& description, const Bundle* bundle);
// What a window of this platform shows now; a null image for windows of another platform.
QImage renderPanelWindow(const PanelWindow& window);
QImage renderDialogWindow(const DialogWindow& window);
// An alert's message box as it first shows (never on screen).
QImage renderAlert(const AlertDescription& alert);
// Writes `image` as a PNG file; false when it cannot be written.
bool savePng(const QImage& image, const std::filesystem::path& file);

}  // namespace ornav::linux_platform
