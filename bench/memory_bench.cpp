// Goal 10: the program's memory with its window up and idle, against the bare dialog with the
// same controls. Both are started as the start-up row starts them, in turn; once a window is
// ready and its program waits for input, the benchmark reads the process's counters from
// outside, walks its address space and lists the DLLs its loader holds, and closes it again.

#include <windows.h>
// psapi.h needs windows.h first.
#include <psapi.h>

#include <algorithm>
#include <optional>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "bench/measurements.h"
#include "bench/startup_programs.h"
#include "bench/timing.h"
#include "tests/support/program_launch.h"

namespace bench {
namespace {

constexpr double kGoalRatio = 1.15;
constexpr int kPairs = 7;
// How long a ready window's program may take to come to rest in its message loop.
constexpr DWORD kIdleTimeoutMs = 5000;
constexpr double kBytesPerMebibyte = 1024.0 * 1024.0;

// What one idle process holds.
struct MemorySample {
  double workingSet = 0;
  double peakWorkingSet = 0;
  double privateBytes = 0;
  double gdiObjects = 0;
  double userObjects = 0;
  // Committed address space by kind: images (the program and its DLLs), mapped files and
  // sections, and private memory (heaps, stacks, the system's per-process data).
  double imageBytes = 0;
  double mappedBytes = 0;
  double privateCommitted = 0;
  std::set<std::wstring> modules;  // base names in lower case
};

void WalkAddressSpace(HANDLE process, MemorySample& sample) {
  MEMORY_BASIC_INFORMATION region{};
  const char* address = nullptr;
  while (VirtualQueryEx(process, address, &region, sizeof region) == sizeof region) {
    if (region.State == MEM_COMMIT) {
      const auto size = static_cast<double>(region.RegionSize);
      if (region.Type == MEM_IMAGE) sample.imageBytes += size;
      if (region.Type == MEM_MAPPED) sample.mappedBytes += size;
      if (region.Type == MEM_PRIVATE) sample.privateCommitted += size;
    }
    const char* next = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
    if (next <= address) break;
    address = next;
  }
}

// The base names, in lower case, of the DLLs the process has loaded.
std::set<std::wstring> ModuleNames(HANDLE process) {
  std::vector<HMODULE> modules(512);
  DWORD needed = 0;
  const auto bytes = static_cast<DWORD>(modules.size() * sizeof(HMODULE));
  if (!EnumProcessModulesEx(process, modules.data(), bytes, &needed, LIST_MODULES_ALL)) return {};
  modules.resize(std::min<size_t>(modules.size(), needed / sizeof(HMODULE)));
  std::set<std::wstring> names;
  for (HMODULE module : modules) {
    wchar_t name[MAX_PATH] = {};
    if (GetModuleBaseNameW(process, module, name, MAX_PATH) == 0) continue;
    std::wstring lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(), towlower);
    // The program itself is a module of its process but no DLL, and each side's has its own name.
    if (lower.ends_with(L".exe")) continue;
    names.insert(lower);
  }
  return names;
}

std::optional<MemorySample> SampleIdle(const std::wstring& program) {
  const launch::Started started = launch::Start(program, L"");
  if (!started) return std::nullopt;
  HWND window = launch::WaitUntilReady(started);
  std::optional<MemorySample> sample;
  if (window != nullptr) {
    WaitForInputIdle(started.process.get(), kIdleTimeoutMs);
    HANDLE process = started.process.get();
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                             sizeof counters)) {
      sample.emplace();
      sample->workingSet = static_cast<double>(counters.WorkingSetSize);
      sample->peakWorkingSet = static_cast<double>(counters.PeakWorkingSetSize);
      sample->privateBytes = static_cast<double>(counters.PrivateUsage);
      sample->gdiObjects = GetGuiResources(process, GR_GDIOBJECTS);
      sample->userObjects = GetGuiResources(process, GR_USEROBJECTS);
      WalkAddressSpace(process, *sample);
      sample->modules = ModuleNames(process);
    }
  }
  launch::CloseAndWait(started, window);
  return sample;
}

std::string Mebibytes(double bytes) { return Fixed(bytes / kBytesPerMebibyte, 1) + " MiB"; }

// The median of one field over the samples.
template <typename Field>
double MedianOf(const std::vector<MemorySample>& samples, Field field) {
  std::vector<double> values;
  for (const MemorySample& sample : samples) values.push_back(sample.*field);
  return Median(std::move(values));
}

