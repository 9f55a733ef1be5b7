#include "accessible/accessible_annotation.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "accessible/oleacc_functions.h"
#include "win/com_reference.h"
#include "win/ole_automation.h"

// Microsoft's documentation: IAccPropServices::SetHwndPropServer (a callback object asked
// whenever a client reads one of the annotated properties, ANNO_THIS for the element alone) and
// ClearHwndProps (the callback object is released). Field reports: a screen reader's own settings
// dialogs give their controls descriptions this way (nvaccess/nvda, "Improve accessibility of
// some controls used in nvda" and "Tidy advanced gui panel": an IAccPropServer answering
// accDescription). Wine's oleacc answers every annotation call with E_NOTIMPL; there the
// platform's object keeps no description.

namespace accessible {
namespace {

using win::AllocateBstr;
using win::ComReference;
using win::InitVariant;

// CLSID_AccPropServices, IID_IAccPropServices, IID_IAccPropServer, PROPID_ACC_DESCRIPTION and
// PROPID_ACC_HELP, spelt out here: the SDK library that defines them is not linked.
constexpr GUID kAccPropServicesClass = {
    0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr GUID kAccPropServicesInterface = {
    0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
constexpr GUID kAccPropServerInterface = {
    0x76c0dbbb, 0x15e0, 0x4e7b, {0xb6, 0x1b, 0x20, 0xee, 0xea, 0x20, 0x01, 0xe0}};
constexpr MSAAPROPID kDescriptionProperty = {
    0x4d48dfe4, 0xbd3f, 0x491f, {0xa6, 0x48, 0x49, 0x2d, 0x6f, 0x20, 0xc5, 0x88}};
constexpr MSAAPROPID kHelpProperty = {
    0xc831e11f, 0x44db, 0x4a99, {0x97, 0x68, 0xcb, 0x8f, 0x97, 0x8b, 0x72, 0x31}};

// The properties the description is served as. NVDA reads the description (accDescription).
// Narrator works through UI Automation, where the proxy for the platform's object shows the
// description only inside the legacy pattern (LegacyIAccessible.Description), which Narrator does
// not read for a button; it reads the help text, HelpText, which the proxy takes from accHelp
// (Microsoft's "Appendix G: Active Accessibility Bridge to UI Automation", whose table maps
// get_accHelp to HelpTextProperty and get_accDescription to nothing; "Accessing Microsoft Active
// Accessibility Servers", where the description is left to the LegacyIAccessible pattern; Dynamic
// Annotation's documentation says the annotated properties serve UI Automation clients through
// the same proxy). Field
// reports: Narrator reads a button's HelpText in WPF and not where a framework leaves it out
// (AvaloniaUI/Avalonia, "AutomationProperties.HelpText not read by Narrator"; microsoft-ui-xaml,
// "Narrator does not announce AutomationProperties.HelpText for various controls", logged with
// Narrator's team as a fault). So the same server answers both, with the same sentence.
constexpr MSAAPROPID kServedProperties[] = {kDescriptionProperty, kHelpProperty};

IAccPropServices* servicesForTesting = nullptr;

// The windows annotated on this thread: annotating one again changes nothing, and a window never
// annotated needs no service to be cleared.
thread_local std::vector<HWND> annotated;

bool IsAnnotated(HWND window) {
  return std::find(annotated.begin(), annotated.end(), window) != annotated.end();
}

// The platform's annotation service, made once. oleacc is loaded from the system directory
// first, so that the class COM then loads is that module's.
IAccPropServices* PlatformServices() {
  static IAccPropServices* const services = [] {
    if (OleaccFunctions().module == nullptr) return static_cast<IAccPropServices*>(nullptr);
    IAccPropServices* made = nullptr;  // kept for the process
    if (FAILED(CoCreateInstance(kAccPropServicesClass, nullptr, CLSCTX_INPROC_SERVER,
                                kAccPropServicesInterface, reinterpret_cast<void**>(&made)))) {
      made = nullptr;
    }
    return made;
  }();
  return services;
}

IAccPropServices* Services() {
  return servicesForTesting != nullptr ? servicesForTesting : PlatformServices();
}

// Answers the description of one window, from its source, whenever a reader asks.
class DescriptionServer final : public IAccPropServer {
 public:
  DescriptionServer(HWND window, DescriptionSource source) : window_(window), source_(source) {}
  DescriptionServer(const DescriptionServer&) = delete;
  DescriptionServer& operator=(const DescriptionServer&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (iid == IID_IUnknown || iid == kAccPropServerInterface) {
      *object = static_cast<IAccPropServer*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++references_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = --references_;
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  // Without a description (the window gone, or nothing to tell) the property is not there, and
  // the reader gets the platform's own answer.
  HRESULT STDMETHODCALLTYPE GetPropValue(const BYTE*, DWORD, MSAAPROPID property, VARIANT* value,
                                         BOOL* hasProperty) override {
    if (value == nullptr || hasProperty == nullptr) return E_POINTER;
    InitVariant(value);
    *hasProperty = FALSE;
    if ((property != kDescriptionProperty && property != kHelpProperty) || !IsWindow(window_)) {
      return S_OK;
    }
    const std::wstring description = source_(window_);
    if (description.empty()) return S_OK;
    BSTR text = AllocateBstr(description);
    if (text == nullptr) return E_OUTOFMEMORY;
    V_VT(value) = VT_BSTR;
    V_BSTR(value) = text;
    *hasProperty = TRUE;
    return S_OK;
  }

 private:
  ~DescriptionServer() = default;

  LONG references_ = 1;
  HWND window_;
  DescriptionSource source_;
};

}  // namespace

HRESULT AnnotateDescription(HWND window, DescriptionSource source) {
  if (window == nullptr || source == nullptr) return E_INVALIDARG;
  if (IsAnnotated(window)) return S_OK;
  IAccPropServices* services = Services();
  if (services == nullptr) return E_NOINTERFACE;
  const ComReference<IAccPropServer> server(new DescriptionServer(window, source));
  // The service keeps its own reference until the annotation is cleared.
  const HRESULT result = services->SetHwndPropServer(
      window, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, kServedProperties,
      static_cast<int>(std::size(kServedProperties)), server.get(), ANNO_THIS);
  if (SUCCEEDED(result)) annotated.push_back(window);
  return result;
}

HRESULT ClearDescription(HWND window) {
  if (!IsAnnotated(window)) return S_OK;
  IAccPropServices* services = Services();
  if (services == nullptr) return E_NOINTERFACE;
  const HRESULT result =
      services->ClearHwndProps(window, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                               kServedProperties, static_cast<int>(std::size(kServedProperties)));
  if (SUCCEEDED(result)) std::erase(annotated, window);
  return result;
}

IAccPropServices* SetAnnotationServicesForTesting(IAccPropServices* services) {
  IAccPropServices* const previous = servicesForTesting;
  annotated.clear();  // those were the other service's
  servicesForTesting = services;
  return previous;
}

}  // namespace accessible
