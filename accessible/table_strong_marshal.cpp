#include "accessible/table_strong_marshal.h"

namespace accessible {

void ReleaseMarshal(IStream* stream) {
  if (stream == nullptr) return;
  const LARGE_INTEGER start{};
  if (SUCCEEDED(stream->Seek(start, STREAM_SEEK_SET, nullptr))) CoReleaseMarshalData(stream);
  stream->Release();
}

}  // namespace accessible
