#pragma once

// Exact accounting of the live GDI objects of this process, for leak tests.
//
// GetGuiResources returns 0 under Wine, so the counts come from the GDI handle table that Wine
// keeps in memory shared with the process and publishes through the process environment block
// (PEB::GdiSharedHandleTable, as Windows does). Every live GDI object of the process occupies
// one entry, whoever created it: objects made through any import of gdi32, by user32 on the
// program's behalf (cached window DCs, a region handed over with SetWindowRgn and later deleted
// by the system) and stock objects alike. A free entry has type 0. The layout is the same for
// 32- and 64-bit processes (every field has a fixed width), so the count is exact on both.
// GdiAccountingAvailable() checks the layout against objects of known type before anything
// relies on it.
//
// Intercepting the program's gdi32 imports instead would miss every object created or deleted
// inside the system DLLs (window DCs, a region handed to SetWindowRgn), so it could not be exact.
//
// The system caches some objects on first use and keeps them: the DC (with its bitmap and
// region) behind the first GetDC / GetWindowDC of a window or of the screen. Take such a DC once
// before the first snapshot.
//
// This half needs no GoogleTest, so that the benchmark counts with it too; the tests' check
// around a scenario is in tests/support/gdi_accounting.h.

#include <ostream>
#include <string>

namespace testing_support {

// Live GDI objects of the process by kind.
struct GdiCounts {
  int displayDcs = 0;  // DCs from CreateDC, GetDC, GetWindowDC, BeginPaint
  int memoryDcs = 0;   // DCs from CreateCompatibleDC
  int bitmaps = 0;
  int brushes = 0;
  int pens = 0;  // pens and extended pens
  int regions = 0;
  int palettes = 0;
  int fonts = 0;
  int others = 0;  // metafiles, metafile DCs, colour spaces and the like

  int Total() const;
  bool operator==(const GdiCounts& other) const;
  bool operator!=(const GdiCounts& other) const { return !(*this == other); }
};

std::string ToString(const GdiCounts& counts);
std::ostream& operator<<(std::ostream& out, const GdiCounts& counts);
// So that GoogleTest prints the counts in failure messages.
void PrintTo(const GdiCounts& counts, std::ostream* out);

// True when the shared handle table is present and its entries read as expected.
bool GdiAccountingAvailable();

// A snapshot of the live objects now. All zero when accounting is unavailable.
GdiCounts CountGdiObjects();

// The kind of one handle as the table records it (for diagnostics); 0 when the entry is free.
unsigned GdiHandleTableType(void* handle);

}  // namespace testing_support
