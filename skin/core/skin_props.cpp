#include "skin/core/skin_props.h"

#include <cstdint>
#include <iterator>
#include <string.h>
#include <unordered_map>
#include <vector>

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
  bool focusCuesHidden = false;
  // The procedure the skin's passes messages on to; while the skin is on the window it is also
  // the value of "PROCADDR".
  WNDPROC previous = nullptr;
  bool link = false;   // the skin's procedure stays in the chain after a detach
  bool ended = false;  // the window is being destroyed
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

thread_local PropertyWriter propertyWriter = nullptr;

BOOL WriteProperty(HWND window, const char* key, HANDLE value) {
  return propertyWriter != nullptr ? propertyWriter(window, key, value)
                                   : SetPropA(window, key, value);
}

constexpr int kProcAddrIndex = 0;
static_assert(props::kAllKeys[kProcAddrIndex] == props::kProcAddr);

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

// The store's one rule for leaving out calls to the window: a write or removal is left out where
// the store knows that it would change nothing any reader, in this process or another, can see.
// A write is left out where the window carries the value already, or lacks the key and the value
// is 0 (a missing property reads as 0); a removal where the window lacks the key.
bool AlreadyReads(const Entry& entry, int index, LONG_PTR value) {
  if ((entry.known & Bit(index)) == 0) return false;
  if ((entry.present & Bit(index)) != 0) return entry.values[index] == value;
  return value == 0;
}

bool AlreadyLacks(const Entry& entry, int index) {
  return (entry.known & Bit(index)) != 0 && (entry.present & Bit(index)) == 0;
}

// A held window whose destruction has begun, or has ended unseen, is no longer held.
Entry* FindHeldEntry(HWND window) {
  Entry* entry = FindEntry(window);
  return entry != nullptr && !entry->ended ? entry : nullptr;
}

// Ends the entries of windows destroyed without their last message reaching the skin.
void DropEndedEntriesOfWindowsGone() {
  if (store.table == nullptr) return;
  std::vector<HWND> gone;
  for (const auto& [window, entry] : *store.table) {
    if (entry.ended && !IsWindow(window)) gone.push_back(window);
  }
  for (HWND window : gone) DropEntry(window);
}

// The DPI of the nearest window the store keeps skinned that the window lies in; 0 for none.
int SkinnedOuterDpi(HWND window) {
  for (HWND outer = GetAncestor(window, GA_PARENT); outer != nullptr;
       outer = GetAncestor(outer, GA_PARENT)) {
    if (SkinHoldOf(outer) == SkinHold::kSkinned) return FindEntry(outer)->dpi;
  }
  return 0;
}

WNDPROC CurrentProcedure(HWND window, bool unicode) {
  return reinterpret_cast<WNDPROC>(unicode ? GetWindowLongPtrW(window, GWLP_WNDPROC)
                                           : GetWindowLongPtrA(window, GWLP_WNDPROC));
}

bool SetSkinProp(HWND window, const char* key, LONG_PTR value) {
  const int index = KeyIndex(key);
  Entry* entry = index < 0 ? nullptr : FindEntry(window);
  if (entry != nullptr && AlreadyReads(*entry, index, value)) return true;
  const BOOL stored = WriteProperty(window, key, reinterpret_cast<HANDLE>(value));
  if (entry == nullptr) return stored != FALSE;
  if (!stored) {
    // The window keeps whatever it had; the next read asks it.
    entry->known &= ~Bit(index);
    entry->present &= ~Bit(index);
    return false;
  }
  entry->values[index] = value;
  entry->known |= Bit(index);
  entry->present |= Bit(index);
  return true;
}

void SetPropertyWriterForTesting(PropertyWriter writer) { propertyWriter = writer; }

