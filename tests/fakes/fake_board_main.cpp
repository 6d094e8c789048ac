// Serves one board fixture on 127.0.0.1 until standard input closes or a line
// is entered; prints the URI first. For manual checks:
//   lv_fake_board ad9361  ->  ip:127.0.0.1:PORT
//   iio_info -u ip:127.0.0.1:PORT
#include <csignal>
#include <cstdio>
#include <iostream>
#include <string>

#include "fakes/fake_iiod.h"

int main(int argc, char** argv) {
  std::signal(SIGPIPE, SIG_IGN);
  const std::string family = argc > 1 ? argv[1] : "ad9361";
  try {
    lv_fake::FakeIiod fake(lv_fake::ReadBoardFixture(family));
    fake.Start();
    std::printf("%s\n", fake.Uri().c_str());
    std::fflush(stdout);
    std::string line;
    std::getline(std::cin, line);
    fake.Stop();
    for (const auto& e : fake.EventStrings()) {
      std::fprintf(stderr, "%s\n", e.c_str());
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "lv_fake_board: %s\n", e.what());
    return 1;
  }
  return 0;
}
