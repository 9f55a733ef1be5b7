#pragma once

// The few calls of oleaut32 (OLE Automation) the program makes: strings handed to a screen
// reader or to the desktop's shell, and the translation of OLE colours. oleaut32 is not imported:
// nothing the program needs to show its window uses it, and its loading is not free, so it is
// loaded from the system directory on the first call that needs it and kept for the process
// (strings it allocated go on living with their readers).

#include <windows.h>

#include <oaidl.h>
#include <ocidl.h>

#include <string_view>

#include "win/unique_handle.h"

namespace win {

// A new BSTR holding the text (SysAllocStringLen); null when oleaut32 is missing or out of memory.
BSTR AllocateBstr(std::wstring_view text);

// Frees a BSTR (SysFreeString); nothing for a null one.
void FreeBstr(BSTR text);

// The owner of a BSTR the program allocated.
struct BstrTraits {
  using Handle = BSTR;
  static bool Close(BSTR text) {
    FreeBstr(text);
    return true;
  }
};
using Bstr = UniqueHandle<BstrTraits>;

// The colour as OleTranslateColor gives it. Without a palette a plain RGB colour (top byte 0)
// comes back as it is, and oleaut32 is not needed; everything else is oleaut32's to translate.
// E_FAIL, the result untouched, where oleaut32 is missing.
HRESULT TranslateOleColour(OLE_COLOR colour, HPALETTE palette, COLORREF* result);

// A variant as VariantInit leaves it: empty, its former contents not looked at.
inline void InitVariant(VARIANT* variant) { V_VT(variant) = VT_EMPTY; }

// Makes the variant a long (VT_I4) with the value.
inline void SetLongVariant(VARIANT* variant, long value) {
  V_VT(variant) = VT_I4;
  V_I4(variant) = value;
}

}  // namespace win
