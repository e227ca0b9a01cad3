// maxfilter's settings dialog MAX_DLG.
#include "frame/dialog.h"
#include "frame/host_interface.h"
#include "maxfilter_settings.h"

namespace maxfilter {
namespace {

enum ControlId {
  kLowerBox = 1001,
  kUpperBox = 1003,
  kBlackOnlyButton = 1006,
  kAllButton = 1007,
  kSeamlessCheck = 1008,
  kLowerUpDown = 1010,
  kUpperUpDown = 1011,
};

void ShowRange(HWND dialog, UINT lower, UINT upper) {
  SetDlgItemInt(dialog, kLowerBox, lower, FALSE);
  SetDlgItemInt(dialog, kUpperBox, upper, FALSE);
}

INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM /*lParam*/) {
  Settings& settings = CurrentSettings();
  switch (message) {
    case WM_INITDIALOG:
      InitCommonControls();
      frame::CreateBuddyUpDown(dialog, kLowerUpDown, kLowerBox, 255, 0, settings.lower);
      frame::CreateBuddyUpDown(dialog, kUpperUpDown, kUpperBox, 255, 0, settings.upper);
      CheckDlgButton(dialog, kSeamlessCheck, settings.seamless != 0 ? BST_CHECKED : BST_UNCHECKED);
      return TRUE;
    case WM_COMMAND:
      switch (wParam) {
        case kBlackOnlyButton:
          ShowRange(dialog, 0, 0);
          return TRUE;
        case kAllButton:
          ShowRange(dialog, 0, 255);
          return TRUE;
        case IDOK:
          settings.lower = frame::ReadByteNumber(dialog, kLowerBox);
          settings.upper = frame::ReadByteNumber(dialog, kUpperBox);
          settings.seamless = frame::CheckState(dialog, kSeamlessCheck);
          EndDialog(dialog, 1);
          return TRUE;
      }
      return FALSE;
    case WM_SYSCOMMAND:
      if (!frame::IsCloseCommand(wParam)) return FALSE;
      EndDialog(dialog, 0);
      return TRUE;
  }
  return FALSE;
}

}  // namespace
}  // namespace maxfilter

namespace frame {

int PluginOption(HWND host, const char* dir) {
  return RunSettingsDialog(host, dir, maxfilter::CurrentSettings(), "MAX_DLG", maxfilter::DialogProcedure);
}

}  // namespace frame
