#pragma once

// The owner of one reference to a COM object: the object's Release lets it go. Interfaces come
// from the platform through an out-parameter (put()) or are taken over as they are.

#include <windows.h>

#include <unknwn.h>

#include "win/unique_handle.h"

namespace win {

template <typename Interface>
struct ComReferenceTraits {
  using Handle = Interface*;
  static bool Close(Interface* object) {
    object->Release();
    return true;
  }
};

template <typename Interface>
using ComReference = UniqueHandle<ComReferenceTraits<Interface>>;

// Asks the object for another of its interfaces; empty where it has none.
template <typename Wanted, typename Interface>
ComReference<Wanted> QueryComInterface(Interface* object) {
  ComReference<Wanted> wanted;
  if (object == nullptr || FAILED(object->QueryInterface(IID_PPV_ARGS(wanted.put())))) {
    wanted.reset();
  }
  return wanted;
}

}  // namespace win
