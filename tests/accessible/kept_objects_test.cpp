// The table of kept objects hands out references taken under its lock, so that a window's object
// handed out on one thread stays alive while another thread disconnects it.

#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "accessible/kept_objects.h"
#include "tests/accessible/test_object.h"

namespace accessible_tests {
namespace {

// The interleaving a race between a hand-out and a disconnect can take: the hand-out has found the
// object, and before it uses it, another thread takes the window's entry out and lets go of it.
TEST(KeptObjects, AnObjectFoundForAHandOutOutlivesADisconnectOnAnotherThread) {
  HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 40, 40, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(window, nullptr);
  bool freed = false;
  accessible::Keep(window, new TestObject(window, &freed));
  ASSERT_EQ(accessible::KeptCount(), 1u);
  {
    const auto handedOut = accessible::KeptObject(window);
    ASSERT_TRUE(static_cast<bool>(handedOut));
    std::thread([window] { accessible::Disconnect(window); }).join();
    EXPECT_EQ(accessible::KeptCount(), 0u);
    EXPECT_FALSE(freed) << "the object was freed while it was being handed out";
  }
  EXPECT_TRUE(freed) << "the hand-out's reference was not given back";
  DestroyWindow(window);
}

}  // namespace
}  // namespace accessible_tests
