#include "tests/app/repair/editor_stand_in.h"

#include <shellapi.h>
#include <tlhelp32.h>

#include "app/repair/registry_editor.h"
#include "win/unique_handle.h"

namespace payload_tests {
namespace {

constexpr wchar_t kEditorName[] = L"regedit.exe";

// Files through which the test and the stand-in talk, in the temporary directory.
std::wstring ModeFile() { return TempDirectory() + L"morvane-stand-in.mode"; }
std::wstring StartsFile() { return TempDirectory() + L"morvane-stand-in.starts"; }
std::wstring SeenFile() { return TempDirectory() + L"morvane-stand-in.seen"; }
std::wstring LaunchFile() { return TempDirectory() + L"morvane-stand-in.launch"; }
std::wstring WroteFile() { return TempDirectory() + L"morvane-stand-in.wrote"; }

// The event that lets a held stand-in end, and how long it waits for it at most.
constexpr wchar_t kReleaseEvent[] = L"morvane-stand-in-release";
constexpr DWORD kHeldMs = 60000;

constexpr wchar_t kArgumentEnd = L'\n';
constexpr wchar_t kStartEnd = L'\f';
constexpr wchar_t kCompatLayer[] = L"__COMPAT_LAYER";

Bytes AsBytes(const std::wstring& text) {
  const auto* data = reinterpret_cast<const unsigned char*>(text.data());
  return Bytes(data, data + text.size() * sizeof(wchar_t));
}

std::wstring AsText(const Bytes& bytes) {
  std::wstring text(bytes.size() / sizeof(wchar_t), L'\0');
  if (!text.empty()) memcpy(&text[0], bytes.data(), text.size() * sizeof(wchar_t));
  return text;
}

// The command line, then kArgumentEnd and the compat layer when it is set.
void RecordLaunch() {
  std::wstring record = GetCommandLineW();
  wchar_t layer[256] = {};
  SetLastError(ERROR_SUCCESS);
  if (GetEnvironmentVariableW(kCompatLayer, layer, 256) != 0 ||
      GetLastError() != ERROR_ENVVAR_NOT_FOUND) {
    record += kArgumentEnd + std::wstring(layer);
  }
  WriteFileBytes(LaunchFile(), AsBytes(record));
}

void AppendStart(const std::vector<std::wstring>& arguments) {
  std::wstring record;
  for (const std::wstring& argument : arguments) record += argument + kArgumentEnd;
  record += kStartEnd;
  const win::KernelHandle file(CreateFileW(StartsFile().c_str(), FILE_APPEND_DATA, FILE_SHARE_READ,
                                           nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return;
  DWORD written = 0;
  WriteFile(file.get(), record.data(), static_cast<DWORD>(record.size() * sizeof(wchar_t)),
            &written, nullptr);
}

// Tries to put other bytes at the start of the file, as a program meddling with the import would;
// true when that worked.
bool TryToOverwrite(const std::wstring& path) {
  const win::KernelHandle file(CreateFileW(path.c_str(), GENERIC_WRITE,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  constexpr char kMeddled[] = "meddled";
  DWORD written = 0;
  return file && WriteFile(file.get(), kMeddled, sizeof kMeddled, &written, nullptr) &&
         written == sizeof kMeddled;
}

// What the program does when it was started as the registry editor.
int RunAsStandIn() {
  int count = 0;
  const win::LocalMemory<LPWSTR*> argv(CommandLineToArgvW(GetCommandLineW(), &count));
  std::vector<std::wstring> arguments;
  for (int i = 1; argv && i < count; ++i) arguments.emplace_back(argv.get()[i]);

  if (!arguments.empty()) {
    WriteFileBytes(SeenFile(), ReadFileBytes(arguments.back()));
    WriteFileBytes(WroteFile(),
                   Bytes{static_cast<unsigned char>(TryToOverwrite(arguments.back()) ? '1' : '0')});
  }
  RecordLaunch();
  AppendStart(arguments);
  const Bytes mode = ReadFileBytes(ModeFile());
  if (mode == Bytes{'h'}) Sleep(INFINITE);
  if (mode == Bytes{'w'}) {
    const win::KernelHandle release(OpenEventW(SYNCHRONIZE, FALSE, kReleaseEvent));
    if (release) WaitForSingleObject(release.get(), kHeldMs);
  }
  return 0;
}

bool StartedAsEditor() {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  const wchar_t* name = wcsrchr(self, L'\\');
  return _wcsicmp(name != nullptr ? name + 1 : self, kEditorName) == 0;
}

// Runs before the test framework starts: under the editor's name this program is the stand-in.
[[maybe_unused]] const bool kStandInChecked = [] {
  if (StartedAsEditor()) ExitProcess(static_cast<UINT>(RunAsStandIn()));
  return true;
}();

// Ids of the running processes whose program file is named name; nothing when the list of
// processes cannot be taken.
std::optional<std::vector<DWORD>> ProcessesNamed(const wchar_t* name) {
  const win::KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return std::nullopt;
  std::vector<DWORD> ids;
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
       more = Process32NextW(snapshot.get(), &entry)) {
    if (_wcsicmp(entry.szExeFile, name) == 0) ids.push_back(entry.th32ProcessID);
  }
  return ids;
}

void EndProcessesNamed(const wchar_t* name) {
  for (DWORD id : ProcessesNamed(name).value_or(std::vector<DWORD>{})) {
    const win::KernelHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
    if (!process) continue;
    TerminateProcess(process.get(), 1);
    WaitForSingleObject(process.get(), 5000);
  }
}

// The files in which the stand-in records what it was given and did.
void DeleteRecords() {
  for (const std::wstring& file : {StartsFile(), SeenFile(), LaunchFile(), WroteFile()}) {
    DeleteFileW(file.c_str());
  }
}

}  // namespace

EditorStandIn::EditorStandIn(Mode mode)
    : editor_(app::RegistryEditorPath()), backup_(editor_ + L".morvane-test-backup") {
  DeleteRecords();
  const unsigned char modeLetter = mode == Mode::kHang ? 'h' : mode == Mode::kHeld ? 'w' : 'x';
  WriteFileBytes(ModeFile(), Bytes{modeLetter});
  if (mode == Mode::kHeld) release_.reset(CreateEventW(nullptr, TRUE, FALSE, kReleaseEvent));
  // A backup left by a run that did not finish holds the real editor: put it back first.
  if (GetFileAttributesW(backup_.c_str()) != INVALID_FILE_ATTRIBUTES) {
    CopyFileW(backup_.c_str(), editor_.c_str(), FALSE);
  }
  if (!CopyFileW(editor_.c_str(), backup_.c_str(), FALSE)) return;
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  installed_ = mode == Mode::kMissing ? DeleteFileW(editor_.c_str()) != FALSE
                                      : CopyFileW(self, editor_.c_str(), FALSE) != FALSE;
}

EditorStandIn::~EditorStandIn() {
  EndProcessesNamed(kEditorName);
  if (GetFileAttributesW(backup_.c_str()) != INVALID_FILE_ATTRIBUTES &&
      CopyFileW(backup_.c_str(), editor_.c_str(), FALSE)) {
    DeleteFileW(backup_.c_str());
  }
  DeleteFileW(ModeFile().c_str());
  DeleteRecords();
}

std::vector<std::vector<std::wstring>> EditorStandIn::Starts() const {
  const std::wstring text = AsText(ReadFileBytes(StartsFile()));
  std::vector<std::vector<std::wstring>> starts;
  std::vector<std::wstring> arguments;
  std::wstring argument;
  for (wchar_t unit : text) {
    if (unit == kStartEnd) {
      starts.push_back(arguments);
      arguments.clear();
    } else if (unit == kArgumentEnd) {
      arguments.push_back(argument);
      argument.clear();
    } else {
      argument += unit;
    }
  }
  return starts;
}

Bytes EditorStandIn::LastImportFile() const { return ReadFileBytes(SeenFile()); }

std::optional<bool> EditorStandIn::OverwroteImportFile() const {
  const Bytes wrote = ReadFileBytes(WroteFile());
  if (wrote.empty()) return std::nullopt;
  return wrote == Bytes{'1'};
}

std::wstring EditorStandIn::LastCommandLine() const {
  const std::wstring record = AsText(ReadFileBytes(LaunchFile()));
  return record.substr(0, record.find(kArgumentEnd));
}

std::optional<std::wstring> EditorStandIn::LastCompatLayer() const {
  const std::wstring record = AsText(ReadFileBytes(LaunchFile()));
  const size_t end = record.find(kArgumentEnd);
  if (end == std::wstring::npos) return std::nullopt;
  return record.substr(end + 1);
}

int CountProcessesNamed(const wchar_t* name) {
  const std::optional<std::vector<DWORD>> ids = ProcessesNamed(name);
  return ids ? static_cast<int>(ids->size()) : -1;
}

}  // namespace payload_tests
