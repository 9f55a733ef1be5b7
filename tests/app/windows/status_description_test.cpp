// The repair commands' accessible description under a high-contrast scheme, where the skin stands
// aside and the platform's object answers for them: the program gives it through annotation (as
// the annotation service records it, and as a reader reads it where the platform's service works),
// current when read, and takes it off when the skin comes back and when the window goes.

#include <windows.h>

#include <gtest/gtest.h>
#include <oleacc.h>

#include <algorithm>
#include <string>
#include <vector>

#include "accessible/accessible_annotation.h"
#include "accessible/accessible_base.h"
#include "accessible/thread_apartment.h"
#include "app/repair/inline_images_status.h"
#include "app/repair/registry_payload.h"
#include "app/windows/main_window.h"
#include "app/windows/resource_ids.h"
#include "skin/engine/high_contrast.h"
#include "tests/support/accessible_reading.h"
#include "tests/support/allocation_failure.h"
#include "tests/support/inline_images_value.h"
#include "tests/support/message_pump.h"

namespace {

// PROPID_ACC_DESCRIPTION, PROPID_ACC_HELP, CLSID_AccPropServices and IID_IAccPropServices.
constexpr MSAAPROPID kDescription = {
    0x4d48dfe4, 0xbd3f, 0x491f, {0xa6, 0x48, 0x49, 0x2d, 0x6f, 0x20, 0xc5, 0x88}};
constexpr MSAAPROPID kHelp = {
    0xc831e11f, 0x44db, 0x4a99, {0x97, 0x68, 0xcb, 0x8f, 0x97, 0x8b, 0x72, 0x31}};
constexpr GUID kAccPropServicesClass = {
    0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr GUID kAccPropServicesInterface = {
    0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};

// An annotation service that keeps what it is given, as the platform's keeps it for readers: a
// second annotation of the same window takes the place of the first. It counts the annotations
// made, so that a test sees a repeat the platform's would absorb.
class RecordingServices final : public IAccPropServices {
 public:
  int annotationsMade = 0;
  struct Annotation {
    HWND window;
    DWORD object;
    DWORD child;
    std::vector<MSAAPROPID> properties;
    AnnoScope scope;
    IAccPropServer* server;  // one reference, until cleared
  };
  std::vector<Annotation> annotations;

  ~RecordingServices() {
    for (const Annotation& annotation : annotations) annotation.server->Release();
  }
  const Annotation* Of(HWND window) const {
    const auto found = std::find_if(annotations.begin(), annotations.end(),
                                    [&](const Annotation& a) { return a.window == window; });
    return found != annotations.end() ? &*found : nullptr;
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE SetHwndPropServer(HWND window, DWORD object, DWORD child,
                                              const MSAAPROPID* properties, int count,
                                              IAccPropServer* server, AnnoScope scope) override {
    ++annotationsMade;
    ClearHwndProps(window, object, child, properties, count);
    server->AddRef();
    annotations.push_back(
        {window, object, child, std::vector(properties, properties + count), scope, server});
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ClearHwndProps(HWND window, DWORD, DWORD, const MSAAPROPID*,
                                           int) override {
    std::erase_if(annotations, [&](const Annotation& annotation) {
      if (annotation.window != window) return false;
      annotation.server->Release();
      return true;
    });
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetPropValue(const BYTE*, DWORD, MSAAPROPID, VARIANT) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetPropServer(const BYTE*, DWORD, const MSAAPROPID*, int,
                                          IAccPropServer*, AnnoScope) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE ClearProps(const BYTE*, DWORD, const MSAAPROPID*, int) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetHwndProp(HWND, DWORD, DWORD, MSAAPROPID, VARIANT) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetHwndPropStr(HWND, DWORD, DWORD, MSAAPROPID, LPCWSTR) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE ComposeHwndIdentityString(HWND, DWORD, DWORD, BYTE**, DWORD*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE DecomposeHwndIdentityString(const BYTE*, DWORD, HWND*, DWORD*,
                                                        DWORD*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetHmenuProp(HMENU, DWORD, MSAAPROPID, VARIANT) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetHmenuPropStr(HMENU, DWORD, MSAAPROPID, LPCWSTR) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetHmenuPropServer(HMENU, DWORD, const MSAAPROPID*, int,
                                               IAccPropServer*, AnnoScope) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE ClearHmenuProps(HMENU, DWORD, const MSAAPROPID*, int) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE ComposeHmenuIdentityString(HMENU, DWORD, BYTE**, DWORD*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE DecomposeHmenuIdentityString(const BYTE*, DWORD, HMENU*,
                                                         DWORD*) override {
    return E_NOTIMPL;
  }
};

bool HighContrastOn() { return true; }

void SetHighContrast(HWND form, bool on) {
  skin::SetHighContrastQueryForTesting(on ? HighContrastOn : nullptr);
  SendMessageW(form, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
}

HWND Command(HWND form, int id) { return GetDlgItem(GetDlgItem(form, IDC_FRAME2), id); }

// What the annotation's server answers a reader now for the property; "(none)" when it has none.
std::wstring Served(IAccPropServer* server, const MSAAPROPID& property = kDescription) {
  VARIANT value;
  BOOL has = FALSE;
  if (FAILED(server->GetPropValue(nullptr, 0, property, &value, &has)) || !has) {
    return L"(none)";
  }
  std::wstring text = V_VT(&value) == VT_BSTR ? V_BSTR(&value) : L"(not a string)";
  VariantClear(&value);
  return text;
}

class StatusDescriptionTest : public ::testing::Test {
 protected:
  const accessible::ThreadApartment apartment_;
  void SetUp() override { previous_ = accessible::SetAnnotationServicesForTesting(&services_); }
  void TearDown() override {
    app::form1::Unload();
    skin::SetHighContrastQueryForTesting(nullptr);
    accessible::SetAnnotationServicesForTesting(previous_);
    testing_support::PumpMessages();
  }

  RecordingServices services_;
  IAccPropServices* previous_ = nullptr;
};

TEST_F(StatusDescriptionTest, AnnotatedWhileTheSkinStandsAsideAndCurrentWhenRead) {
  const payload_tests::InlineImagesValueKeeper keeper;
  ASSERT_TRUE(app::WriteInlineImagesValue(L"yes"));
  HWND form = app::form1::Show();
  ASSERT_NE(form, nullptr);
  EXPECT_TRUE(services_.annotations.empty()) << "the skin's own object has the description";

  SetHighContrast(form, true);
  ASSERT_EQ(services_.annotations.size(), 2u) << "the two repair commands, no other";
  for (const int id : {IDC_COMMAND2, IDC_COMMAND3}) {
    SCOPED_TRACE(id);
    const auto* annotation = services_.Of(Command(form, id));
    ASSERT_NE(annotation, nullptr);
    EXPECT_EQ(annotation->object, static_cast<DWORD>(OBJID_CLIENT));
    EXPECT_EQ(annotation->child, static_cast<DWORD>(CHILDID_SELF));
    // The description for readers of the platform's object, and the help text that a reader
    // through UI Automation (Narrator) reads, both from the one server.
    ASSERT_EQ(annotation->properties.size(), 2u);
    EXPECT_TRUE(annotation->properties[0] == kDescription);
    EXPECT_TRUE(annotation->properties[1] == kHelp);
    EXPECT_EQ(annotation->scope, ANNO_THIS);
    EXPECT_EQ(Served(annotation->server, kDescription), app::CurrentInlineImagesStatusText());
    EXPECT_EQ(Served(annotation->server, kHelp), app::CurrentInlineImagesStatusText());
  }
  // A reading whose text cannot be made (an allocation fails) answers E_OUTOFMEMORY and no
  // description; the next reading has it again.
  {
    VARIANT value;
    BOOL has = TRUE;
    HRESULT answer = S_OK;
    {
      const testing_support::AllocationFailure failure;
      answer =
          services_.annotations[0].server->GetPropValue(nullptr, 0, kDescription, &value, &has);
    }
    EXPECT_EQ(answer, E_OUTOFMEMORY);
    EXPECT_FALSE(has);
    EXPECT_EQ(V_VT(&value), VT_EMPTY);
  }
  // A change made meanwhile shows in the next reading.
  const std::wstring before = Served(services_.annotations[0].server);
  ASSERT_TRUE(app::WriteInlineImagesValue(L"no"));
  const std::wstring after = Served(services_.annotations[0].server);
  EXPECT_NE(after, before);
  EXPECT_EQ(after, app::CurrentInlineImagesStatusText());

  // Another change of settings while the scheme runs annotates nothing twice.
  const int made = services_.annotationsMade;
  SendMessageW(form, WM_SETTINGCHANGE, 0, 0);
  EXPECT_EQ(services_.annotationsMade, made);
  EXPECT_EQ(services_.annotations.size(), 2u);

  SetHighContrast(form, false);
  EXPECT_TRUE(services_.annotations.empty()) << "the skin is back: the annotation goes";
}

// The scheme already runs when the window loads; the annotation goes with the window.
TEST_F(StatusDescriptionTest, AnnotatedFromTheStartAndClearedWhenTheWindowGoes) {
  skin::SetHighContrastQueryForTesting(HighContrastOn);
  HWND form = app::form1::Show();
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(services_.annotations.size(), 2u);
  app::form1::Unload();
  EXPECT_TRUE(services_.annotations.empty());
}

// A reader's view, through the platform's annotation service: the button's own object, the
// platform's under the scheme, reads with the sentence. Wine's service annotates nothing.
TEST(StatusDescriptionReader, ThePlatformsButtonObjectReadsTheSentence) {
  const accessible::ThreadApartment apartment;
  IAccPropServices* probe = nullptr;
  const HRESULT made =
      CoCreateInstance(kAccPropServicesClass, nullptr, CLSCTX_INPROC_SERVER,
                       kAccPropServicesInterface, reinterpret_cast<void**>(&probe));
  const HRESULT probed =
      SUCCEEDED(made) ? probe->SetHwndPropStr(GetDesktopWindow(), static_cast<DWORD>(OBJID_CLIENT),
                                              CHILDID_SELF, kDescription, L"probe")
                      : made;
  if (SUCCEEDED(probed)) {
    probe->ClearHwndProps(GetDesktopWindow(), static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                          &kDescription, 1);
  }
  if (probe != nullptr) probe->Release();
  if (FAILED(probed)) {
    GTEST_SKIP() << "the platform's annotation service annotates nothing here: " << std::hex
                 << probed;
  }
  skin::SetHighContrastQueryForTesting(HighContrastOn);
  HWND form = app::form1::Show();
  ASSERT_NE(form, nullptr);
  HWND command2 = Command(form, IDC_COMMAND2);
  const testing_support::AccessibleRef object = testing_support::ClientObjectOf(command2);
  ASSERT_TRUE(object);
  EXPECT_EQ(testing_support::ReadNode(object).description, app::CurrentInlineImagesStatusText());
  app::form1::Unload();
  skin::SetHighContrastQueryForTesting(nullptr);
}

}  // namespace
