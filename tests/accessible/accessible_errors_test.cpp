// What a reader gets for a question that cannot be answered: the error code the question
// deserves, never an answer made up; and E_OUTOFMEMORY where the answer cannot be made.

#include <windows.h>

#include <gtest/gtest.h>
#include <oleacc.h>

#include <functional>

#include "tests/accessible/test_object.h"
#include "tests/support/accessible_reading.h"
#include "tests/support/allocation_failure.h"

namespace accessible_tests {
namespace {

using testing_support::ChildVariant;

HWND CreatePlainWindow() {
  return CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 40, 40, nullptr, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

VARIANT TextVariant() {
  VARIANT text;
  VariantInit(&text);
  V_VT(&text) = VT_BSTR;
  V_BSTR(&text) = nullptr;
  return text;
}

struct ErrorCase {
  const char* question;
  bool windowGone;
  HRESULT expected;
  std::function<HRESULT(IAccessible*)> ask;
};

TEST(AccessibleErrors, EachQuestionThatCannotBeAnsweredGetsItsErrorCode) {
  BSTR text = nullptr;
  VARIANT result;
  IDispatch* dispatch = nullptr;
  long number = 0;
  HWND handle = nullptr;
  const VARIANT self = ChildVariant(CHILDID_SELF);
  const ErrorCase cases[] = {
      {"name into null", false, E_POINTER,
       [&](IAccessible* a) { return a->get_accName(self, nullptr); }},
      {"role into null", false, E_POINTER,
       [&](IAccessible* a) { return a->get_accRole(self, nullptr); }},
      {"child count into null", false, E_POINTER,
       [&](IAccessible* a) { return a->get_accChildCount(nullptr); }},
      {"child into null", false, E_POINTER,
       [&](IAccessible* a) { return a->get_accChild(ChildVariant(1), nullptr); }},
      {"parent into null", false, E_POINTER,
       [&](IAccessible* a) { return a->get_accParent(nullptr); }},
      {"focus into null", false, E_POINTER,
       [&](IAccessible* a) { return a->get_accFocus(nullptr); }},
      {"location into null", false, E_POINTER,
       [&](IAccessible* a) { return a->accLocation(nullptr, &number, &number, &number, self); }},
      {"navigation into null", false, E_POINTER,
       [&](IAccessible* a) { return a->accNavigate(NAVDIR_FIRSTCHILD, self, nullptr); }},
      {"hit into null", false, E_POINTER,
       [&](IAccessible* a) { return a->accHitTest(1, 1, nullptr); }},
      {"element past the last", false, E_INVALIDARG,
       [&](IAccessible* a) {
         return a->get_accName(ChildVariant(TestObject::kElements + 1), &text);
       }},
      {"negative element", false, E_INVALIDARG,
       [&](IAccessible* a) { return a->get_accName(ChildVariant(-1), &text); }},
      {"element given as text", false, E_INVALIDARG,
       [&](IAccessible* a) { return a->get_accRole(TextVariant(), &result); }},
      {"the object as its own child", false, E_INVALIDARG,
       [&](IAccessible* a) { return a->get_accChild(self, &dispatch); }},
      {"action of an element past the last", false, E_INVALIDARG,
       [&](IAccessible* a) { return a->accDoDefaultAction(ChildVariant(9)); }},
      {"name, window gone", true, CO_E_OBJNOTCONNECTED,
       [&](IAccessible* a) { return a->get_accName(self, &text); }},
      {"child count, window gone", true, CO_E_OBJNOTCONNECTED,
       [&](IAccessible* a) { return a->get_accChildCount(&number); }},
      {"state of an element, window gone", true, CO_E_OBJNOTCONNECTED,
       [&](IAccessible* a) { return a->get_accState(ChildVariant(1), &result); }},
      {"window, window gone", true, CO_E_OBJNOTCONNECTED,
       [&](IAccessible* a) {
         IOleWindow* window = nullptr;
         a->QueryInterface(IID_PPV_ARGS(&window));
         const HRESULT answer = window->GetWindow(&handle);
         window->Release();
         return answer;
       }},
  };
  for (const ErrorCase& c : cases) {
    SCOPED_TRACE(c.question);
    bool freed = false;
    HWND window = CreatePlainWindow();
    ASSERT_NE(window, nullptr);
    auto* object = new TestObject(window, &freed);
    if (c.windowGone) DestroyWindow(window);
    VariantInit(&result);
    text = nullptr;
    EXPECT_EQ(c.ask(object), c.expected);
    EXPECT_EQ(text, nullptr) << "an answer was made";
    EXPECT_EQ(V_VT(&result), VT_EMPTY) << "an answer was made";
    object->Release();
    EXPECT_TRUE(freed);
    if (!c.windowGone) DestroyWindow(window);
  }
}

// An answer whose text cannot be made (an allocation fails) is E_OUTOFMEMORY, with nothing
// handed out; the exception stops in the method, whatever the caller.
TEST(AccessibleErrors, AnAllocationThatFailsInsideAMethodAnswersOutOfMemory) {
  bool freed = false;
  HWND window = CreatePlainWindow();
  auto* object = new TestObject(window, &freed);
  BSTR name = reinterpret_cast<BSTR>(&freed);  // anything but null
  HRESULT answer = S_OK;
  int refused = 0;
  {
    const testing_support::AllocationFailure failure;
    answer = object->get_accName(ChildVariant(1), &name);
    refused = failure.refused();
  }
  EXPECT_GT(refused, 0) << "the reading made no allocation: the test reaches nothing";
  EXPECT_EQ(answer, E_OUTOFMEMORY);
  EXPECT_EQ(name, nullptr);
  EXPECT_EQ(object->get_accName(ChildVariant(1), &name), S_OK) << "memory is there again";
  EXPECT_STREQ(name, (std::wstring(40, L'a') + L"1").c_str());
  SysFreeString(name);
  object->Release();
  EXPECT_TRUE(freed);
  DestroyWindow(window);
}

}  // namespace
}  // namespace accessible_tests
