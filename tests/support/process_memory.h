#pragma once

// What a process's own code has allocated, read from another process, for leak tests.

#include <windows.h>

namespace testing_support {

// The private memory the process has committed, less its threads' own blocks: each live thread's
// stack (the allocation that holds its guard page), the block the platform may keep right above
// a stack (Wine keeps a thread's system-side stack there) and the block that holds its thread
// environment. The platform's worker threads (those that answer a COM call from another
// process) come and go by themselves, a megabyte or more each, and the resident figure
// (PagefileUsage) swings with them and with the system's side of the process; what the
// process's own code allocates stays in its heaps, which this counts. 0 when the process cannot
// be read.
SIZE_T PrivateBytesOutsideThreads(DWORD processId);

}  // namespace testing_support
