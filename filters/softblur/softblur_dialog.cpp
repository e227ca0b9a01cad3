// softblur's settings dialog DIALOG1: radius and shape in static texts with
// up-down controls, and the seamless option; the dialog reads and writes the
// signed settings file itself.
#include "frame/dialog.h"
#include "frame/host_interface.h"
#include "softblur_settings.h"

namespace softblur {
namespace {

enum ControlId {
  kRadiusText = 1001,
  kProfileText = 1003,
  kSeamlessCheck = 1007,
  kRadiusUpDown = 1010,
  kProfileUpDown = 1011,
};

uint8_t LowByte(LRESULT value) {
  return static_cast<uint8_t>(value & 0xFF);
}

void ShowSettings(HWND dialog, const Settings& settings) {
  SetDlgItemInt(dialog, kRadiusText, settings.radius, FALSE);
  SetDlgItemInt(dialog, kProfileText, settings.profile, FALSE);
  frame::CreateBuddyUpDown(dialog, kRadiusUpDown, kRadiusText, kMaxRadius, kMinRadius, settings.radius);
  frame::CreateBuddyUpDown(dialog, kProfileUpDown, kProfileText, kMaxProfile, kMinProfile, settings.profile);
  SendDlgItemMessageA(dialog, kSeamlessCheck, BM_SETCHECK,
                      settings.seamless != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
}

void ReadSettings(HWND dialog, Settings& settings) {
  settings.radius = LowByte(frame::ReadSignedNumber(dialog, kRadiusText));
  settings.profile = LowByte(frame::ReadSignedNumber(dialog, kProfileText));
  settings.seamless = LowByte(SendDlgItemMessageA(dialog, kSeamlessCheck, BM_GETCHECK, 0, 0));
}

INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM /*lParam*/) {
  Settings& settings = DialogSettings();
  switch (message) {
    case WM_INITDIALOG:
      InitCommonControls();
      blur::DialogLoad(dialog, SettingsPath(), settings);
      // Values a hand-made file put outside the controls' ranges are shown
      // at the nearest limit; the reserved byte is kept as it is.
      settings = InRange(settings);
      ShowSettings(dialog, settings);
      return TRUE;
    case WM_COMMAND:
      if (wParam == IDOK) {
        ReadSettings(dialog, settings);
        blur::DialogSave(dialog, SettingsPath(), settings);
        EndDialog(dialog, 0);
        return TRUE;
      }
      if (wParam == SC_CLOSE) {
        EndDialog(dialog, 0);
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
}  // namespace softblur

namespace frame {

int PluginOption(HWND host, const char* dir) {
  blur::AssembleSignedPath(softblur::SettingsPath(), dir, softblur::Settings::Format());
  RunDialog("DIALOG1", host, softblur::DialogProcedure);
  return 1;
}

}  // namespace frame