// "a / b" of the medians; the word that the platform does not count it when both read 0 (Wine
// gives no private bytes and no GDI or USER object counts), which the page's writer turns into a
// sentence.
std::string Pair(const std::vector<MemorySample>& program, const std::vector<MemorySample>& bare,
                 double MemorySample::*field, bool bytes) {
  const double a = MedianOf(program, field);
  const double b = MedianOf(bare, field);
  if (a == 0 && b == 0) return kNotGivenFigure;
  if (!bytes) return Fixed(a, 0) + " / " + Fixed(b, 0);
  return Mebibytes(a) + " / " + Mebibytes(b) + " (+" + Mebibytes(a - b) + ")";
}

// The DLLs in every sample of one program and in no sample of the other, comma-separated.
std::string OnlyIn(const std::vector<MemorySample>& these,
                   const std::vector<MemorySample>& others) {
  std::set<std::wstring> common = these.front().modules;
  for (const MemorySample& sample : these) {
    std::set<std::wstring> kept;
    std::set_intersection(common.begin(), common.end(), sample.modules.begin(),
                          sample.modules.end(), std::inserter(kept, kept.begin()));
    common = std::move(kept);
  }
  for (const MemorySample& sample : others) {
    for (const std::wstring& name : sample.modules) common.erase(name);
  }
  std::string list;
  for (const std::wstring& name : common) {
    if (!list.empty()) list += ", ";
    list += std::string(name.begin(), name.end());  // module names are ASCII
  }
  return list.empty() ? "none" : list;
}

}  // namespace

void MeasureMemory(Report& report) {
  const std::wstring program = StrippedCopy(kProgramName);
  const std::wstring bare = StrippedCopy(kBareDialogName);
  ParkPointer();
  std::vector<MemorySample> programSamples, bareSamples;
  for (int pair = 0; pair < kPairs; ++pair) {
    if (auto sample = SampleIdle(program)) programSamples.push_back(std::move(*sample));
    if (auto sample = SampleIdle(bare)) bareSamples.push_back(std::move(*sample));
  }
  const std::string goal = "<= " + Fixed(kGoalRatio, 2);
  const std::string goalLabel =
      "10. Working set with the window up and idle, the program / a bare dialog";
  if (programSamples.empty() || bareSamples.empty()) {
    report.AddGoal(goalLabel, "failed", goal, false);
    return;
  }
  const double ratio = MedianOf(programSamples, &MemorySample::workingSet) /
                       MedianOf(bareSamples, &MemorySample::workingSet);
  report.AddGoal(goalLabel, Fixed(ratio, 3), goal, ratio <= kGoalRatio);
  std::string label = "   Working set, medians of ";
  label += std::to_string(kPairs);
  label += " starts each";
  report.AddFigure(std::move(label),
                   Pair(programSamples, bareSamples, &MemorySample::workingSet, true));
  report.AddFigure("   Peak working set",
                   Pair(programSamples, bareSamples, &MemorySample::peakWorkingSet, true));
  report.AddFigure("   Private bytes",
                   Pair(programSamples, bareSamples, &MemorySample::privateBytes, true));
  report.AddFigure("   GDI objects",
                   Pair(programSamples, bareSamples, &MemorySample::gdiObjects, false));
  report.AddFigure("   USER objects",
                   Pair(programSamples, bareSamples, &MemorySample::userObjects, false));
  report.AddFigure("   of the address space: images committed (program and DLLs)",
                   Pair(programSamples, bareSamples, &MemorySample::imageBytes, true));
  report.AddFigure("   of the address space: mapped files and sections committed",
                   Pair(programSamples, bareSamples, &MemorySample::mappedBytes, true));
  report.AddFigure("   of the address space: private memory committed (heaps, stacks)",
                   Pair(programSamples, bareSamples, &MemorySample::privateCommitted, true));
  report.AddFigure("   DLLs loaded, the program / a bare dialog",
                   std::to_string(programSamples.front().modules.size()) + " / " +
                       std::to_string(bareSamples.front().modules.size()));
  report.AddFigure("   DLLs only the program loads", OnlyIn(programSamples, bareSamples));
  report.AddFigure("   DLLs only a bare dialog loads", OnlyIn(bareSamples, programSamples));
  MeasureSkinSurfaces(report);
}

}  // namespace bench
