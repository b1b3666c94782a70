// The pictures of the README and the documentation: the candidate panel in its three looks and
// every state of the dialogs, drawn by the Qt windows exactly as the program draws them (the
// offscreen platform does too). The portable panel and dialogs make them, fed by scripted
// services and the candidates of the bundle's own dictionary.
#pragma once

#include <QImage>
#include <filesystem>
#include <string>
#include <vector>

#include "ports/panel_window.h"

namespace ornav::linux_platform {

struct Screenshot {
  std::string name;  // the file name without ".png"
  QImage image;
  PanelScene scene;  // what a panel picture shows; empty for dialogs and alerts
};

// Needs a QApplication. `bundlePath` is the assembled Ornavel.app (icon, font, dictionary).
std::vector<Screenshot> takeScreenshots(const std::filesystem::path& bundlePath);

}  // namespace ornav::linux_platform
