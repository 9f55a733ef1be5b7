#pragma once

// The table of kept objects: which window keeps which object, with the table-strong marshal that
// holds the object's stub (accessible/table_strong_marshal.h). It only stores: what an object is
// and how it is handed out or disconnected is accessible/kept_objects.h's.
//
// The windows of every thread may hand objects out: the table is touched under a lock only, and
// nothing is called while the lock is held.

#include <windows.h>

#include <objidl.h>

#include <cstddef>

namespace accessible {

class AccessibleBase;

struct KeptEntry {
  HWND window = nullptr;
  AccessibleBase* object = nullptr;  // one reference
  IStream* marshal = nullptr;        // the table-strong marshal, or null where none could be made
};

// The object kept for the window, without a reference for the caller; null where none is.
AccessibleBase* KeptObject(HWND window);

// Adds the entry; the table takes over its object's reference and its marshal.
void AddKept(const KeptEntry& entry);

// Takes the window's entry out of the table, with its reference and marshal, for the caller to
// let go of; an empty entry where the window has none.
KeptEntry TakeKept(HWND window);

// How many windows have an object kept; for tests that nothing is left behind.
size_t KeptCount();

}  // namespace accessible
