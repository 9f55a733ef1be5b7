// The benchmark: measures, side by side in one run, what the skin costs next to the platform's
// own controls, and prints one table with each goal marked met or missed. Exits with 0 when every
// goal was met, 1 otherwise.

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "bench/measurements.h"
#include "bench/report.h"
#include "win/module_function.h"

namespace {

#ifdef _WIN64
constexpr char kArchitecture[] = "x86_64";
#else
constexpr char kArchitecture[] = "i686";
#endif

std::string ProcessorName() {
  char name[256] = {};
  DWORD size = sizeof name;
  if (RegGetValueA(HKEY_LOCAL_MACHINE, "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0",
                   "ProcessorNameString", RRF_RT_REG_SZ, nullptr, name, &size) != ERROR_SUCCESS) {
    return "unknown processor";
  }
  return name;
}

// The Wine version when running under Wine, else the Windows version.
std::string PlatformName() {
  using WineGetVersion = const char*(CDECL*)();
  const auto wineGetVersion =
      win::LoadedModuleFunction<WineGetVersion>(L"ntdll.dll", "wine_get_version");
  if (wineGetVersion != nullptr) return std::string("Wine ") + wineGetVersion();
  return "Windows";
}

void PrintMachine() {
  SYSTEM_INFO system{};
  GetNativeSystemInfo(&system);
  std::printf("Morvane benchmark at %d DPI, %s build, %s, %s, %lu logical processors\n\n",
              bench::BenchDpi(), kArchitecture, PlatformName().c_str(), ProcessorName().c_str(),
              static_cast<unsigned long>(system.dwNumberOfProcessors));
}

}  // namespace

// With the argument "startup" only the start-up is measured, with "memory" only the memory.
int main(int argc, char** argv) {
  const bool startupOnly = argc > 1 && std::strcmp(argv[1], "startup") == 0;
  const bool memoryOnly = argc > 1 && std::strcmp(argv[1], "memory") == 0;
  PrintMachine();
  bench::Report report;
  // The starts first, while the benchmark itself holds little of the machine.
  if (!memoryOnly) bench::MeasureStartup(report);
  if (!startupOnly) bench::MeasureMemory(report);
  if (!startupOnly && !memoryOnly) {
    const bench::PlatformFigures platform = bench::MeasurePlatform(report);
    bench::MeasureSkin(report, platform);
  }
  report.Print(stdout);
  const int missed = report.MissedGoals();
  std::printf("\n%d goal(s) missed\n", missed);
  return missed == 0 ? 0 : 1;
}
