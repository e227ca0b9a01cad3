// The dialog of the line blurs (RSMS_DLG, CSMS_DLG): the centre in two edit
// boxes and the length in a static text, each with an up-down control; the
// dialog reads and writes the signed settings file itself.
#include <cctype>
#include <cstdint>

#include "frame/dialog.h"
#include "line_blur.h"

namespace blur {
namespace {

enum ControlId {
  kLengthText = 1001,
  kCentreXBox = 1012,
  kCentreYBox = 1013,
  kLengthUpDown = 1010,
  kCentreXUpDown = 1011,
  kCentreYUpDown = 1012,  // the same id as the X box, as the template family has it
};

int32_t ClampCentre(int32_t value) {
  return frame::ClampNumber(value, -kCentreLimit, kCentreLimit);
}

struct EditSearch {
  int id;
  HWND found;
};

bool IsEditClass(const char* name) {
  const char kEdit[] = "edit";
  for (int i = 0; i < 5; ++i) {
    if (std::tolower(static_cast<unsigned char>(name[i])) != kEdit[i]) return false;
  }
  return true;
}

BOOL CALLBACK MatchEditBox(HWND child, LPARAM data) {
  EditSearch* search = reinterpret_cast<EditSearch*>(data);
  char className[16] = {};
  if (GetDlgCtrlID(child) != search->id) return TRUE;
  GetClassNameA(child, className, sizeof(className));
  if (!IsEditClass(className)) return TRUE;
  search->found = child;
  return FALSE;
}

// The id of the X box is shared by an up-down control, which may come first
// in the dialog's child order; the box is told apart by its class.
HWND FindEditBox(HWND dialog, int id) {
  EditSearch search = {id, nullptr};
  EnumChildWindows(dialog, MatchEditBox, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

int32_t ReadCentreX(HWND dialog) {
  const HWND box = FindEditBox(dialog, kCentreXBox);
  if (box == nullptr) return frame::ReadSignedNumber(dialog, kCentreXBox);
  int32_t value = 0;
  return frame::TryReadSignedNumber(box, value) ? value : 0;
}

void ShowSettings(HWND dialog, const LineBlurSettings& settings) {
  SetDlgItemInt(dialog, kLengthText, settings.length, FALSE);
  SetDlgItemInt(dialog, kCentreXBox, static_cast<UINT>(settings.centerX), TRUE);
  SetDlgItemInt(dialog, kCentreYBox, static_cast<UINT>(settings.centerY), TRUE);
  frame::CreateBuddyUpDown(dialog, kLengthUpDown, kLengthText, kMaxLength, kMinLength, settings.length);
  frame::CreateBuddyUpDown(dialog, kCentreXUpDown, kCentreXBox, kCentreLimit, -kCentreLimit,
                           settings.centerX);
  frame::CreateBuddyUpDown(dialog, kCentreYUpDown, kCentreYBox, kCentreLimit, -kCentreLimit,
                           settings.centerY);
}

void ReadSettings(HWND dialog, LineBlurSettings& settings) {
  settings.length = static_cast<uint8_t>(frame::ReadSignedNumber(dialog, kLengthText) & 0xFF);
  settings.centerX = ClampCentre(ReadCentreX(dialog));
  settings.centerY = ClampCentre(frame::ReadSignedNumber(dialog, kCentreYBox));
}

}  // namespace

INT_PTR LineBlurDialog(HWND dialog, UINT message, WPARAM wParam, const LineBlurPlugin& plugin,
                       LineBlurSettings& settings, const char* path) {
  static const LineBlurSettings kDefaults = LineBlurSettings::Defaults();
  switch (message) {
    case WM_INITDIALOG:
      InitCommonControls();
      DialogLoad(dialog, path, plugin.format, &settings, &kDefaults);
      // Values a hand-made file put outside the controls' ranges are shown
      // at the nearest limit.
      settings = InRange(settings);
      settings.centerX = ClampCentre(settings.centerX);
      settings.centerY = ClampCentre(settings.centerY);
      ShowSettings(dialog, settings);
      return TRUE;
    case WM_COMMAND:
      if (wParam == IDOK) {
        ReadSettings(dialog, settings);
        DialogSave(dialog, path, plugin.format, &settings);
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

int RunLineBlurOption(HWND host, const char* dir, const LineBlurPlugin& plugin, SettingsPath& path,
                      DLGPROC procedure) {
  AssembleSignedPath(path, dir, plugin.format);
  frame::RunDialog(plugin.templateName, host, procedure);
  return 1;
}

}  // namespace blur
