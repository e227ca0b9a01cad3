// Driving a dialog with user actions and reading its controls.
#include "dialog_driver.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>

#include "host_platform.h"
#include "text_codec.h"
#ifndef _WIN32
#include "vfwin/vfwin_host.h"  // VfControlFillColour
#endif

namespace vfhost::detail {
namespace {

std::string ClassOf(HWND window) {
  char name[64] = {0};
  GetClassNameA(window, name, sizeof name);
  std::string lower(name);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower == "msctls_updown32" ? "updown" : lower;
}

std::string WindowText(HWND window) {
  const int length = GetWindowTextLengthA(window);
  if (length <= 0) return "";
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const int copied = GetWindowTextA(window, text.data(), length + 1);
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return text;
}

// Dialog templates store "no id" (-1) as the 16-bit 0xFFFF.
int ControlId(HWND control) {
  const int id = GetDlgCtrlID(control);
  return id == 0xFFFF ? -1 : id;
}

LPARAM HandleParam(HWND window) {
  return reinterpret_cast<LPARAM>(window);
}

bool IsAutoButton(HWND control) {
  const LONG type = GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK;
  return type == BS_AUTOCHECKBOX || type == BS_AUTORADIOBUTTON || type == BS_AUTO3STATE;
}

// Reads a number as the up-down control reads its buddy: blanks and
// thousands separators are skipped; false when the text is no number.
bool BuddyNumber(const std::string& text, long& number) {
  std::string digits;
  for (char c : text)
    if (c != ',' && c != ' ') digits += c;
  if (digits.empty()) return false;
  errno = 0;
  char* end = nullptr;
  number = std::strtol(digits.c_str(), &end, 10);
  return errno == 0 && *end == '\0';
}

HWND FindUpDown(HWND dialog, int id) {
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (ClassOf(child) == "updown" && ControlId(child) == id) return child;
  return nullptr;
}

std::string ActionName(const DialogAction& action) {
  switch (action.type) {
    case DialogAction::Type::Set:
      return "--set " + std::to_string(action.id);
    case DialogAction::Type::Check:
      return "--check " + std::to_string(action.id);
    case DialogAction::Type::Uncheck:
      return "--uncheck " + std::to_string(action.id);
    case DialogAction::Type::Click:
      return "--click " + std::to_string(action.id);
    case DialogAction::Type::Scroll:
      return "--scroll " + std::to_string(action.id);
    case DialogAction::Type::Select:
      return "--select " + std::to_string(action.id);
    case DialogAction::Type::UpDown:
      return "--updown " + std::to_string(action.id);
    case DialogAction::Type::ChooseColour:
      return "--choose-colour";
    case DialogAction::Type::Ok:
      return "--ok";
    case DialogAction::Type::Close:
      return "--close";
  }
  return "";
}

ControlState ReadControl(HWND control) {
  ControlState state;
  state.id = ControlId(control);
  state.className = ClassOf(control);
  state.text = Cp932ToUtf8(WindowText(control));
  state.enabled = IsWindowEnabled(control) != FALSE;
  if (state.className == "button") {
    state.checked = static_cast<int>(SendMessageA(control, BM_GETCHECK, 0, 0));
  } else if (state.className == "scrollbar") {
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_POS;
    if (GetScrollInfo(control, SB_CTL, &info)) {
      state.minimum = info.nMin;
      state.maximum = info.nMax;
      state.position = info.nPos;
    }
  } else if (state.className == "updown") {
    INT lower = 0, upper = 0;
    SendMessageA(control, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower), reinterpret_cast<LPARAM>(&upper));
    BOOL failed = FALSE;
    state.minimum = lower;
    state.maximum = upper;
    state.position =
        static_cast<int32_t>(SendMessageA(control, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed)));
  } else if (state.className == "combobox") {
    const LRESULT count = SendMessageA(control, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      const LRESULT length = SendMessageA(control, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
      std::string item(length > 0 ? static_cast<size_t>(length) + 1 : 1, '\0');
      const LRESULT copied =
          SendMessageA(control, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item.data()));
      item.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
      state.items.push_back(Cp932ToUtf8(item));
    }
    state.selected = static_cast<int32_t>(SendMessageA(control, CB_GETCURSEL, 0, 0));
  }
#ifndef _WIN32
  COLORREF fill = 0;
  if (VfControlFillColour(control, &fill))
    state.fillColour = (uint32_t{GetRValue(fill)} << 16) | (uint32_t{GetGValue(fill)} << 8) | GetBValue(fill);
#endif
  return state;
}

}  // namespace

DialogState ReadDialogState(HWND dialog, const std::string& templateName) {
  DialogState state;
  state.templateName = templateName;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    state.controls.push_back(ReadControl(child));
  return state;
}

bool DialogDriver::Ended(HWND dialog) const {
  return endedDialog_ == dialog || DialogHasEnded(dialog);
}

