#include "accessible/thread_apartment.h"

#include <objbase.h>

namespace accessible {

ThreadApartment::ThreadApartment()
    : joined_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}

ThreadApartment::~ThreadApartment() {
  if (joined_) CoUninitialize();
}

}  // namespace accessible
