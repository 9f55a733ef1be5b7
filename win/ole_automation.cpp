#include "win/ole_automation.h"

#include <olectl.h>

#include "win/dll_search.h"

namespace win {
namespace {

struct Oleaut32 {
  decltype(&::SysAllocStringLen) allocateString = nullptr;
  decltype(&::OleTranslateColor) translateColour = nullptr;
  decltype(&::SysFreeString) freeString = nullptr;
};

const Oleaut32& Oleaut32Functions() {
  static const Oleaut32 functions = [] {
    const HMODULE module = LoadSystemLibrary(L"oleaut32.dll");  // kept for the process
    return Oleaut32{ModuleFunction<decltype(&::SysAllocStringLen)>(module, "SysAllocStringLen"),
                    ModuleFunction<decltype(&::OleTranslateColor)>(module, "OleTranslateColor"),
                    ModuleFunction<decltype(&::SysFreeString)>(module, "SysFreeString")};
  }();
  return functions;
}

// The kind of an OLE colour is in its top byte; 0 is a plain RGB colour.
constexpr OLE_COLOR kOleColourKindMask = 0xFF000000;

}  // namespace

BSTR AllocateBstr(std::wstring_view text) {
  const auto allocate = Oleaut32Functions().allocateString;
  if (allocate == nullptr) return nullptr;
  return allocate(text.data(), static_cast<UINT>(text.size()));
}

void FreeBstr(BSTR text) {
  if (text == nullptr) return;
  // A BSTR exists only where oleaut32 made it, so its SysFreeString is there to free it.
  if (const auto free = Oleaut32Functions().freeString) free(text);
}

HRESULT TranslateOleColour(OLE_COLOR colour, HPALETTE palette, COLORREF* result) {
  if (result == nullptr) return E_POINTER;
  if (palette == nullptr && (colour & kOleColourKindMask) == 0) {
    *result = colour;
    return S_OK;
  }
  const auto translate = Oleaut32Functions().translateColour;
  return translate != nullptr ? translate(colour, palette, result) : E_FAIL;
}

}  // namespace win
