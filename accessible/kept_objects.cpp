#include "accessible/kept_objects.h"

#include "accessible/oleacc_functions.h"
#include "accessible/table_strong_marshal.h"

namespace accessible {

AccessibleBase* Keep(HWND window, AccessibleBase* object) {
  if (object == nullptr) return nullptr;
  AddKept({window, object, MarshalTableStrong(static_cast<IAccessible*>(object))});
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
  const KeptEntry entry = TakeKept(window);
  if (entry.object != nullptr) entry.object->DisconnectAll(entry.marshal);
}

}  // namespace accessible
