#include "app/repair/inline_images_policy.h"

#include <string>
#include <utility>

#include "win/unique_handle.h"

namespace app {
namespace {

// The policy. Internet Explorer's administrative template (inetres.admx) has a user policy under
// User Configuration > Administrative Templates > Windows Components > Internet Explorer >
// Internet Settings > Advanced settings > Multimedia that writes "Display Inline Images" under
// the user's policy key: "no" when enabled, "yes" when disabled (the place is as the
// windowsserverdocs issue "Advanced Settings is under the Internet Settings subfolder" corrects
// it). Microsoft's "Managing Browser Settings with Group Policy Tools" (Internet Explorer 8) and
// "Internet Explorer Policy Settings" (Windows XP SP2) say that template settings are written to a
// secure tree that users cannot change through the browser or the registry, and that the browser
// reads them over the user's own preference; so while the value is there, the user's value
// decides nothing, and the program leaves both alone.
//
// The key lies under HKEY_CURRENT_USER\Software, which WOW64 shares between its two views
// ("Registry Keys Affected by WOW64"), so a 32-bit and a 64-bit engine read the same value; it is
// read in the same view as the user's value all the same.
//
// The machine's policy key (HKEY_LOCAL_MACHINE\Software\Policies\...\Main) is not read. The
// template defines this policy for users only; the order "machine policy, user policy, user
// preference, machine preference" that field reports give (the winreg-kb project's page
// "Internet Explorer keys: Policies") is documented for feature controls, and neither Microsoft's
// pages nor a field report found shows the engine reading "Display Inline Images" there. A value
// that nothing reads would only make the program refuse a repair that works.
constexpr wchar_t kPolicyKey[] = L"Software\\Policies\\Microsoft\\Internet Explorer\\Main";
constexpr wchar_t kPolicyValueName[] = L"Display Inline Images";
constexpr REGSAM kPolicyView = KEY_WOW64_64KEY;

// The mapping of Internet Options' "显示图片" box: its Advanced tab is drawn from the entries
// under AdvancedOptions, each naming the value it writes and, for a check box, the strings it
// writes when ticked and cleared. Public scraping scripts rewrite these two strings so that pages
// load without pictures; every OK in Internet Options then writes their choice. The key lies
// under HKEY_LOCAL_MACHINE\SOFTWARE, which WOW64 redirects ("Registry Keys Affected by WOW64";
// the winreg-kb page above notes the same of Internet Explorer's machine keys): Internet Options
// opened from Control Panel or from the browser's 64-bit frame on 64-bit Windows reads the 64-bit
// view, so the program reads there, whichever its own build. It only reads: the program needs no
// administrator rights and never changes the machine's part of the registry.
constexpr wchar_t kMappingKey[] =
    L"SOFTWARE\\Microsoft\\Internet Explorer\\AdvancedOptions\\MULTIMEDIA\\PICTS";
constexpr wchar_t kCheckedValueName[] = L"CheckedValue";
constexpr wchar_t kUncheckedValueName[] = L"UncheckedValue";
constexpr REGSAM kMappingView = KEY_WOW64_64KEY;

constexpr wchar_t kShownValue[] = L"yes";
constexpr wchar_t kHiddenValue[] = L"no";

// "(the policy is under "User Configuration → Administrative Templates → Windows Components →
// Internet Explorer" and holds the "显示图片" box of Internet Options)". The policy's own name
// in the Chinese template is not given: the words here are those of the Chinese Group Policy
// editor's upper levels and of Internet Options itself, which a technician finds in both.
constexpr wchar_t kPolicyPlace[] =
    L"（该策略位于组策略的“用户配置 → 管理模板 → Windows 组件 → Internet Explorer”下，"
    L"管理 Internet 选项中的“显示图片”）";

// "Note: Internet Options' own "显示图片" box has been altered: ticking it turns inline images off
// again." / "...: clearing it no longer turns inline images off."
constexpr wchar_t kTickingHidesSentence[] =
    L"注意：Internet 选项中的“显示图片”选项已被改动，勾选它会再次关闭内嵌图片。";
constexpr wchar_t kClearingShowsSentence[] =
    L"注意：Internet 选项中的“显示图片”选项已被改动，取消勾选它不会关闭内嵌图片。";

// Reads a value's type and, for a string, its text without the terminators it may carry.
MappingValue ReadStringValue(HKEY root, const wchar_t* keyPath, REGSAM view, const wchar_t* name) {
  MappingValue value;
  win::RegistryKey key;
  value.status = RegOpenKeyExW(root, keyPath, 0, KEY_QUERY_VALUE | view, key.put());
  if (value.status != ERROR_SUCCESS) return value;
  DWORD size = 0;
  value.status = RegQueryValueExW(key.get(), name, nullptr, &value.type, nullptr, &size);
  if (value.status != ERROR_SUCCESS || value.type != REG_SZ) return value;
  // One character more than asked for: the stored string need not end with a terminator.
  std::wstring buffer(size / sizeof(wchar_t) + 1, L'\0');
  size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
  value.status = RegQueryValueExW(key.get(), name, nullptr, &value.type,
                                  reinterpret_cast<BYTE*>(buffer.data()), &size);
  if (value.status != ERROR_SUCCESS) return value;
  buffer.resize(size / sizeof(wchar_t));
  while (!buffer.empty() && buffer.back() == L'\0') buffer.pop_back();
  value.text = std::move(buffer);
  return value;
}

// True when the value is there and is not the string expected.
bool Differs(const MappingValue& value, const wchar_t* expected) {
  if (value.status != ERROR_SUCCESS) return false;
  return value.type != REG_SZ || _wcsicmp(value.text.c_str(), expected) != 0;
}

}  // namespace

InlineImagesPolicy ClassifyInlineImagesPolicy(LSTATUS status, DWORD type,
                                              const std::wstring& text) {
  if (status != ERROR_SUCCESS || type != REG_SZ) return InlineImagesPolicy::kNone;
  if (_wcsicmp(text.c_str(), kShownValue) == 0) return InlineImagesPolicy::kShown;
  if (_wcsicmp(text.c_str(), kHiddenValue) == 0) return InlineImagesPolicy::kHidden;
  return InlineImagesPolicy::kNone;
}

InlineImagesPolicy ReadInlineImagesPolicy() {
  const MappingValue value =
      ReadStringValue(HKEY_CURRENT_USER, kPolicyKey, kPolicyView, kPolicyValueName);
  return ClassifyInlineImagesPolicy(value.status, value.type, value.text);
}

PictureBoxMapping ClassifyPictureBoxMapping(const MappingValue& checked,
                                            const MappingValue& unchecked) {
  if (Differs(checked, kShownValue)) return PictureBoxMapping::kTickingHides;
  if (Differs(unchecked, kHiddenValue)) return PictureBoxMapping::kClearingShows;
  return PictureBoxMapping::kIntact;
}

PictureBoxMapping ReadPictureBoxMapping() {
  return ClassifyPictureBoxMapping(
      ReadStringValue(HKEY_LOCAL_MACHINE, kMappingKey, kMappingView, kCheckedValueName),
      ReadStringValue(HKEY_LOCAL_MACHINE, kMappingKey, kMappingView, kUncheckedValueName));
}

std::wstring PictureBoxSentence(PictureBoxMapping mapping) {
  switch (mapping) {
    case PictureBoxMapping::kTickingHides:
      return kTickingHidesSentence;
    case PictureBoxMapping::kClearingShows:
      return kClearingShowsSentence;
    case PictureBoxMapping::kIntact:
      break;
  }
  return {};
}

const wchar_t* InlineImagesPolicyPlace() { return kPolicyPlace; }

}  // namespace app
