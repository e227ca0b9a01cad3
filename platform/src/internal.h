// Internal model of the platform layer: windows (the host's window, dialogs
// and their controls), modules with their parsed resource scripts, device
// contexts and brushes, and the message dispatch that ties them together.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "cp932.h"
#include "resource_script.h"
#include "vfwin/vfwin.h"
#include "vfwin/vfwin_host.h"

namespace vfwin {

enum class WindowKind { Host, Dialog, Control };
enum class ControlClass { Button, Edit, Static, ScrollBar, ComboBox, UpDown, Other };

struct ButtonState {
  UINT check = BST_UNCHECKED;
  UINT highlight = 0;
};

struct ComboBoxState {
  std::vector<std::string> items;
  int selection = CB_ERR;
};

struct ScrollBarState {
  int minimum = 0;
  int maximum = 0;
  UINT page = 0;
  int position = 0;
};

// A fresh up-down control has its maximum at 0 and its minimum at 100, as
// the system's control does.
struct UpDownState {
  int minimum = 100;
  int maximum = 0;
  int position = 0;
  HWND buddy = nullptr;
};

struct FillRecord {
  bool present = false;
  COLORREF colour = 0;
  RECT rect{};
};

struct DialogState {
  std::string templateName;
  DLGPROC procedure = nullptr;
  bool ended = false;
  INT_PTR result = 0;
  bool paintPending = false;
};

// Pixels per dialog unit: a dialog base unit of 6 x 13 pixels, so that one
// horizontal unit is 6/4 pixel and one vertical unit 13/8 pixel.
constexpr int kBaseUnitX = 6;
constexpr int kBaseUnitY = 13;
int DialogUnitsToPixelsX(int units);
int DialogUnitsToPixelsY(int units);

}  // namespace vfwin

struct VfWindow {
  vfwin::WindowKind kind = vfwin::WindowKind::Control;
  vfwin::ControlClass controlClass = vfwin::ControlClass::Other;
  std::string className;
  int id = 0;
  DWORD style = 0;
  DWORD exStyle = 0;
  std::string text;
  RECT rect{};  // pixels, in the parent's client coordinates
  VfWindow* parent = nullptr;
  VfWindow* owner = nullptr;
  std::vector<VfWindow*> children;  // z-order: creation order
  WNDPROC hostProcedure = nullptr;

  vfwin::DialogState dialog;
  vfwin::ButtonState button;
  vfwin::ComboBoxState comboBox;
  vfwin::ScrollBarState scrollBar;
  vfwin::UpDownState upDown;
  vfwin::FillRecord lastFill;
};

struct VfModule {
  std::string name;
  vfwin::rc::ParseResult script;
};

namespace vfwin {

// ---- windows.cpp: the window registry and the message dispatch ----

// The live window behind a handle, or null for a destroyed or unknown one.
VfWindow* LiveWindow(HWND handle);
VfWindow* CreateWindowRecord(WindowKind kind, VfWindow* parent, VfWindow* owner);
void DestroyWindowRecord(VfWindow* window);
ControlClass ClassOfName(std::string_view className);

// Every message to any window goes through here. When the outermost message
// of the running dialog loop returns, pending WM_PAINTs are delivered.
LRESULT Dispatch(VfWindow* window, UINT message, WPARAM wParam, LPARAM lParam);
// WM_COMMAND MAKEWPARAM(id, code) with the control's handle, to its parent.
void NotifyParent(VfWindow* control, WORD code);
// The dialog loop's nesting level: messages sent while the level is above the
// loop's base come from inside a procedure.
int EnterModalLoop();
void LeaveModalLoop(int previousBase);
void DeliverPendingPaints();
void MarkAllDialogsForPaint();

// ---- control classes ----
LRESULT ButtonMessage(VfWindow* button, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT EditMessage(VfWindow* edit, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT StaticMessage(VfWindow* control, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT ComboBoxMessage(VfWindow* comboBox, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT ScrollBarMessage(VfWindow* scrollBar, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT UpDownMessage(VfWindow* upDown, UINT message, WPARAM wParam, LPARAM lParam);
void AttachBuddy(VfWindow* upDown, HWND buddy);

// ---- text.cpp: window texts (code page 932 bytes) ----
// The common text messages of every control: WM_SETTEXT, WM_GETTEXT,
// WM_GETTEXTLENGTH. Returns true when the message was one of them.
bool HandleTextMessage(VfWindow* window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
// Copies text into a buffer of bufferSize bytes with its NUL, cut so that no
// double-byte character is split; returns the bytes copied without the NUL.
int CopyTextOut(std::string_view text, char* buffer, int bufferSize);

// ---- number_text.cpp ----
// A whole decimal number as a dialog box reads it: leading and trailing
// blanks, an optional sign, at least one digit and nothing else. Out-of-range
// magnitudes are reported as failures through the bounds.
bool ParseDialogNumber(std::string_view text, long long minimum, long long maximum, long long* value);

// ---- dialog.cpp ----
VfModule* LiveModule(HINSTANCE instance);

// ---- host.cpp ----
const VfHostHooks& Hooks();

}  // namespace vfwin
