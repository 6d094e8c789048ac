#include "app/self_check.h"

#include "cpu/dispatch.h"
#include "cpu/status.h"
#include "platform/version.h"

int RunSelfCheck(int32_t dispatchStatus, int processorClass, std::FILE* out) {
  std::fprintf(out, "Lumvard Sorvek %s\n", lv::kVersionText);
  std::fprintf(out, "Processor class %d (%s), dispatch status %d\n", processorClass,
               ProcessorClassSuffix(processorClass), dispatchStatus);
  if (dispatchStatus < 0 || dispatchStatus == StatusProcessorNotSupported) {
    std::fprintf(out, "Self-check failed: the processor dispatch reported status %d.\n", dispatchStatus);
    return 1;
  }
  if (dispatchStatus != StatusOk) {
    std::fprintf(out, "Self-check passed with warning status %d. The main window is not built yet.\n",
                 dispatchStatus);
  } else {
    std::fprintf(out, "Self-check passed. The main window is not built yet.\n");
  }
  return 0;
}
