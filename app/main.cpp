// lumvard-sorvek: the program. It reads no command line; it opens the main
// window "Lumvard Sorvek" on the user's display and runs until Exit or the
// close box.
#include <cstdio>
#include <cstdlib>

#include "app/sorvek_app.h"

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

}  // namespace

int main() {
  if (!DisplayAvailable()) {
    std::fprintf(stderr,
                 "Lumvard Sorvek needs a graphical display, and none was found (DISPLAY and WAYLAND_DISPLAY are "
                 "not set).\n");
    return 2;
  }
  CWSorvekApp app;
  return app.Run();
}
