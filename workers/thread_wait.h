// How a thread waits for another thread.
//
// Every wait of the thread framework on another thread (a blocking request, a
// put into a full queue) goes through CWWaitForEvent. By default it blocks on
// the event. A thread that must keep serving while it waits (the user-interface
// thread runs a nested event loop) installs its own wait for itself.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/sync.h"

// Waits for the event; must return Signalled only when the event is set.
using CWEventWait = std::function<lv::WaitResult(const lv::PlatformEvent& event, uint32_t timeoutMs)>;

// Installs the wait of the calling thread (empty restores the plain wait).
// Returns the previous one.
CWEventWait CWSetThreadEventWait(CWEventWait wait);

// Waits on the event with the calling thread's wait.
lv::WaitResult CWWaitForEvent(const lv::PlatformEvent& event, uint32_t timeoutMs = lv::kWaitForever);
