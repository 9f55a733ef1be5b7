#include "accessible/kept_objects.h"

#include <vector>

#include "accessible/oleacc_functions.h"

namespace accessible {
namespace {

struct KeptEntry {
  HWND window;
  AccessibleBase* object;  // one reference
  IStream* marshal;        // the table-strong marshal, or null where none could be made
};

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

void ReleaseMarshal(IStream* stream) {
  if (stream == nullptr) return;
  const LARGE_INTEGER start{};
  if (SUCCEEDED(stream->Seek(start, STREAM_SEEK_SET, nullptr))) CoReleaseMarshalData(stream);
  stream->Release();
}

AccessibleBase* KeptObject(HWND window) {
  const KeptLock lock;
  for (const KeptEntry& entry : kept) {
    if (entry.window == window) return entry.object;
  }
  return nullptr;
}

AccessibleBase* Keep(HWND window, AccessibleBase* object) {
  if (object == nullptr) return nullptr;
  IStream* marshal = MarshalTableStrong(static_cast<IAccessible*>(object));
  const KeptLock lock;
  kept.push_back({window, object, marshal});
  return object;
}

LRESULT HandOut(AccessibleBase* object, WPARAM wParam) {
  const auto lresultFromObject = OleaccFunctions().lresultFromObject;
  const LRESULT result =
      lresultFromObject != nullptr
          ? lresultFromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(object))
          : 0;
  return result > 0 ? result : 0;
}

void Disconnect(HWND window) {
  KeptEntry entry{};
  {
    const KeptLock lock;
    for (auto it = kept.begin(); it != kept.end(); ++it) {
      if (it->window != window) continue;
      entry = *it;
      kept.erase(it);
      break;
    }
  }
  if (entry.object != nullptr) entry.object->DisconnectAll(entry.marshal);
}

size_t KeptCount() {
  const KeptLock lock;
  return kept.size();
}

// A window with an object of ours answers with it directly; any other is asked, as a reader
// would ask it.
IDispatch* ClientObjectOf(HWND window) {
  if (AccessibleBase* object = KeptObject(window)) {
    object->AddRef();
    return static_cast<IAccessible*>(object);
  }
  const auto objectFromWindow = OleaccFunctions().objectFromWindow;
  IDispatch* object = nullptr;
  if (objectFromWindow == nullptr ||
      FAILED(objectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IDispatch),
                              reinterpret_cast<void**>(&object)))) {
    return nullptr;
  }
  return object;
}

}  // namespace accessible
