// ornav-screenshots: draws the candidate panel and every state of the dialogs as PNG files, with
// the offscreen Qt platform unless another is asked for.
//
//   ornav-screenshots BUNDLE.app OUTPUT_FOLDER
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "platform/linux/qt/qt_render.h"
#include "platform/linux/screenshots/screenshot_book.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: ornav-screenshots BUNDLE.app OUTPUT_FOLDER\n");
    return 2;
  }
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication qt(argc, argv);
  const std::filesystem::path out = argv[2];
  std::error_code error;
  std::filesystem::create_directories(out, error);
  int status = 0;
  for (const auto& shot : ornav::linux_platform::takeScreenshots(argv[1])) {
    const auto file = out / (shot.name + ".png");
    if (!ornav::linux_platform::savePng(shot.image, file)) {
      std::fprintf(stderr, "ornav-screenshots: cannot write %s\n", file.c_str());
      status = 1;
      continue;
    }
    std::printf("%s\n", file.c_str());
  }
  return status;
}
