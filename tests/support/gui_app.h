// The Qt application object of the test programs that draw or show windows.
#pragma once

#include <string>

namespace lv_test {

// Creates the application object on the first call (call it on the main
// thread, from a fixture's SetUp). Runs Qt on the offscreen platform unless
// QT_QPA_PLATFORM says otherwise, and gives Qt a private XDG_RUNTIME_DIR when
// none is set.
void EnsureGuiApplication();

// A folder of the build tree for pictures a person may look at
// (<build>/gallery/<sub>), created when missing.
std::string GalleryFolder(const std::string& sub);

}  // namespace lv_test