void RemoveSkinProp(HWND window, const char* key) {
  const int index = KeyIndex(key);
  Entry* entry = index < 0 ? nullptr : FindEntry(window);
  if (entry == nullptr || !AlreadyLacks(*entry, index)) RemovePropA(window, key);
  if (entry == nullptr) return;
  entry->values[index] = 0;
  entry->known |= Bit(index);
  entry->present &= ~Bit(index);
  // The window's last skin property is gone: so is its entry, unless the skin's procedure stays
  // in its chain. Keys never known are asked of the window again, should it still carry any.
  if (entry->present == 0 && !entry->link) DropEntry(window);
}

void RestoreSkinProp(HWND window, const char* key) {
  const int index = KeyIndex(key);
  const Entry* entry = index < 0 ? nullptr : FindEntry(window);
  if (entry == nullptr || (entry->present & Bit(index)) == 0) return;
  const auto kept = reinterpret_cast<HANDLE>(entry->values[index]);
  if (GetPropA(window, key) != kept) WriteProperty(window, key, kept);
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

SkinHold SkinHoldOf(HWND window) {
  const Entry* entry = FindHeldEntry(window);
  if (entry == nullptr) return SkinHold::kNone;
  if ((entry->present & Bit(kProcAddrIndex)) != 0) return SkinHold::kSkinned;
  return entry->link ? SkinHold::kLink : SkinHold::kNone;
}

bool RemembersWindow(HWND window) { return FindHeldEntry(window) != nullptr; }

bool RemembersAnyWindow() {
  if (store.table == nullptr) return false;
  for (const auto& [window, entry] : *store.table) {
    if (!entry.ended) return true;
  }
  return false;
}

SkinRecord::SkinRecord(HWND window, SkinTraits traits) : window_(window) {
  const Entry* kept = FindHeldEntry(window);
  reusesLink_ = kept != nullptr && kept->link;
  const WNDPROC previous = reusesLink_ ? kept->previous : CurrentProcedure(window, traits.unicode);
  const int outerDpi = SkinnedOuterDpi(window);
  RememberSkinProps(window, traits);
  Entry* entry = FindEntry(window);
  if (entry == nullptr) return;
  entry->previous = previous;
  entry->link = reusesLink_;
  dpi_ = entry->dpi = outerDpi > 0 ? outerDpi : win::WindowDpi(window);
}

bool SkinRecord::Keep() {
  const Entry* entry = FindHeldEntry(window_);
  if (entry == nullptr ||
      !SetSkinProp(window_, props::kProcAddr, reinterpret_cast<LONG_PTR>(entry->previous))) {
    return false;
  }
  window_ = nullptr;
  return true;
}

SkinRecord::~SkinRecord() {
  if (window_ == nullptr) return;
  if (reusesLink_) {
    LeaveSkinLink(window_);
  } else {
    ForgetSkinWindow(window_);
  }
}

void ForgetSkinWindow(HWND window) {
  RemoveSkinProp(window, props::kProcAddr);
  if (FindEntry(window) != nullptr) DropEntry(window);
}

void LeaveSkinLink(HWND window) {
  Entry* entry = FindEntry(window);
  if (entry == nullptr) return;
  entry->link = true;
  RemoveSkinProp(window, props::kProcAddr);
}

WNDPROC SkinLinkOf(HWND window) {
  const Entry* entry = FindEntry(window);
  return entry != nullptr && entry->link ? entry->previous : nullptr;
}

void EndSkinEntry(HWND window) {
  DropEndedEntriesOfWindowsGone();
  Entry* entry = FindEntry(window);
  if (entry == nullptr) return;
  if (!entry->link) {
    DropEntry(window);
    return;
  }
  entry->ended = true;
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

bool FocusCuesHidden(HWND window) {
  const Entry* entry = FindEntry(window);
  return entry != nullptr && entry->focusCuesHidden;
}

void SetFocusCuesHidden(HWND window, bool hidden) {
  if (Entry* entry = FindEntry(window)) entry->focusCuesHidden = hidden;
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
