// The window registry (handles are checked before use, so that a stale handle
// is refused rather than followed), the window tree with its z-order, and the
// dispatch of messages to the host's procedure, to dialog procedures and to
// the built-in control classes.
#include <algorithm>
#include <unordered_map>

#include "internal.h"

namespace vfwin {
namespace {

struct WindowRegistry {
  std::unordered_map<VfWindow*, std::unique_ptr<VfWindow>> windows;
  std::vector<VfWindow*> topLevel;  // host windows and dialogs, in creation order
};

WindowRegistry& Registry() {
  static auto* registry = new WindowRegistry;  // outlives every plug-in's exit code
  return *registry;
}

// Nesting of Dispatch calls, and the level at which the innermost running
// dialog loop waits for the host's messages.
int dispatchDepth = 0;
int loopBase = 0;
bool deliveringPaints = false;

int MulDivRounded(int value, int numerator, int denominator) {
  long long product = static_cast<long long>(value) * numerator;
  long long half = denominator / 2;
  return static_cast<int>(product >= 0 ? (product + half) / denominator : -((-product + half) / denominator));
}

std::vector<VfWindow*>& SiblingsOf(VfWindow* window) {
  return window->parent ? window->parent->children : Registry().topLevel;
}

void Unlink(std::vector<VfWindow*>& list, VfWindow* window) {
  list.erase(std::remove(list.begin(), list.end(), window), list.end());
}

LRESULT ControlMessage(VfWindow* control, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (control->controlClass) {
    case ControlClass::Button:
      return ButtonMessage(control, message, wParam, lParam);
    case ControlClass::Edit:
      return EditMessage(control, message, wParam, lParam);
    case ControlClass::ComboBox:
      return ComboBoxMessage(control, message, wParam, lParam);
    case ControlClass::ScrollBar:
      return ScrollBarMessage(control, message, wParam, lParam);
    case ControlClass::UpDown:
      return UpDownMessage(control, message, wParam, lParam);
    case ControlClass::Static:
    case ControlClass::Other:
      return StaticMessage(control, message, wParam, lParam);
  }
  return 0;
}

// What the system's dialog manager does with a message that the dialog
// procedure left unhandled (returned FALSE).
LRESULT DefaultDialogMessage(VfWindow* dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (HandleTextMessage(dialog, message, wParam, lParam, &result)) return result;
  switch (message) {
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) Dispatch(dialog, WM_CLOSE, 0, 0);
      return 0;
    case WM_CLOSE: {
      // The close box acts as a Cancel button, unless that button is disabled.
      HWND cancel = GetDlgItem(dialog, IDCANCEL);
      if (!cancel || IsWindowEnabled(cancel)) {
        Dispatch(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
      }
      return 0;
    }
    default:
      return 0;
  }
}

LRESULT DialogMessage(VfWindow* dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (dialog->dialog.ended) return 0;
  INT_PTR handled =
      dialog->dialog.procedure ? dialog->dialog.procedure(dialog, message, wParam, lParam) : FALSE;
  if (handled) return handled;
  if (!LiveWindow(dialog) || dialog->dialog.ended) return 0;
  return DefaultDialogMessage(dialog, message, wParam, lParam);
}

LRESULT DeliverMessage(VfWindow* window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (window->kind) {
    case WindowKind::Host:
      return window->hostProcedure ? window->hostProcedure(window, message, wParam, lParam) : 0;
    case WindowKind::Dialog:
      return DialogMessage(window, message, wParam, lParam);
    case WindowKind::Control:
      return ControlMessage(window, message, wParam, lParam);
  }
  return 0;
}

}  // namespace

int DialogUnitsToPixelsX(int units) {
  return MulDivRounded(units, kBaseUnitX, 4);
}
int DialogUnitsToPixelsY(int units) {
  return MulDivRounded(units, kBaseUnitY, 8);
}

VfWindow* LiveWindow(HWND handle) {
  if (!handle) return nullptr;
  auto& windows = Registry().windows;
  return windows.count(handle) ? handle : nullptr;
}

VfWindow* CreateWindowRecord(WindowKind kind, VfWindow* parent, VfWindow* owner) {
  auto record = std::make_unique<VfWindow>();
  VfWindow* window = record.get();
  window->kind = kind;
  window->parent = parent;
  window->owner = owner;
  Registry().windows.emplace(window, std::move(record));
  SiblingsOf(window).push_back(window);
  return window;
}

void DestroyWindowRecord(VfWindow* window) {
  std::vector<VfWindow*> children = window->children;
  for (VfWindow* child : children) {
    if (LiveWindow(child)) DestroyWindowRecord(child);
  }
  Unlink(SiblingsOf(window), window);
  auto& windows = Registry().windows;
  for (auto& entry : windows) {
    VfWindow* other = entry.first;
    if (other->upDown.buddy == window) other->upDown.buddy = nullptr;
    if (other->owner == window) other->owner = nullptr;
  }
  windows.erase(window);
}

ControlClass ClassOfName(std::string_view className) {
  if (className == "Button") return ControlClass::Button;
  if (className == "Edit") return ControlClass::Edit;
  if (className == "Static") return ControlClass::Static;
  if (className == "ScrollBar") return ControlClass::ScrollBar;
  if (className == "ComboBox") return ControlClass::ComboBox;
  if (className == UPDOWN_CLASSA) return ControlClass::UpDown;
  return ControlClass::Other;
}

LRESULT Dispatch(VfWindow* window, UINT message, WPARAM wParam, LPARAM lParam) {
  ++dispatchDepth;
  LRESULT result = DeliverMessage(window, message, wParam, lParam);
  --dispatchDepth;
  if (dispatchDepth == loopBase) DeliverPendingPaints();
  return result;
}

void NotifyParent(VfWindow* control, WORD code) {
  VfWindow* parent = LiveWindow(control->parent);
  if (!parent) return;
  Dispatch(parent, WM_COMMAND, MAKEWPARAM(control->id, code), reinterpret_cast<LPARAM>(control));
}

int EnterModalLoop() {
  int previous = loopBase;
  loopBase = dispatchDepth;
  return previous;
}

void LeaveModalLoop(int previousBase) {
  loopBase = previousBase;
}

void DeliverPendingPaints() {
  if (deliveringPaints) return;
  deliveringPaints = true;
  std::vector<VfWindow*> windows = Registry().topLevel;
  for (VfWindow* window : windows) {
    if (!LiveWindow(window) || window->kind != WindowKind::Dialog) continue;
    if (!window->dialog.paintPending || window->dialog.ended) continue;
    window->dialog.paintPending = false;
    Dispatch(window, WM_PAINT, 0, 0);
  }
  deliveringPaints = false;
}

void MarkAllDialogsForPaint() {
  for (VfWindow* window : Registry().topLevel) {
    if (window->kind == WindowKind::Dialog) window->dialog.paintPending = true;
  }
}

}  // namespace vfwin

