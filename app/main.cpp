// lumvard-sorvek: until the main window exists, the program runs a headless
// self-check: it classifies the processor, prints the class in use and the
// version, and exits.
#include <csignal>
#include <cstdio>

#include "core/error.h"
#include "core/error_dialog.h"
#include "platform/version.h"
#include "cpu/dispatch.h"

int main() {
  // libiio sends without MSG_NOSIGNAL: a board that drops the connection must
  // give an error, not end the process.
  std::signal(SIGPIPE, SIG_IGN);
  InstallCQErrorNewHandler();
  try {
    const int status = InitProcessorDispatch();
    const int cls = CurrentProcessorClass();
    std::printf("Lumvard Sorvek %s\n", lv::kVersionText);
    std::printf("Processor class %d (%s), dispatch status %d\n", cls, ProcessorClassSuffix(cls), status);
    std::printf("Self-check passed. The main window is not built yet.\n");
  } catch (CQError* e) {
    e->AddToCallStack("main");
    ShowErrorDialog(e);
    return 1;
  }
  return 0;
}
