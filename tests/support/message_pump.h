#pragma once

// Letting this thread's messages run: at once, or while waiting for something to happen.

#include <windows.h>

#include <functional>

namespace testing_support {

// Dispatches every message waiting in this thread's queue.
void PumpMessages();

// Polls `condition` every few milliseconds, pumping this thread's messages in between, until it
// holds or timeoutMs has passed. Returns the last result.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 10000);

}  // namespace testing_support
