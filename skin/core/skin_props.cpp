#include "skin/core/skin_props.h"

#include <cstdint>
#include <iterator>
#include <string.h>
#include <unordered_map>

#include "win/dpi.h"

namespace skin {

namespace {

constexpr int kKeyCount = static_cast<int>(std::size(props::kAllKeys));
static_assert(kKeyCount <= 32, "one bit per key in a 32-bit mask");

// What the store remembers of one window: per key whether the value is known (set or removed
// through the store, or read once from the window) and whether the window carries it.
struct Entry {
  LONG_PTR values[kKeyCount] = {};
  uint32_t known = 0;
  uint32_t present = 0;
  SkinTraits traits;
  int dpi = 0;  // 0 until the engine decides it
  RenderedFaces faces;
};

using Table = std::unordered_map<HWND, Entry>;

// The store of one thread. The table is made with the thread's first entry and freed with its
// last, so nothing here needs a destructor at thread exit (the system may still deliver the
// last messages of the thread's windows then). The last entry used is kept at hand: a message
// and its paint ask for the same window several times in a row.
struct ThreadStore {
  Table* table;
  HWND lastWindow;
  Entry* lastEntry;
};

thread_local ThreadStore store = {nullptr, nullptr, nullptr};

// The index of a key of props::kAllKeys, or -1 for any other name (or an atom). The engine
// passes the constants themselves; another pointer to the same name, in any case (property
// names are atoms, which ignore case), finds the same key.
int KeyIndex(const char* key) {
  if (IS_INTRESOURCE(key)) return -1;
  for (int i = 0; i < kKeyCount; ++i) {
    if (key == props::kAllKeys[i]) return i;
  }
  for (int i = 0; i < kKeyCount; ++i) {
    if (_stricmp(key, props::kAllKeys[i]) == 0) return i;
  }
  return -1;
}

uint32_t Bit(int index) { return uint32_t{1} << index; }

Entry* FindEntry(HWND window) {
  if (store.table == nullptr || window == nullptr) return nullptr;
  if (window == store.lastWindow) return store.lastEntry;
  auto found = store.table->find(window);
  if (found == store.table->end()) return nullptr;
  store.lastWindow = window;
  store.lastEntry = &found->second;
  return store.lastEntry;
}

void DropEntry(HWND window) {
  if (store.table == nullptr) return;
  store.table->erase(window);
  if (window == store.lastWindow) {
    store.lastWindow = nullptr;
    store.lastEntry = nullptr;
  }
  if (store.table->empty()) {
    delete store.table;
    store = {nullptr, nullptr, nullptr};
  }
}

constexpr uint32_t kAllKeysMask = (kKeyCount == 32 ? 0 : uint32_t{1} << kKeyCount) - 1;

// EnumPropsExA callback: notes one property of the window in its entry when it is a skin key.
BOOL CALLBACK NoteCarriedKey(HWND, LPSTR name, HANDLE data, ULONG_PTR entryAddress) {
  const int index = KeyIndex(name);
  if (index >= 0) {
    Entry& entry = *reinterpret_cast<Entry*>(entryAddress);
    entry.values[index] = reinterpret_cast<LONG_PTR>(data);
    entry.present |= Bit(index);
  }
  return TRUE;
}

}  // namespace

LONG_PTR GetSkinProp(HWND window, const char* key) {
  const int index = KeyIndex(key);
  Entry* entry = index < 0 ? nullptr : FindEntry(window);
  if (entry != nullptr && (entry->known & Bit(index)) != 0) return entry->values[index];
  const LONG_PTR value = reinterpret_cast<LONG_PTR>(GetPropA(window, key));
  if (entry != nullptr) {
    // Read once from the window; from now on the store answers. A property the window does not
    // carry reads as 0 either way.
    entry->values[index] = value;
    entry->known |= Bit(index);
    if (value != 0) entry->present |= Bit(index);
  }
  return value;
}

// True when the store knows that the window reads `value` under the key already: it carries that
// value, or it lacks the key and the value is 0 (a missing property reads as 0). Writing it again
// would change nothing that any reader, in this process or another, can see.
bool AlreadyReads(const Entry& entry, int index, LONG_PTR value) {
  if ((entry.known & Bit(index)) == 0) return false;
  if ((entry.present & Bit(index)) != 0) return entry.values[index] == value;
  return value == 0;
}

void SetSkinProp(HWND window, const char* key, LONG_PTR value) {
  const int index = KeyIndex(key);
  Entry* entry = index < 0 ? nullptr : FindEntry(window);
  if (entry != nullptr && AlreadyReads(*entry, index, value)) return;
  const BOOL stored = SetPropA(window, key, reinterpret_cast<HANDLE>(value));
  if (entry == nullptr) return;
  if (!stored) {
    // The window keeps whatever it had; the next read asks it.
    entry->known &= ~Bit(index);
    entry->present &= ~Bit(index);
    return;
  }
  entry->values[index] = value;
  entry->known |= Bit(index);
  entry->present |= Bit(index);
}

void RemoveSkinProp(HWND window, const char* key) {
  const int index = KeyIndex(key);
  Entry* entry = index < 0 ? nullptr : FindEntry(window);
  // A key the window is known to lack needs no call to remove it.
  const bool absent =
      entry != nullptr && (entry->known & Bit(index)) != 0 && (entry->present & Bit(index)) == 0;
  if (!absent) RemovePropA(window, key);
  if (entry == nullptr) return;
  entry->values[index] = 0;
  entry->known |= Bit(index);
  entry->present &= ~Bit(index);
  // The window's last skin property is gone: so is its entry. Keys never known are asked of the
  // window again, should it still carry any.
  if (entry->present == 0) DropEntry(window);
}

bool WindowCarriesSkin(HWND window) {
  return window != nullptr && GetPropA(window, props::kProcAddr) != nullptr;
}

void RestoreSkinProp(HWND window, const char* key) {
  const int index = KeyIndex(key);
  const Entry* entry = index < 0 ? nullptr : FindEntry(window);
  if (entry == nullptr || (entry->present & Bit(index)) == 0) return;
  const auto kept = reinterpret_cast<HANDLE>(entry->values[index]);
  if (GetPropA(window, key) != kept) SetPropA(window, key, kept);
}

void RememberSkinProps(HWND window, SkinTraits traits) {
  if (window == nullptr || GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId()) {
    return;
  }
  if (store.table == nullptr) store.table = new Table;
  // Anything still kept under this handle belonged to a window destroyed without its skin being
  // taken off; the window now behind the handle starts with nothing known.
  Entry& entry = (*store.table)[window];
  entry = Entry{};
  entry.traits = traits;
  // What the window carries now, learnt in one call: from here on the store answers every read,
  // and writes that would change nothing are left out.
  EnumPropsExA(window, NoteCarriedKey, reinterpret_cast<LPARAM>(&entry));
  entry.known = kAllKeysMask;
  store.lastWindow = window;
  store.lastEntry = &entry;
}

bool RemembersWindow(HWND window) { return FindEntry(window) != nullptr; }

void ForgetSkinProps(HWND window) {
  if (FindEntry(window) != nullptr) DropEntry(window);
}

SkinTraits GetSkinTraits(HWND window) {
  if (const Entry* entry = FindEntry(window)) return entry->traits;
  return {GetSkinFamily(window), IsWindowUnicode(window) != FALSE};
}

int GetSkinDpi(HWND window) {
  if (const Entry* entry = FindEntry(window); entry != nullptr && entry->dpi > 0) return entry->dpi;
  return win::WindowDpi(window);
}

void SetSkinDpi(HWND window, int dpi) {
  if (Entry* entry = FindEntry(window)) entry->dpi = dpi;
}

RenderedFaces GetRenderedFaces(HWND window) {
  const Entry* entry = FindEntry(window);
  return entry != nullptr ? entry->faces : RenderedFaces{};
}

void SetRenderedFaces(HWND window, RenderedFaces faces) {
  if (Entry* entry = FindEntry(window)) entry->faces = faces;
}

SkinState GetSkinState(HWND window) {
  const LONG_PTR value = GetSkinProp(window, props::kOldState);
  if (value < 0 || value >= kSkinStateCount) return SkinState::Normal;
  return static_cast<SkinState>(value);
}

void SetSkinState(HWND window, SkinState state) {
  SetSkinProp(window, props::kOldState, ToInt(state));
}

bool IsSkinned(HWND window) {
  return window != nullptr && GetSkinProp(window, props::kProcAddr) != 0;
}

}  // namespace skin
