// The headless self-check that the program runs until the main window exists.
#pragma once

#include <cstdint>
#include <cstdio>

// Prints the version, the processor class in use and the dispatch status to
// `out`, then whether the check passed. A negative status (an error) or a
// processor that could not be classified fails the check; a positive status
// is a warning and is named. Returns the process exit code (0 passed, 1 failed).
int RunSelfCheck(int32_t dispatchStatus, int processorClass, std::FILE* out);
