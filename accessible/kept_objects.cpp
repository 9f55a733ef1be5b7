#include "accessible/kept_objects.h"

#include "accessible/oleacc_functions.h"
#include "accessible/table_strong_marshal.h"

namespace accessible {

win::ComReference<AccessibleBase> Keep(HWND window, AccessibleBase* object) {
  if (object == nullptr) return {};
  // The caller's reference, before the table's is there for another thread to let go of.
  object->AddRef();
  win::ComReference<AccessibleBase> caller(object);
  IAccessible* accessible = object;
  AddKept({window, object, accessible, MarshalTableStrong(accessible)});
  return caller;
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
