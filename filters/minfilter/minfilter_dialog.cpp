// minfilter's settings dialog MIN_DLG.
#include "frame/dialog.h"
#include "frame/host_interface.h"
#include "minfilter_settings.h"

namespace minfilter {
namespace {

enum ControlId {
  kLowerBox = 1001,
  kUpperBox = 1003,
  kWhiteOnlyButton = 1006,
  kAllButton = 1007,
  kSeamlessCheck = 1008,
  kRepeatCheck = 1009,
  kLowerUpDown = 1010,
  kUpperUpDown = 1011,
};

void ShowRange(HWND dialog, UINT lower, UINT upper) {
  SetDlgItemInt(dialog, kLowerBox, lower, FALSE);
  SetDlgItemInt(dialog, kUpperBox, upper, FALSE);
}

void ShowCheck(HWND dialog, int id, uint8_t option) {
  CheckDlgButton(dialog, id, option != 0 ? BST_CHECKED : BST_UNCHECKED);
}

INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM /*lParam*/) {
  Settings& settings = CurrentSettings();
  switch (message) {
    case WM_INITDIALOG:
      InitCommonControls();
      frame::CreateBuddyUpDown(dialog, kLowerUpDown, kLowerBox, 255, 0, settings.lower);
      frame::CreateBuddyUpDown(dialog, kUpperUpDown, kUpperBox, 255, 0, settings.upper);
      ShowCheck(dialog, kSeamlessCheck, settings.seamless);
      ShowCheck(dialog, kRepeatCheck, settings.repeat);
      return TRUE;
    case WM_COMMAND:
      switch (wParam) {
        case kWhiteOnlyButton:
          ShowRange(dialog, 255, 255);
          return TRUE;
        case kAllButton:
          ShowRange(dialog, 0, 255);
          return TRUE;
        case IDOK:
          settings.lower = frame::ReadByteNumber(dialog, kLowerBox);
          settings.upper = frame::ReadByteNumber(dialog, kUpperBox);
          settings.seamless = frame::CheckState(dialog, kSeamlessCheck);
          settings.repeat = frame::CheckState(dialog, kRepeatCheck);
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
}  // namespace minfilter

namespace frame {

int PluginOption(HWND host, const char* dir) {
  return RunSettingsDialog(host, dir, minfilter::CurrentSettings(), "MIN_DLG", minfilter::DialogProcedure);
}

}  // namespace frame