void DialogDriver::DriveOpenedDialog(HWND dialog) {
  endedDialog_ = nullptr;
  while (next_ < actions_.size() && !Ended(dialog)) {
    const DialogAction& action = actions_[next_++];
    const std::string error = Perform(dialog, action);
    if (!error.empty()) {
      errors_.push_back(ActionName(action) + ": " + error);
      next_ = actions_.size();
    }
  }
  if (!Ended(dialog)) SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void DialogDriver::NoteDialogEnding(HWND dialog, const std::string& templateName) {
  endedDialog_ = dialog;
  state_ = ReadDialogState(dialog, templateName);
}

bool DialogDriver::TakeColourAnswer(COLORREF& colour) {
  if (colourAnswers_.empty()) return false;
  colour = colourAnswers_.front();
  colourAnswers_.pop_front();
  return true;
}

std::string DialogDriver::Perform(HWND dialog, const DialogAction& action) {
  using Type = DialogAction::Type;
  if (action.type == Type::Ok) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), HandleParam(GetDlgItem(dialog, IDOK)));
    return "";
  }
  if (action.type == Type::Close) {
    SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    return "";
  }
  if (action.type == Type::ChooseColour) {
    const uint32_t rgb = action.colour;
    colourAnswers_.push_back(RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF));
    return "";
  }
  if (action.type == Type::UpDown) return PressUpDown(dialog, action);

  HWND control = GetDlgItem(dialog, action.id);
  if (!control) return "the dialog has no control " + std::to_string(action.id);
  if (!IsWindowEnabled(control)) return "control " + std::to_string(action.id) + " is disabled";
  const std::string kind = ClassOf(control);
  switch (action.type) {
    case Type::Set:
      SetDlgItemTextA(dialog, action.id, Utf8ToCp932(action.text).c_str());
      return "";
    case Type::Check:
    case Type::Uncheck:
      if (kind != "button") return "control " + std::to_string(action.id) + " is not a button";
      CheckDlgButton(dialog, action.id, action.type == Type::Check ? BST_CHECKED : BST_UNCHECKED);
      SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(action.id, BN_CLICKED), HandleParam(control));
      return "";
    case Type::Click:
      if (kind != "button") return "control " + std::to_string(action.id) + " is not a button";
      // An auto check box or radio button changes its own state and then
      // notifies the dialog; any other button only notifies.
      if (IsAutoButton(control))
        SendMessageA(control, BM_CLICK, 0, 0);
      else
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(action.id, BN_CLICKED), HandleParam(control));
      return "";
    case Type::Scroll: {
      if (kind != "scrollbar") return "control " + std::to_string(action.id) + " is not a scroll bar";
      const bool vertical = (GetWindowLongA(control, GWL_STYLE) & SBS_VERT) != 0;
      const int position = action.position ? *action.position : GetScrollPos(control, SB_CTL);
      SendMessageA(dialog, vertical ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(action.code, position),
                   HandleParam(control));
      return "";
    }
    case Type::Select: {
      if (kind != "combobox") return "control " + std::to_string(action.id) + " is not a combo box";
      const LRESULT count = SendMessageA(control, CB_GETCOUNT, 0, 0);
      if (action.code >= count)
        return "index " + std::to_string(action.code) + " is beyond the " + std::to_string(count) + " items";
      SendMessageA(control, CB_SETCURSEL, static_cast<WPARAM>(action.code), 0);
      SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(action.id, CBN_SELCHANGE), HandleParam(control));
      return "";
    }
    default:
      return "";
  }
}

std::string DialogDriver::PressUpDown(HWND dialog, const DialogAction& action) {
  HWND upDown = FindUpDown(dialog, action.id);
  if (!upDown) return "the dialog has no up-down control " + std::to_string(action.id);
  if (!IsWindowEnabled(upDown)) return "up-down control " + std::to_string(action.id) + " is disabled";
  const bool wraps = (GetWindowLongA(upDown, GWL_STYLE) & UDS_WRAP) != 0;
  const int presses = action.code < 0 ? -action.code : action.code;
  for (int press = 0; press < presses && !Ended(dialog); ++press) {
    INT lower = 0, upper = 0;
    SendMessageA(upDown, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower), reinterpret_cast<LPARAM>(&upper));
    const long low = std::min(lower, upper), high = std::max(lower, upper);
    BOOL failed = FALSE;
    long position =
        static_cast<long>(SendMessageA(upDown, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed)));
    HWND buddy = reinterpret_cast<HWND>(SendMessageA(upDown, UDM_GETBUDDY, 0, 0));
    long typed = 0;
    if (buddy && BuddyNumber(WindowText(buddy), typed)) position = std::clamp(typed, low, high);
    // The up arrow moves toward the upper limit, which may be the smaller one.
    const long step = ((action.code > 0) == (upper >= lower)) ? 1 : -1;
    long moved = position + step;
    if (moved > high) moved = wraps ? low : high;
    if (moved < low) moved = wraps ? high : low;
    SendMessageA(upDown, UDM_SETPOS32, 0, static_cast<LPARAM>(moved));
  }
  return "";
}

}  // namespace vfhost::detail
