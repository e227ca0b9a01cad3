// fullscroll's settings dialog SAMPLEDLG: X on a horizontal and Y on a
// vertical scroll bar, each with its signed value and a button that sets it
// to 0. Every change is stored in the record at once.
#include "frame/dialog.h"
#include "frame/host_interface.h"
#include "fullscroll_settings.h"

namespace fullscroll {
namespace {

enum ControlId {
  kYBar = 1000,
  kXBar = 1001,
  kXText = 1002,
  kYText = 1004,
  kXZeroButton = 1005,
  kYZeroButton = 1006,
};

constexpr int32_t kPageStep = 10;

// A bar with its value text and the field of the record it sets.
struct Amount {
  int barId;
  int textId;
  int32_t Settings::*field;
};
constexpr Amount kX{kXBar, kXText, &Settings::x};
constexpr Amount kY{kYBar, kYText, &Settings::y};

void SetAmount(HWND dialog, const Amount& amount, int32_t value) {
  CurrentSettings().*amount.field = value;
  frame::SetScrollBarPosition(dialog, amount.barId, value);
  frame::ShowNumber(dialog, amount.textId, value, true);
}

void InitAmount(HWND dialog, const Amount& amount) {
  const int32_t value = CurrentSettings().*amount.field;
  frame::ShowNumber(dialog, amount.textId, value, true);
  frame::InitScrollBar(dialog, amount.barId, kLeastAmount, kGreatestAmount, value);
}

// WM_HSCROLL / WM_VSCROLL: line and page steps (up and left lower the value),
// the thumb as a signed 16-bit position.
INT_PTR Scroll(HWND dialog, const Amount& amount, WPARAM wParam, LPARAM lParam) {
  if (reinterpret_cast<HWND>(lParam) != GetDlgItem(dialog, amount.barId)) return FALSE;
  const int32_t value = CurrentSettings().*amount.field;
  SetAmount(dialog, amount, frame::ScrolledValue(value, wParam, kLeastAmount, kGreatestAmount, kPageStep));
  return TRUE;
}

INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      InitAmount(dialog, kX);
      InitAmount(dialog, kY);
      return TRUE;
    case WM_HSCROLL:
      return Scroll(dialog, kX, wParam, lParam);
    case WM_VSCROLL:
      return Scroll(dialog, kY, wParam, lParam);
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
          EndDialog(dialog, 1);
          break;
        case kXZeroButton:
          SetAmount(dialog, kX, 0);
          break;
        case kYZeroButton:
          SetAmount(dialog, kY, 0);
          break;
      }
      return FALSE;
    case WM_SYSCOMMAND:
      if (frame::IsCloseCommand(wParam)) EndDialog(dialog, 0);
      return FALSE;
  }
  return FALSE;
}

}  // namespace
}  // namespace fullscroll

namespace frame {

int PluginOption(HWND host, const char* dir) {
  return RunSettingsDialog(host, dir, fullscroll::CurrentSettings(), "sampledlg",
                           fullscroll::DialogProcedure);
}

}  // namespace frame
