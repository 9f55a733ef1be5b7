#pragma once

// Table-strong marshals, which keep an object's COM stub alive for as long as the program keeps
// the marshal, whatever readers release. Under Wine, an object whose stub died with a reader's
// last release made COM tear the stub down on the user-interface thread in the middle of the
// window's messages, until the program froze; every object the program hands a reader is
// therefore kept with one of these.

#include <windows.h>

#include <objbase.h>

namespace accessible {

// A table-strong marshal of `object` in a stream of its own: while the stream is kept, the
// object's stub lives, whatever readers release. Null where none could be made.
template <typename Interface>
IStream* MarshalTableStrong(Interface* object) {
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream))) return nullptr;
  if (FAILED(CoMarshalInterface(stream, __uuidof(Interface), object, MSHCTX_LOCAL, nullptr,
                                MSHLFLAGS_TABLESTRONG))) {
    stream->Release();
    return nullptr;
  }
  return stream;
}

// Releases a marshal made by MarshalTableStrong and its stream; nothing for null.
void ReleaseMarshal(IStream* stream);

}  // namespace accessible
