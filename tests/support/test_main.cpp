// main() of every test program: SIGPIPE is ignored (a peer that closes a
// socket must give an error, not kill the test), then GoogleTest runs.
#include <csignal>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  std::signal(SIGPIPE, SIG_IGN);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
