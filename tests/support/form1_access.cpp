#include "tests/support/form1_access.h"

#include "app/windows/main_window.h"
#include "app/windows/resource_ids.h"

namespace testing_support {

LoadedForm1::LoadedForm1() {
  HWND form = app::form1::Show();
  HWND frame = GetDlgItem(form, IDC_FRAME2);
  windows_ = {form,
              frame,
              GetDlgItem(frame, IDC_COMMAND1),
              GetDlgItem(frame, IDC_COMMAND2),
              GetDlgItem(frame, IDC_COMMAND3),
              GetDlgItem(frame, IDC_COMMAND4)};
}

LoadedForm1::~LoadedForm1() { app::form1::Unload(); }

}  // namespace testing_support
