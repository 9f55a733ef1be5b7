#include "accessible/kept_table.h"

#include <vector>

namespace accessible {
namespace {

SRWLOCK keptLock = SRWLOCK_INIT;
std::vector<KeptEntry> kept;

class KeptLock {
 public:
  KeptLock() { AcquireSRWLockExclusive(&keptLock); }
  KeptLock(const KeptLock&) = delete;
  KeptLock& operator=(const KeptLock&) = delete;
  ~KeptLock() { ReleaseSRWLockExclusive(&keptLock); }
};

}  // namespace

AccessibleBase* KeptObject(HWND window) {
  const KeptLock lock;
  for (const KeptEntry& entry : kept) {
    if (entry.window == window) return entry.object;
  }
  return nullptr;
}

void AddKept(const KeptEntry& entry) {
  const KeptLock lock;
  kept.push_back(entry);
}

KeptEntry TakeKept(HWND window) {
  const KeptLock lock;
  for (auto it = kept.begin(); it != kept.end(); ++it) {
    if (it->window != window) continue;
    const KeptEntry entry = *it;
    kept.erase(it);
    return entry;
  }
  return {};
}

size_t KeptCount() {
  const KeptLock lock;
  return kept.size();
}

}  // namespace accessible
