// scroll's settings dialog SCRL_DLG: the two amounts with up-downs. The
// dialog reads the file when it opens and writes it on OK itself.
#include "frame/dialog.h"
#include "frame/host_interface.h"
#include "frame/messages.h"
#include "scroll_settings.h"

namespace scroll {
namespace {

enum ControlId {
  kRightBox = 1001,
  kDownBox = 1003,
  kRightUpDown = 1010,
  kDownUpDown = 1011,
};

const char kRangeText[] = "スクロール量は-9999から9999までです。";
const char kRangeCaption[] = "お願い";

// The box's number, or false when its text is no number in range.
bool ReadAmount(HWND dialog, int id, int32_t& amount) {
  return frame::TryReadSignedNumber(GetDlgItem(dialog, id), amount) && amount >= -kLargestAmount &&
         amount <= kLargestAmount;
}

void ShowAmounts(HWND dialog) {
  Amounts amounts;
  if (!ReadAmounts(SettingsPath(), amounts)) amounts = kDialogDefaults;
  frame::CreateBuddyUpDown(dialog, kRightUpDown, kRightBox, kLargestAmount, -kLargestAmount, amounts.right);
  frame::CreateBuddyUpDown(dialog, kDownUpDown, kDownBox, kLargestAmount, -kLargestAmount, amounts.down);
}

void AcceptAmounts(HWND dialog) {
  Amounts amounts;
  const bool rightValid = ReadAmount(dialog, kRightBox, amounts.right);
  const bool downValid = ReadAmount(dialog, kDownBox, amounts.down);
  if (!rightValid || !downValid) {
    frame::ShowMessage(dialog, kRangeText, kRangeCaption, MB_ICONINFORMATION);
    return;  // the dialog stays open
  }
  WriteAmounts(SettingsPath(), amounts);
  EndDialog(dialog, 0);
}

INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM /*lParam*/) {
  switch (message) {
    case WM_INITDIALOG:
      InitCommonControls();
      ShowAmounts(dialog);
      return TRUE;
    case WM_COMMAND:
      if (wParam != IDOK) return FALSE;
      AcceptAmounts(dialog);
      return TRUE;
    case WM_SYSCOMMAND:
      if (!frame::IsCloseCommand(wParam)) return FALSE;
      EndDialog(dialog, 0);
      return TRUE;
  }
  return FALSE;
}

}  // namespace
}  // namespace scroll

namespace frame {

int PluginOption(HWND host, const char* dir) {
  AssembleSettingsPath(scroll::SettingsPath(), dir, scroll::kFileStem);
  RunDialog("SCRL_DLG", host, scroll::DialogProcedure);
  return 1;
}

}  // namespace frame
