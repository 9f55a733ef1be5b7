// The counts of tests/support/gdi_counts.h, read from the shared GDI handle table.

#include "tests/support/gdi_counts.h"

#include <windows.h>

#include <cstdint>
#include <sstream>

#include "win/unique_handle.h"

namespace testing_support {
namespace {

// One entry of the shared GDI handle table. Fixed-width fields: the same layout in 32- and
// 64-bit processes.
struct HandleEntry {
  uint64_t object;
  uint32_t owner;
  uint8_t extType;  // bits 0..6 the full type, bit 7 the stock flag
  uint8_t generation;
  uint8_t type;  // base type; 0 marks a free entry
  uint8_t flags;
  uint64_t userPointer;
};
static_assert(sizeof(HandleEntry) == 24, "handle table entries are 24 bytes");

constexpr unsigned kMaxHandles = 0x10000;

// Full types (the object type of a handle shifted right by 16 bits).
constexpr unsigned kTypeDc = 0x01;
constexpr unsigned kTypeRegion = 0x04;
constexpr unsigned kTypeSurface = 0x05;
constexpr unsigned kTypeBitmap = 0x09;
constexpr unsigned kTypePalette = 0x08;
constexpr unsigned kTypeFont = 0x0a;
constexpr unsigned kTypeBrush = 0x10;
constexpr unsigned kTypePen = 0x30;
constexpr unsigned kTypeMemoryDc = 0x41;
constexpr unsigned kTypeExtPen = 0x50;

// Where the environment blocks keep what leads to the table. A 32-bit process under Wine also
// has a 64-bit thread environment block, whose address sits in the 32-bit block's
// GdiBatchCount field, and the table's address is kept in the 64-bit process block only.
constexpr size_t kTeb64ProcessEnvironmentBlock = 0x60;
constexpr size_t kPeb64GdiSharedHandleTable = 0xF8;
constexpr size_t kTeb32ProcessEnvironmentBlock = 0x30;
constexpr size_t kPeb32GdiSharedHandleTable = 0x94;
constexpr size_t kTeb32GdiBatchCount = 0xF70;

template <typename Value>
Value ReadAt(uint64_t address, size_t offset) {
  return *reinterpret_cast<const Value*>(static_cast<uintptr_t>(address + offset));
}

uint64_t CurrentTeb() {
  // NtCurrentTeb reads the segment register; GCC mistakes that read for an out-of-bounds access.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
  return reinterpret_cast<uintptr_t>(NtCurrentTeb());
#pragma GCC diagnostic pop
}

uint64_t FindTable() {
  uint64_t teb = CurrentTeb();
  if (teb == 0) return 0;
#ifdef _WIN64
  uint64_t peb = ReadAt<uint64_t>(teb, kTeb64ProcessEnvironmentBlock);
  return peb == 0 ? 0 : ReadAt<uint64_t>(peb, kPeb64GdiSharedHandleTable);
#else
  uint64_t peb = ReadAt<uint32_t>(teb, kTeb32ProcessEnvironmentBlock);
  if (peb != 0 && ReadAt<uint32_t>(peb, kPeb32GdiSharedHandleTable) != 0) {
    return ReadAt<uint32_t>(peb, kPeb32GdiSharedHandleTable);
  }
  uint64_t teb64 = ReadAt<uint32_t>(teb, kTeb32GdiBatchCount);
  if (teb64 == 0) return 0;
  uint64_t peb64 = ReadAt<uint64_t>(teb64, kTeb64ProcessEnvironmentBlock);
  if (peb64 == 0 || peb64 > UINT32_MAX) return 0;
  uint64_t table = ReadAt<uint64_t>(peb64, kPeb64GdiSharedHandleTable);
  return table > UINT32_MAX ? 0 : table;
#endif
}

const HandleEntry* Table() {
  static const HandleEntry* const table =
      reinterpret_cast<const HandleEntry*>(static_cast<uintptr_t>(FindTable()));
  return table;
}

unsigned FullType(const HandleEntry& entry) { return entry.extType & 0x7Fu; }

const HandleEntry* EntryOf(const HandleEntry* table, void* handle) {
  auto index = static_cast<unsigned>(reinterpret_cast<uintptr_t>(handle) & 0xFFFF);
  return &table[index];
}

void Count(unsigned type, GdiCounts& counts) {
  switch (type) {
    case kTypeDc:
      ++counts.displayDcs;
      break;
    case kTypeMemoryDc:
      ++counts.memoryDcs;
      break;
    case kTypeSurface:
    case kTypeBitmap:
      ++counts.bitmaps;
      break;
    case kTypeBrush:
      ++counts.brushes;
      break;
    case kTypePen:
    case kTypeExtPen:
      ++counts.pens;
      break;
    case kTypeRegion:
      ++counts.regions;
      break;
    case kTypePalette:
      ++counts.palettes;
      break;
    case kTypeFont:
      ++counts.fonts;
      break;
    default:
      ++counts.others;
      break;
  }
}

}  // namespace

int GdiCounts::Total() const {
  return displayDcs + memoryDcs + bitmaps + brushes + pens + regions + palettes + fonts + others;
}

bool GdiCounts::operator==(const GdiCounts& other) const {
  return displayDcs == other.displayDcs && memoryDcs == other.memoryDcs &&
         bitmaps == other.bitmaps && brushes == other.brushes && pens == other.pens &&
         regions == other.regions && palettes == other.palettes && fonts == other.fonts &&
         others == other.others;
}

std::string ToString(const GdiCounts& counts) {
  std::ostringstream out;
  out << "{display DCs " << counts.displayDcs << ", memory DCs " << counts.memoryDcs << ", bitmaps "
      << counts.bitmaps << ", brushes " << counts.brushes << ", pens " << counts.pens
      << ", regions " << counts.regions << ", palettes " << counts.palettes << ", fonts "
      << counts.fonts << ", others " << counts.others << "}";
  return out.str();
}

std::ostream& operator<<(std::ostream& out, const GdiCounts& counts) {
  return out << ToString(counts);
}

void PrintTo(const GdiCounts& counts, std::ostream* out) { *out << ToString(counts); }

unsigned GdiHandleTableType(void* handle) {
  const HandleEntry* table = Table();
  if (table == nullptr || handle == nullptr) return 0;
  const HandleEntry* entry = EntryOf(table, handle);
  return entry->type == 0 ? 0 : FullType(*entry);
}

bool GdiAccountingAvailable() {
  static const bool available = [] {
    if (Table() == nullptr) return false;
    bool typesMatch = false;
    int before = 0;
    {
      const win::Bitmap bitmap(CreateBitmap(1, 1, 1, 1, nullptr));
      const win::Brush brush(CreateSolidBrush(RGB(1, 2, 3)));
      const win::Region region(CreateRectRgn(0, 0, 1, 1));
      const win::MemoryDc memory(nullptr);
      typesMatch = GdiHandleTableType(bitmap.get()) == kTypeBitmap &&
                   GdiHandleTableType(brush.get()) == kTypeBrush &&
                   GdiHandleTableType(region.get()) == kTypeRegion &&
                   GdiHandleTableType(memory.get()) == kTypeMemoryDc &&
                   GdiHandleTableType(GetStockObject(DEFAULT_PALETTE)) == kTypePalette &&
                   GdiHandleTableType(GetStockObject(SYSTEM_FONT)) == kTypeFont;
      before = CountGdiObjects().Total();
    }
    // Deleting freed the entries: the count must have dropped by exactly four.
    return typesMatch && CountGdiObjects().Total() == before - 4;
  }();
  return available;
}

GdiCounts CountGdiObjects() {
  GdiCounts counts;
  const HandleEntry* table = Table();
  if (table == nullptr) return counts;
  for (unsigned index = 0; index < kMaxHandles; ++index) {
    if (table[index].type != 0) Count(FullType(table[index]), counts);
  }
  return counts;
}

}  // namespace testing_support
