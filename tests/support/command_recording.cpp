#include "tests/support/command_recording.h"

#include <tlhelp32.h>

#include <fstream>
#include <sstream>

#include "app/system/process_launch.h"
#include "tests/support/test_paths.h"

namespace testing_support {
namespace {

constexpr wchar_t kSavedSuffix[] = L".morvane-original";

// The system directory as this process sees it (same architecture as the program under test).
std::wstring SystemDirectoryForTest() {
  wchar_t buffer[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryW(buffer, MAX_PATH);
  return std::wstring(buffer, length);
}

// A bare file name is in the system directory; a full path stays as it is.
std::wstring PathOf(const std::wstring& fileName) {
  if (fileName.find(L'\\') != std::wstring::npos) return fileName;
  return SystemDirectoryForTest() + L"\\" + fileName;
}

void RestoreOriginal(const std::wstring& fileName) {
  const std::wstring path = PathOf(fileName);
  const std::wstring saved = path + kSavedSuffix;
  if (GetFileAttributesW(saved.c_str()) == INVALID_FILE_ATTRIBUTES) return;
  MoveFileExW(saved.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

bool StandIn(const std::wstring& fileName) {
  RestoreOriginal(fileName);
  const std::wstring path = PathOf(fileName);
  if (!MoveFileExW(path.c_str(), (path + kSavedSuffix).c_str(), MOVEFILE_REPLACE_EXISTING)) {
    return false;
  }
  return CopyFileW(CommandRecorderPath().c_str(), path.c_str(), FALSE) != FALSE;
}

std::wstring FromUtf8(const std::string& text) {
  const int size =
      MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size);
  return out;
}

}  // namespace

CommandRecording::CommandRecording(std::vector<std::wstring> fileNames)
    : fileNames_(std::move(fileNames)), logPath_(TestOutputPath(L"command-recorder.log")) {
  DeleteFileW(logPath_.c_str());
  const std::wstring eventName =
      L"MorvaneCommandRecorded-" + std::to_wstring(GetCurrentProcessId());
  event_.reset(CreateEventW(nullptr, FALSE, FALSE, eventName.c_str()));
  // The program under test inherits these, and passes them on to what it starts.
  SetEnvironmentVariableW(L"MORVANE_RECORDER_LOG", logPath_.c_str());
  SetEnvironmentVariableW(L"MORVANE_RECORDER_EVENT", eventName.c_str());
  ready_ = static_cast<bool>(event_);
  for (const std::wstring& name : fileNames_) ready_ = ready_ && StandIn(name) && Probe(name);
  DeleteFileW(logPath_.c_str());  // the probes' records
}

// Starts the stand-in the way the program under test will and waits for its record, so that a
// test never goes on to press a button that would run the real program. Should the real program
// run after all, the arguments make it end at once, and it is ended if it does not.
bool CommandRecording::Probe(const std::wstring& fileName) {
  const std::wstring path = PathOf(fileName);
  const std::wstring directory = path.substr(0, path.rfind(L'\\'));
  const win::KernelHandle process =
      app::StartProcess(path, L"\"" + path + L"\" /c exit", directory, SW_HIDE);
  if (!process) return false;
  const bool recorded = WaitForStart(10000);
  if (WaitForSingleObject(process.get(), 5000) != WAIT_OBJECT_0) TerminateProcess(process.get(), 1);
  return recorded;
}

CommandRecording::~CommandRecording() {
  for (const std::wstring& name : fileNames_) RestoreOriginal(name);
  SetEnvironmentVariableW(L"MORVANE_RECORDER_LOG", nullptr);
  SetEnvironmentVariableW(L"MORVANE_RECORDER_EVENT", nullptr);
}

int ChildProcessCount(DWORD parentId) {
  const win::KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return -1;
  int count = 0;
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
       more = Process32NextW(snapshot.get(), &entry)) {
    if (entry.th32ParentProcessID == parentId) ++count;
  }
  return count;
}

bool CommandRecording::WaitForStart(DWORD timeoutMs) {
  return event_ && WaitForSingleObject(event_.get(), timeoutMs) == WAIT_OBJECT_0;
}

std::vector<RecordedStart> CommandRecording::Starts() const {
  std::vector<RecordedStart> starts;
  std::ifstream file(logPath_.c_str(), std::ios::binary);
  std::string line;
  while (std::getline(file, line)) {
    const std::wstring text = FromUtf8(line);
    std::wstringstream fields(text);
    RecordedStart start;
    std::wstring usesShowWindow, showWindow;
    std::getline(fields, usesShowWindow, L'|');
    std::getline(fields, showWindow, L'|');
    std::getline(fields, start.directory, L'|');
    std::getline(fields, start.commandLine);
    start.usesShowWindow = usesShowWindow == L"1";
    start.showWindow = showWindow.empty() ? -1 : std::stoi(showWindow);
    starts.push_back(start);
  }
  return starts;
}

}  // namespace testing_support
