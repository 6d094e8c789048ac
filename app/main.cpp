// lumvard-sorvek: the program. It reads no command line; it opens the main
// window "Lumvard Sorvek" on the user's display and runs until Exit or the
// close box. A request to end the process (SIGTERM, SIGINT: the session
// ending, Ctrl+C in the terminal) gives the Exit command, so the shut-down
// sequence runs as from the menu.
#include <pthread.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "app/main_window.h"
#include "app/sorvek_app.h"
#include "platform/ui_post.h"

namespace {

// Qt ends the process without a word when it cannot reach a display; say
// what is missing instead. The offscreen platform needs none.
bool DisplayAvailable() {
  auto set = [](const char* name) {
    const char* v = std::getenv(name);
    return v != nullptr && *v != '\0';
  };
  return set("DISPLAY") || set("WAYLAND_DISPLAY") || set("QT_QPA_PLATFORM");
}

std::atomic<bool> g_exiting{false};

// Waits for SIGTERM and SIGINT (blocked in every thread) and hands each to
// the main window as the Exit command, once the window can take it.
void WatchEndRequests(sigset_t set) {
  for (;;) {
    int sig = 0;
    if (sigwait(&set, &sig) != 0) return;
    if (g_exiting.load()) return;
    while (!lv::PostToUi(kWmMainCommand, nullptr, kCmdExit)) {
      if (g_exiting.load()) return;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  }
}

}  // namespace

int main() {
  if (!DisplayAvailable()) {
    std::fprintf(stderr,
                 "Lumvard Sorvek needs a graphical display, and none was found (DISPLAY and WAYLAND_DISPLAY are "
                 "not set).\n");
    return 2;
  }
  sigset_t ends;
  sigemptyset(&ends);
  sigaddset(&ends, SIGTERM);
  sigaddset(&ends, SIGINT);
  pthread_sigmask(SIG_BLOCK, &ends, nullptr);  // inherited by every thread made from here on
  std::thread watcher(WatchEndRequests, ends);
  int code = 1;
  {
    CWSorvekApp app;
    code = app.Run();
  }
  g_exiting.store(true);
  pthread_kill(watcher.native_handle(), SIGTERM);
  watcher.join();
  return code;
}
