// lumvard-sorvek: until the main window exists, the program runs a headless
// self-check: it classifies the processor, prints the class in use and the
// version, and exits.
#include <csignal>
#include <cstdio>

#include "app/self_check.h"
#include "core/error.h"
#include "core/error_dialog.h"
#include "cpu/dispatch.h"

int main() {
  // libiio sends without MSG_NOSIGNAL: a board that drops the connection must
  // give an error, not end the process.
  std::signal(SIGPIPE, SIG_IGN);
  InstallCQErrorNewHandler();
  try {
    const int32_t status = InitProcessorDispatch();
    return RunSelfCheck(status, CurrentProcessorClass(), stdout);
  } catch (CQError* e) {
    e->AddToCallStack("main");
    ShowErrorDialog(e);
    return 1;
  }
  return 0;
}
