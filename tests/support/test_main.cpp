// main() of every test program: SIGPIPE is ignored (a peer that closes a
// socket must give an error, not kill the test); Qt gets a configuration
// folder of this process's own, then GoogleTest runs.
//
// Qt's file dialog restores its last folder from the user's QtProject.conf
// and writes it back: test programs running at once would share that file,
// and a folder left there by another program (/proc, say) would be where
// every scripted file dialog opens. A private folder keeps each run to
// itself; it is removed when the program ends.
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  std::signal(SIGPIPE, SIG_IGN);
  std::error_code ec;
  const std::filesystem::path config =
      std::filesystem::temp_directory_path(ec) / ("lv-test-config-" + std::to_string(getpid()));
  std::filesystem::create_directories(config, ec);
  setenv("XDG_CONFIG_HOME", config.c_str(), 1);
  ::testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  std::filesystem::remove_all(config, ec);
  return result;
}
