// diffuseblur's settings dialog DLGBOX: the seamless check box.
#include "diffuseblur_settings.h"
#include "frame/dialog.h"
#include "frame/host_interface.h"

namespace diffuseblur {
namespace {

constexpr int kSeamlessCheck = 1008;

INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM /*lParam*/) {
  Settings& settings = CurrentSettings();
  switch (message) {
    case WM_INITDIALOG:
      CheckDlgButton(dialog, kSeamlessCheck, settings.seamless != 0 ? BST_CHECKED : BST_UNCHECKED);
      return TRUE;
    case WM_COMMAND:
      if (wParam != IDOK) return FALSE;
      settings.seamless = frame::CheckState(dialog, kSeamlessCheck);
      EndDialog(dialog, 1);
      return TRUE;
    case WM_SYSCOMMAND:
      if (!frame::IsCloseCommand(wParam)) return FALSE;
      EndDialog(dialog, 0);
      return TRUE;
  }
  return FALSE;
}

}  // namespace
}  // namespace diffuseblur

namespace frame {

int PluginOption(HWND host, const char* dir) {
  return RunSettingsDialog(host, dir, diffuseblur::CurrentSettings(), "DLGBOX", diffuseblur::DialogProcedure);
}

}  // namespace frame
