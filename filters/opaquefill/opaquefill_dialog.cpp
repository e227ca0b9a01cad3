// opaquefill's settings dialog SAMPLEDLG: the background colour with its
// swatch and the system colour chooser, and the checkerboard switch.
#include <cstring>

#include "frame/dialog.h"
#include "frame/host_interface.h"
#include "opaquefill_settings.h"

namespace opaquefill {
namespace {

enum ControlId {
  kRedText = 1001,
  kGreenText = 1002,
  kBlueText = 1003,
  kChooseButton = 1004,
  kSwatch = 1005,
  kCheckerboardCheck = 1006,
};

// Fills the swatch inside its black frame with the background colour. The
// frame control first finishes any painting of its own that is due, which
// would otherwise cover the fill.
void PaintSwatch(HWND dialog, COLORREF colour) {
  HWND swatch = GetDlgItem(dialog, kSwatch);
  UpdateWindow(swatch);
  HDC context = GetDC(swatch);
  RECT inside;
  GetClientRect(swatch, &inside);
  inside.left += 1;
  inside.top += 1;
  inside.right -= 1;
  inside.bottom -= 1;
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(context, &inside, brush);
  DeleteObject(brush);
  ReleaseDC(swatch, context);
}

void ShowComponents(HWND dialog, uint32_t colour) {
  SetDlgItemInt(dialog, kRedText, colour & 0xFF, FALSE);
  SetDlgItemInt(dialog, kGreenText, (colour >> 8) & 0xFF, FALSE);
  SetDlgItemInt(dialog, kBlueText, (colour >> 16) & 0xFF, FALSE);
}

// The system colour chooser, full at once, starting from the present colour
// and keeping the user's custom colours in the settings record.
void ChooseBackground(HWND dialog, Settings& settings) {
  COLORREF customColours[kCustomColourCount];
  std::memcpy(customColours, settings.customColours, sizeof(customColours));
  CHOOSECOLORA request = {};
  request.lStructSize = sizeof(request);
  request.hwndOwner = dialog;
  request.rgbResult = settings.background;
  request.lpCustColors = customColours;
  request.Flags = CC_RGBINIT | CC_FULLOPEN;
  const BOOL chosen = ChooseColorA(&request);
  std::memcpy(settings.customColours, customColours, sizeof(customColours));
  if (!chosen) return;
  settings.background = request.rgbResult & 0xFFFFFF;
  PaintSwatch(dialog, settings.background);
  ShowComponents(dialog, settings.background);
}

INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM /*lParam*/) {
  Settings& settings = CurrentSettings();
  switch (message) {
    case WM_PAINT:
      PaintSwatch(dialog, settings.background);
      return FALSE;  // the default painting goes on
    case WM_INITDIALOG:
      PaintSwatch(dialog, settings.background);
      ShowComponents(dialog, settings.background);
      CheckDlgButton(dialog, kCheckerboardCheck, settings.checkerboard != 0 ? BST_CHECKED : BST_UNCHECKED);
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case kChooseButton:
          ChooseBackground(dialog, settings);
          return TRUE;
        case IDOK:
          settings.checkerboard = frame::CheckState(dialog, kCheckerboardCheck);
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
}  // namespace opaquefill

namespace frame {

int PluginOption(HWND host, const char* dir) {
  return RunSettingsDialog(host, dir, opaquefill::CurrentSettings(), "sampledlg",
                           opaquefill::DialogProcedure);
}

}  // namespace frame
