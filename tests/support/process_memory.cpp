#include "tests/support/process_memory.h"

#include <tlhelp32.h>
#include <winternl.h>

#include <map>
#include <set>

#include "win/unique_handle.h"

namespace testing_support {
namespace {

// What NtQueryInformationThread gives for ThreadBasicInformation (0).
struct ThreadBasics {
  NTSTATUS exitStatus;
  PVOID environment;  // the thread's TEB
  CLIENT_ID clientId;
  KAFFINITY affinityMask;
  LONG priority;
  LONG basePriority;
};

using QueryThread = NTSTATUS(NTAPI*)(HANDLE, THREADINFOCLASS, PVOID, ULONG, PULONG);

// The thread environment blocks of the process's live threads.
std::set<const void*> ThreadEnvironments(DWORD processId) {
  std::set<const void*> found;
  const auto query = reinterpret_cast<QueryThread>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationThread")));
  const win::KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
  if (query == nullptr || !snapshot) return found;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Thread32First(snapshot.get(), &entry); more;
       more = Thread32Next(snapshot.get(), &entry)) {
    if (entry.th32OwnerProcessID != processId) continue;
    const win::KernelHandle thread(OpenThread(THREAD_QUERY_INFORMATION, FALSE, entry.th32ThreadID));
    ThreadBasics basics{};
    if (thread && query(thread.get(), static_cast<THREADINFOCLASS>(0), &basics, sizeof(basics),
                        nullptr) >= 0) {
      found.insert(basics.environment);
    }
  }
  return found;
}

// One allocation of the address space: its private committed bytes, and whether a guard page
// is among them.
struct Allocation {
  SIZE_T committedPrivate = 0;
  SIZE_T reserved = 0;
  bool guarded = false;
};

}  // namespace

SIZE_T PrivateBytesOutsideThreads(DWORD processId) {
  const win::KernelHandle process(
      OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
  if (!process) return 0;
  std::map<const char*, Allocation> allocations;
  std::set<const char*> threadBlocks;
  const std::set<const void*> environments = ThreadEnvironments(processId);
  MEMORY_BASIC_INFORMATION region{};
  for (const char* address = nullptr;
       VirtualQueryEx(process.get(), address, &region, sizeof(region)) == sizeof(region) &&
       region.RegionSize > 0;
       address = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
    if (region.State == MEM_FREE) continue;
    const auto base = static_cast<const char*>(region.AllocationBase);
    Allocation& allocation = allocations[base];
    allocation.reserved += region.RegionSize;
    if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) {
      allocation.committedPrivate += region.RegionSize;
      allocation.guarded = allocation.guarded || (region.Protect & PAGE_GUARD) != 0;
    }
    for (const void* environment : environments) {
      const auto start = static_cast<const char*>(region.BaseAddress);
      if (environment >= start && environment < start + region.RegionSize) {
        threadBlocks.insert(base);
      }
    }
  }
  for (const auto& [base, allocation] : allocations) {
    if (!allocation.guarded) continue;
    threadBlocks.insert(base);
    threadBlocks.insert(base + allocation.reserved);  // the block right above the stack
  }
  SIZE_T total = 0;
  for (const auto& [base, allocation] : allocations) {
    if (!threadBlocks.contains(base)) total += allocation.committedPrivate;
  }
  return total;
}

}  // namespace testing_support
