// Images for dialog image controls, from the sources a description lists.
#pragma once

#include <QIcon>
#include <vector>

#include "ports/bundle.h"
#include "ports/dialog_window.h"

namespace ornav::linux_platform {

class ImageLoader {
 public:
  // Named images and the application icon are looked up in `bundle`'s resources (may be null).
  explicit ImageLoader(const Bundle* bundle) : bundle_(bundle) {}

  // The first source that loads; a null icon when none does.
  QIcon load(const std::vector<ImageSource>& sources) const;
  QIcon load(const ImageSource& source) const;

 private:
  QIcon named(const std::string& name) const;
  QIcon applicationIcon() const;

  const Bundle* bundle_;
};

}  // namespace ornav::linux_platform
