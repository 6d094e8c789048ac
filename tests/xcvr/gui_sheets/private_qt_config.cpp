// Qt's file dialog restores its last folder from the user's QtProject.conf.
// A folder left there by another program (for example /proc, where reading
// a file can block forever) would stall every dialog these tests open, so
// this test program gives Qt a configuration folder of its own before any
// Qt object exists.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

struct PrivateQtConfig {
  PrivateQtConfig() {
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
  }
  ~PrivateQtConfig() {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("lv-xcvr-gui-qtconfig-" + std::to_string(getpid()));
};

const PrivateQtConfig kPrivateQtConfig;

}  // namespace