using vfwin::LiveWindow;
using vfwin::WindowKind;

extern "C" {

VFWIN_API HWND VfCreateHostWindow(WNDPROC procedure) {
  VfWindow* window = vfwin::CreateWindowRecord(WindowKind::Host, nullptr, nullptr);
  window->className = "VfHostWindow";
  window->style = WS_OVERLAPPED | WS_VISIBLE;
  window->hostProcedure = procedure;
  return window;
}

VFWIN_API LRESULT SendMessageA(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  VfWindow* window = LiveWindow(handle);
  return window ? vfwin::Dispatch(window, message, wParam, lParam) : 0;
}

VFWIN_API BOOL IsWindow(HWND handle) {
  return LiveWindow(handle) ? TRUE : FALSE;
}

VFWIN_API BOOL EnableWindow(HWND handle, BOOL enable) {
  VfWindow* window = LiveWindow(handle);
  if (!window) return FALSE;
  BOOL wasDisabled = (window->style & WS_DISABLED) ? TRUE : FALSE;
  if (enable) {
    window->style &= ~static_cast<DWORD>(WS_DISABLED);
  } else {
    window->style |= WS_DISABLED;
  }
  return wasDisabled;
}

VFWIN_API BOOL IsWindowEnabled(HWND handle) {
  VfWindow* window = LiveWindow(handle);
  return window && !(window->style & WS_DISABLED) ? TRUE : FALSE;
}

VFWIN_API int GetClassNameA(HWND handle, LPSTR buffer, int bufferSize) {
  VfWindow* window = LiveWindow(handle);
  if (!window) {
    vfwin::CopyTextOut("", buffer, bufferSize);
    return 0;
  }
  return vfwin::CopyTextOut(window->className, buffer, bufferSize);
}

VFWIN_API LONG GetWindowLongA(HWND handle, int index) {
  VfWindow* window = LiveWindow(handle);
  if (!window) return 0;
  switch (index) {
    case GWL_STYLE:
      return static_cast<LONG>(window->style);
    case GWL_EXSTYLE:
      return static_cast<LONG>(window->exStyle);
    case GWL_ID:
      return window->id;
    default:
      return 0;
  }
}

VFWIN_API HWND GetWindow(HWND handle, UINT relation) {
  VfWindow* window = LiveWindow(handle);
  if (!window) return nullptr;
  if (relation == GW_CHILD) return window->children.empty() ? nullptr : window->children.front();
  if (relation == GW_OWNER) return window->parent ? nullptr : LiveWindow(window->owner);
  const std::vector<VfWindow*>& siblings = vfwin::SiblingsOf(window);
  auto at = std::find(siblings.begin(), siblings.end(), window);
  switch (relation) {
    case GW_HWNDFIRST:
      return siblings.front();
    case GW_HWNDLAST:
      return siblings.back();
    case GW_HWNDNEXT:
      return at + 1 < siblings.end() ? *(at + 1) : nullptr;
    case GW_HWNDPREV:
      return at > siblings.begin() ? *(at - 1) : nullptr;
    default:
      return nullptr;
  }
}

// A child's parent; for a dialog, the window that owns it.
VFWIN_API HWND GetParent(HWND handle) {
  VfWindow* window = LiveWindow(handle);
  if (!window) return nullptr;
  if (window->parent) return LiveWindow(window->parent);
  return window->kind == WindowKind::Dialog ? LiveWindow(window->owner) : nullptr;
}

VFWIN_API BOOL EnumChildWindows(HWND parentHandle, WNDENUMPROC callback, LPARAM data) {
  VfWindow* parent = LiveWindow(parentHandle);
  if (!parent || !callback) return FALSE;
  std::vector<VfWindow*> descendants;
  std::vector<VfWindow*> pending(parent->children.rbegin(), parent->children.rend());
  while (!pending.empty()) {
    VfWindow* window = pending.back();
    pending.pop_back();
    descendants.push_back(window);
    pending.insert(pending.end(), window->children.rbegin(), window->children.rend());
  }
  for (VfWindow* window : descendants) {
    if (LiveWindow(window) && !callback(window, data)) break;
  }
  return TRUE;
}

// A dialog that is running its loop is ended with 0 and taken down when the
// loop returns; other windows go at once, with their children.
VFWIN_API BOOL DestroyWindow(HWND handle) {
  VfWindow* window = LiveWindow(handle);
  if (!window) return FALSE;
  if (window->kind == WindowKind::Dialog) {
    if (!window->dialog.ended) {
      window->dialog.ended = true;
      window->dialog.result = 0;
    }
    return TRUE;
  }
  vfwin::DestroyWindowRecord(window);
  return TRUE;
}

}  // extern "C"
