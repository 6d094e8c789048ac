#include "support/gui_app.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace lv_test {

void EnsureGuiApplication() {
  if (QCoreApplication::instance() != nullptr) {
    return;
  }
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  }
  if (std::getenv("XDG_RUNTIME_DIR") == nullptr) {
    const std::string dir = "/tmp/lv-test-xdg-" + std::to_string(getuid());
    mkdir(dir.c_str(), 0700);
    chmod(dir.c_str(), 0700);
    setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
  }
  // Lives until the process ends (a Qt application object must not be
  // destroyed after main returns).
  static int argc = 1;
  static char name[] = "lv-test";
  static char* argv[] = {name, nullptr};
  new QApplication(argc, argv);
}

std::string GalleryFolder(const std::string& sub) {
  std::filesystem::path folder = std::filesystem::path(LV_GALLERY_ROOT) / sub;
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  return folder.string();
}

}  // namespace lv_test
