#pragma once

#include <windows.h>

namespace accessible {

// Joins the calling thread to a single-threaded apartment for the object's life, as a thread must
// be that hands accessible objects to other processes; their calls then arrive through its
// message loop.
class ThreadApartment {
 public:
  ThreadApartment();
  ~ThreadApartment();
  ThreadApartment(const ThreadApartment&) = delete;
  ThreadApartment& operator=(const ThreadApartment&) = delete;

 private:
  bool joined_ = false;
};

}  // namespace accessible
