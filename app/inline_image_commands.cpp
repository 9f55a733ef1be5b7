#include "app/inline_image_commands.h"

#include <string>

#include "app/registry_editor.h"
#include "app/registry_payload.h"

namespace {

// Title of every box of the commands: "notice".
constexpr wchar_t kBoxTitle[] = L"提示";

// What each command applies and what it tells the user.
struct InlineImageCommand {
  const app::RegistryPayload& payload;
  const wchar_t* successText;
  const wchar_t* failureText;
};

// "The setting to show inline images was made; it takes effect after a refresh." /
// "The setting could not be changed; try again, or check whether the registry editor is
// disabled or run this program as administrator."
const InlineImageCommand kShowCommand{
    app::kShowInlineImages,
    L"“显示内嵌图片”设置成功，刷新后即可生效！",
    L"“显示内嵌图片”设置失败，注册表中的设置没有改变。\n"
    L"请稍后重试；如果仍然失败，请检查注册表编辑器是否被禁用，或以管理员身份运行本程序。",
};

// "Turning inline images off succeeded; it takes effect after a refresh." / as above.
const InlineImageCommand kHideCommand{
    app::kHideInlineImages,
    L"“关闭内嵌图片”成功，刷新后即可生效！",
    L"“关闭内嵌图片”设置失败，注册表中的设置没有改变。\n"
    L"请稍后重试；如果仍然失败，请检查注册表编辑器是否被禁用，或以管理员身份运行本程序。",
};

// True while a command is at work: the wait for the registry editor dispatches messages, and
// a click that slipped through must not start a second import.
bool commandRunning = false;

class RunningFlag {
 public:
  RunningFlag() { commandRunning = true; }
  RunningFlag(const RunningFlag&) = delete;
  RunningFlag& operator=(const RunningFlag&) = delete;
  ~RunningFlag() { commandRunning = false; }
};

// Writes the payload afresh, lets the registry editor import it and removes the file. Reports
// success only when the editor was given the fresh file and the value now holds what the
// payload sets: the editor's silent mode reports nothing, so the value read back is the proof.
bool ApplyRegistryPayload(HWND form, const app::RegistryPayload& payload) {
  const std::wstring path = app::PayloadFilePath(payload.fileName);
  if (path.empty()) return false;
  const app::ResourceBytes bytes =
      app::LoadPayloadBytes(GetModuleHandleW(nullptr), payload.resourceId);
  const bool imported = app::WritePayloadFile(path, bytes) &&
                        app::RunRegistryEditor(form, path, app::kRegistryEditorTimeoutMs) !=
                            app::EditorOutcome::kNotStarted;
  DeleteFileW(path.c_str());
  std::wstring value;
  return imported && app::ReadInlineImagesValue(&value) && value == payload.value;
}

void RunInlineImageCommand(HWND form, const InlineImageCommand& command) {
  if (commandRunning) return;
  RunningFlag running;
  if (ApplyRegistryPayload(form, command.payload)) {
    MessageBoxW(form, command.successText, kBoxTitle, MB_OK | MB_ICONINFORMATION);
  } else {
    MessageBoxW(form, command.failureText, kBoxTitle, MB_OK | MB_ICONERROR);
  }
}

}  // namespace

namespace app::form1 {

void Command2_Click(HWND form) { RunInlineImageCommand(form, kShowCommand); }

void Command3_Click(HWND form) { RunInlineImageCommand(form, kHideCommand); }

}  // namespace app::form1
