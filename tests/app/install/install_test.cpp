// The install rules, through the real `cmake --install` into a temporary
// prefix: the program in bin/, the desktop entry in share/applications/ and
// the icon in share/icons/hicolor/<size>/apps/, the entry naming the program
// and the icon that were installed, and the installed program running.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/gui/window_icon.h"
#include "support/gui_app.h"

namespace {

namespace fs = std::filesystem;

std::string ReadText(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The keys of the [Desktop Entry] group; malformed lines are collected.
struct DesktopEntry {
  std::map<std::string, std::string> keys;
  std::vector<std::string> malformed;
  bool hasGroup = false;
};

DesktopEntry ParseDesktopEntry(const std::string& text) {
  DesktopEntry e;
  std::istringstream in(text);
  std::string line;
  std::string group;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    if (line.front() == '[' && line.back() == ']') {
      group = line.substr(1, line.size() - 2);
      e.hasGroup |= group == "Desktop Entry";
      continue;
    }
    const size_t eq = line.find('=');
    if (eq == std::string::npos || eq == 0 || group.empty()) {
      e.malformed.push_back(line);
      continue;
    }
    if (group == "Desktop Entry") {
      if (!e.keys.emplace(line.substr(0, eq), line.substr(eq + 1)).second) e.malformed.push_back("twice: " + line);
    }
  }
  return e;
}

class InstallTest : public ::testing::Test {
 protected:
  void SetUp() override {
    lv_test::EnsureGuiApplication();
    prefix_ = fs::temp_directory_path() / ("lv_install_" + std::to_string(::getpid()));
    fs::remove_all(prefix_);
    fs::create_directories(prefix_);
    const fs::path log = prefix_ / "install.log";
    const std::string cmd = std::string("'") + LV_CMAKE_COMMAND + "' --install '" + LV_BUILD_DIR + "' --prefix '" +
                            (prefix_ / "usr").string() + "' > '" + log.string() + "' 2>&1";
    const int rc = std::system(cmd.c_str());
    ASSERT_EQ(rc, 0) << ReadText(log);
  }
  void TearDown() override { fs::remove_all(prefix_); }

  fs::path Usr() const { return prefix_ / "usr"; }
  fs::path prefix_;
};

TEST_F(InstallTest, TheDesktopEntryNamesTheInstalledProgramAndIcon) {
  const fs::path entryPath = Usr() / "share" / "applications" / "lumvard-sorvek.desktop";
  ASSERT_TRUE(fs::is_regular_file(entryPath));
  const DesktopEntry e = ParseDesktopEntry(ReadText(entryPath));
  ASSERT_TRUE(e.hasGroup);
  EXPECT_TRUE(e.malformed.empty()) << e.malformed[0];
  const std::map<std::string, std::string> want{
      {"Type", "Application"}, {"Name", "Lumvard Sorvek"}, {"Icon", "lumvard-sorvek"}, {"Terminal", "false"}};
  for (const auto& [key, value] : want) {
    ASSERT_TRUE(e.keys.count(key)) << key;
    EXPECT_EQ(e.keys.at(key), value) << key;
  }
  EXPECT_TRUE(e.keys.count("Comment"));
  // The freedesktop.org checker, where it is installed (desktop-file-utils).
  if (::access("/usr/bin/desktop-file-validate", X_OK) == 0) {
    const fs::path out = prefix_ / "validate.txt";
    const std::string cmd = "/usr/bin/desktop-file-validate '" + entryPath.string() + "' > '" + out.string() + "' 2>&1";
    EXPECT_EQ(std::system(cmd.c_str()), 0) << ReadText(out);
    EXPECT_EQ(ReadText(out), "");  // not even a hint
  }
  ASSERT_TRUE(e.keys.count("Categories"));
  EXPECT_EQ(e.keys.at("Categories").back(), ';');

  // Exec: the program name alone (no arguments, no field codes: the program
  // reads no command line), found in the prefix's bin/ as a PATH holding it
  // would find it.
  ASSERT_TRUE(e.keys.count("Exec"));
  const std::string exec = e.keys.at("Exec");
  EXPECT_EQ(exec.find_first_of(" %\""), std::string::npos) << exec;
  const fs::path program = exec.front() == '/' ? fs::path(exec) : Usr() / "bin" / exec;
  ASSERT_TRUE(fs::is_regular_file(program)) << program;
  EXPECT_EQ(::access(program.c_str(), X_OK), 0);
  EXPECT_EQ(fs::file_size(program), fs::file_size(fs::path(LV_BUILD_DIR) / "lumvard-sorvek"));

  // Icon: one picture per size folder, each of its folder's size, and the
  // scalable picture.
  lv::WindowIcon all;
  for (int size : {16, 24, 32, 48, 64, 128, 256}) {
    const std::string folder = std::to_string(size) + "x" + std::to_string(size);
    const fs::path png = Usr() / "share" / "icons" / "hicolor" / folder / "apps" / (e.keys.at("Icon") + ".png");
    ASSERT_TRUE(fs::is_regular_file(png)) << png;
    const std::string bytes = ReadText(png);
    lv::WindowIcon one;
    ASSERT_TRUE(one.AddPng(bytes.data(), bytes.size())) << png;
    EXPECT_EQ(one.Sizes(), std::vector<int32_t>{size}) << png;
    all.AddPng(bytes.data(), bytes.size());
  }
  EXPECT_EQ(all.Sizes().size(), 7u);
  const fs::path svg = Usr() / "share" / "icons" / "hicolor" / "scalable" / "apps" / (e.keys.at("Icon") + ".svg");
  ASSERT_TRUE(fs::is_regular_file(svg));
  EXPECT_NE(ReadText(svg).find("<svg xmlns=\"http://www.w3.org/2000/svg\""), std::string::npos);
}

TEST_F(InstallTest, TheInstalledProgramRunsAndSaysWhenThereIsNoDisplay) {
  const fs::path program = Usr() / "bin" / "lumvard-sorvek";
  const fs::path err = prefix_ / "stderr.txt";
  const pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    ::unsetenv("DISPLAY");
    ::unsetenv("WAYLAND_DISPLAY");
    ::unsetenv("QT_QPA_PLATFORM");
    if (std::freopen(err.c_str(), "w", stderr) == nullptr) ::_exit(126);
    ::execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 2);
  EXPECT_NE(ReadText(err).find("Lumvard Sorvek needs a graphical display"), std::string::npos) << ReadText(err);
}

}  // namespace
