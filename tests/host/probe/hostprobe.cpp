// The host's test plug-in, of kind 10: its FilterProc uses every part of the
// line-access tables and of the platform a host answers (progress, message
// box, ESC poll, clock), and reports what it saw in a message box; its
// dialog has one control of every kind the dialog driver handles.
#include <cstdio>
#include <cstring>
#include <vector>

#include "frame/line_access_types.h"
#include "vfwin/vfwin_host.h"

#define PROBE_EXPORT extern "C" __attribute__((visibility("default")))

extern const unsigned char vf_resource_script[];
extern const std::size_t vf_resource_script_size;

namespace {

HINSTANCE gInstance = nullptr;
const char* const kColours[] = {"赤", "緑", "青"};

__attribute__((constructor)) void Register() {
  gInstance = VfRegisterModule("hostprobe", reinterpret_cast<const char*>(vf_resource_script),
                               vf_resource_script_size);
}

void ShowBarValue(HWND dialog) {
  SetDlgItemInt(dialog, 1003, static_cast<UINT>(GetScrollPos(GetDlgItem(dialog, 1002), SB_CTL)), FALSE);
}

void Scroll(HWND dialog, WPARAM wParam) {
  HWND bar = GetDlgItem(dialog, 1002);
  int position = GetScrollPos(bar, SB_CTL);
  switch (LOWORD(wParam)) {
    case SB_LINELEFT:
      position -= 1;
      break;
    case SB_LINERIGHT:
      position += 1;
      break;
    case SB_PAGELEFT:
      position -= 5;
      break;
    case SB_PAGERIGHT:
      position += 5;
      break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
      position = HIWORD(wParam);
      break;
    default:
      break;
  }
  position = position < 0 ? 0 : position > 50 ? 50 : position;
  SetScrollPos(bar, SB_CTL, position, TRUE);
  ShowBarValue(dialog);
}

void AskColour(HWND dialog) {
  CHOOSECOLORA request = {};
  COLORREF custom[16] = {};
  request.lStructSize = sizeof request;
  request.hwndOwner = dialog;
  request.lpCustColors = custom;
  request.Flags = CC_RGBINIT;
  char text[16];
  if (ChooseColorA(&request))
    std::snprintf(text, sizeof text, "%02X%02X%02X", GetRValue(request.rgbResult),
                  GetGValue(request.rgbResult), GetBValue(request.rgbResult));
  else
    std::strcpy(text, "cancel");
  SetDlgItemTextA(dialog, 1005, text);
}

INT_PTR Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: {
      InitCommonControls();
      CreateUpDownControl(
          WS_CHILD | WS_VISIBLE | WS_BORDER | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS, 100, 2, 8, 12,
          dialog, 1010, gInstance, GetDlgItem(dialog, 1001), 20, 0, 5);
      SCROLLINFO info = {};
      info.cbSize = sizeof info;
      info.fMask = SIF_RANGE | SIF_POS;
      info.nMin = 0;
      info.nMax = 50;
      info.nPos = 10;
      SetScrollInfo(GetDlgItem(dialog, 1002), SB_CTL, &info, TRUE);
      ShowBarValue(dialog);
      for (const char* colour : kColours)
        SendDlgItemMessageA(dialog, 1004, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(colour));
      SendDlgItemMessageA(dialog, 1004, CB_SETCURSEL, 0, 0);
      CheckDlgButton(dialog, 1006, BST_CHECKED);
      return TRUE;
    }
    case WM_HSCROLL:
      Scroll(dialog, wParam);
      return TRUE;
    case WM_COMMAND:
      if (wParam == IDOK) {
        EndDialog(dialog, 1);
      } else if (wParam == MAKEWPARAM(1004, CBN_SELCHANGE)) {
        const LRESULT selected = SendDlgItemMessageA(dialog, 1004, CB_GETCURSEL, 0, 0);
        SetDlgItemTextA(dialog, 1005, selected >= 0 && selected < 3 ? kColours[selected] : "?");
      } else if (wParam == MAKEWPARAM(1008, BN_CLICKED)) {
        SetDlgItemTextA(dialog, 1005, "Ｃ");
      } else if (wParam == MAKEWPARAM(1009, BN_CLICKED)) {
        AskColour(dialog);
      }
      return TRUE;
    case WM_SYSCOMMAND:
      if (wParam == SC_CLOSE) EndDialog(dialog, 0);
      return wParam == SC_CLOSE;
    default:
      return FALSE;
  }
}

}  // namespace

PROBE_EXPORT int32_t FilterGetTitle(int32_t, char* title, int32_t* one, int32_t* kind) {
  std::strcpy(title, "試験");
  *one = 1;
  *kind = 10;
  return 1;
}

PROBE_EXPORT int32_t FilterOption(HWND host, const char*) {
  DialogBoxParamA(gInstance, "PROBE_DLG", host, Procedure, 0);
  return 1;
}

// Inverts colour, alpha and mask of every row, then reads row 0 again: with
// shared storage it comes back as written.
PROBE_EXPORT int32_t FilterProc(HWND host, const frame::ImageSize* size, const frame::LineAccessTable* write,
                                const frame::LineAccessTable* read, const char*) {
  int pressed = 0;
  for (int poll = 0; poll < 3; ++poll)
    if (GetAsyncKeyState(VK_ESCAPE)) ++pressed;
  const int32_t width = size->width;
  std::vector<uint8_t> colour(static_cast<size_t>(width) * 3), plane(static_cast<size_t>(width));
  std::vector<uint8_t> originalRowZero, writtenRowZero;
  for (int32_t row = 0; row < size->height; ++row) {
    SendMessageA(host, WM_USER, 3, row * 100 / size->height);
    read->ColorLine(row, 0, width - 1, colour.data(), -1);
    if (row == 0) originalRowZero = colour;
    for (uint8_t& byte : colour) byte = static_cast<uint8_t>(255 - byte);
    if (row == 0) writtenRowZero = colour;
    write->ColorLine(row, 0, width - 1, colour.data(), -1);
    for (int32_t which : {frame::PLANE_ALPHA, frame::PLANE_MASK}) {
      read->PlaneLine(row, 0, width - 1, plane.data(), -1, which);
      for (uint8_t& byte : plane) byte = static_cast<uint8_t>(255 - byte);
      write->PlaneLine(row, 0, width - 1, plane.data(), -1, which);
    }
  }
  // A row below the picture: the host must ignore it.
  write->ColorLine(size->height, 0, width - 1, colour.data(), -1);
  read->ColorLine(0, 0, width - 1, colour.data(), -1);
  const char* rowZero = colour == writtenRowZero ? "written" : colour == originalRowZero ? "original" : "?";
  char report[96];
  std::snprintf(report, sizeof report, "esc=%d time=%lld row0=%s", pressed,
                static_cast<long long>(VfCurrentTime()), rowZero);
  MessageBoxA(host, report, "試験", MB_ICONWARNING);
  SendMessageA(host, WM_USER, 0, 0);
  return 1;
}
