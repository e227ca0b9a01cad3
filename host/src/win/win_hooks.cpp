// vfhost on real Windows: redirection of the plug-in's system imports to the
// host's hooks, the hand-over of real dialogs and the closing of real message
// boxes; see win_hooks.h.
#ifdef _WIN32

#include "win_hooks.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace vfhost::win {
namespace {

// Posted to a dialog from its WM_INITDIALOG so that the host gets the dialog
// from inside its modal loop, once the system has created every control.
constexpr UINT kHandDialogToHost = WM_APP + 0x5646;

using DialogBoxParamAFn = INT_PTR(WINAPI*)(HINSTANCE, LPCSTR, HWND, DLGPROC, LPARAM);
using EndDialogFn = BOOL(WINAPI*)(HWND, INT_PTR);
using MessageBoxAFn = int(WINAPI*)(HWND, LPCSTR, LPCSTR, UINT);
using GetAsyncKeyStateFn = SHORT(WINAPI*)(int);
using ChooseColorAFn = BOOL(WINAPI*)(LPCHOOSECOLORA);

struct PatchedSlot {
  void** slot;
  void* original;
};

struct OpenDialog {
  HWND window = nullptr;
  std::string templateName;
  DLGPROC pluginProcedure = nullptr;
  bool ended = false;
};

struct ActiveScope {
  Hooks hooks;
  std::vector<PatchedSlot> slots;
  std::vector<OpenDialog> dialogs;  // innermost last
  std::string snapshotPath, clockLogPath;
  DialogBoxParamAFn dialogBoxParam = nullptr;
  EndDialogFn endDialog = nullptr;
  MessageBoxAFn messageBox = nullptr;
  GetAsyncKeyStateFn getAsyncKeyState = nullptr;
  ChooseColorAFn chooseColor = nullptr;
  int64_t startTime = 0;
};
ActiveScope* active = nullptr;
std::vector<HMODULE> pluginModules;

std::string EnvironmentValue(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

// The name of the template resource: resource names are looked up without
// regard to case and stored in capitals ("sampledlg" finds SAMPLEDLG).
std::string TemplateNameOf(LPCSTR name) {
  if (IS_INTRESOURCE(name)) return "#" + std::to_string(reinterpret_cast<ULONG_PTR>(name));
  std::string stored = name;
  for (char& c : stored) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return stored;
}

OpenDialog* DialogOf(HWND window) {
  for (OpenDialog& dialog : active->dialogs) {
    if (dialog.window == window) return &dialog;
  }
  return nullptr;
}

void HandDialogToHost(OpenDialog& dialog) {
  HWND window = dialog.window;
  // The modal loop would show the dialog once its queue is empty; the host
  // works it as a user does, on the screen and drawn.
  ShowWindow(window, SW_SHOWNORMAL);
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  if (!active->snapshotPath.empty()) {
    std::string error;
    if (!SnapshotWindow(window, active->snapshotPath, error))
      std::fprintf(stderr, "vfhost: %s\n", error.c_str());
  }
  if (active->hooks.dialog_opened == nullptr) return;  // the user works the dialog
  std::string name = dialog.templateName;
  active->hooks.dialog_opened(active->hooks.context, window, name.c_str());
  OpenDialog* still = DialogOf(window);
  if (still != nullptr && !still->ended) SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  still = DialogOf(window);
  if (still != nullptr && !still->ended) {
    // A plug-in that ignores the close box must not hang the host.
    std::fprintf(stderr, "vfhost: the dialog %s did not end on the close box; ended with 0\n", name.c_str());
    still->ended = true;
    active->endDialog(window, 0);
  }
}

INT_PTR CALLBACK DialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    // The dialog being created is the innermost one that has no window yet.
    for (auto it = active->dialogs.rbegin(); it != active->dialogs.rend(); ++it) {
      if (it->window == nullptr) {
        it->window = window;
        break;
      }
    }
  }
  OpenDialog* dialog = DialogOf(window);
  if (dialog == nullptr) return FALSE;
  if (message == kHandDialogToHost) {
    HandDialogToHost(*dialog);
    return TRUE;
  }
  INT_PTR handled = dialog->pluginProcedure(window, message, wParam, lParam);
  if (message == WM_INITDIALOG) PostMessageA(window, kHandDialogToHost, 0, 0);
  return handled;
}

INT_PTR WINAPI HookedDialogBoxParamA(HINSTANCE instance, LPCSTR templateName, HWND owner, DLGPROC procedure,
                                     LPARAM parameter) {
  OpenDialog dialog;
  dialog.templateName = TemplateNameOf(templateName);
  dialog.pluginProcedure = procedure;
  active->dialogs.push_back(dialog);
  INT_PTR result = active->dialogBoxParam(instance, templateName, owner, DialogProcedure, parameter);
  active->dialogs.pop_back();
  return result;
}

BOOL WINAPI HookedEndDialog(HWND window, INT_PTR result) {
  OpenDialog* dialog = DialogOf(window);
  if (dialog != nullptr && !dialog->ended) {
    dialog->ended = true;
    if (active->hooks.dialog_ending != nullptr) {
      active->hooks.dialog_ending(active->hooks.context, window, dialog->templateName.c_str(), result);
    }
  }
  return active->endDialog(window, result);
}

// The button that closes the message box being shown, and whether it has
// been pressed: the box's owner, often a dialog too, is activated again
// while the box goes away and must not be pressed in its place.
int messageBoxAnswer = IDOK;
bool messageBoxPressed = false;

// Presses the answer's button of a message box as soon as it is activated
// (the box's own close command when it has no such button).
LRESULT CALLBACK CloseMessageBox(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE && !messageBoxPressed) {
    HWND box = reinterpret_cast<HWND>(wParam);
    char className[16] = {};
    GetClassNameA(box, className, sizeof className);
    if (std::string(className) == "#32770" && DialogOf(box) == nullptr) {
      HWND button = GetDlgItem(box, messageBoxAnswer);
      int answer = button != nullptr ? messageBoxAnswer : IDCANCEL;
      PostMessageA(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), reinterpret_cast<LPARAM>(button));
      messageBoxPressed = true;
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

int WINAPI HookedMessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  if (active->hooks.message_box == nullptr) return active->messageBox(owner, text, caption, type);
  int answer = active->hooks.message_box(active->hooks.context, owner, text != nullptr ? text : "",
                                         caption != nullptr ? caption : "", type);
  if (!active->hooks.close_message_boxes) return active->messageBox(owner, text, caption, type);
  messageBoxAnswer = answer != 0 ? answer : IDOK;
  messageBoxPressed = false;
  HHOOK closer = SetWindowsHookExA(WH_CBT, CloseMessageBox, nullptr, GetCurrentThreadId());
  int shown = active->messageBox(owner, text, caption, type);
  if (closer != nullptr) UnhookWindowsHookEx(closer);
  return answer != 0 ? answer : shown;
}

SHORT WINAPI HookedGetAsyncKeyState(int key) {
  if (key == VK_ESCAPE && active->hooks.escape_state != nullptr) {
    return active->hooks.escape_state(active->hooks.context);
  }
  return active->getAsyncKeyState(key);
}

BOOL WINAPI HookedChooseColorA(LPCHOOSECOLORA request) {
  if (active->hooks.choose_colour != nullptr)
    return active->hooks.choose_colour(active->hooks.context, request);
  return active->chooseColor(request);
}

// Points the plug-in's import slots of function (in dll) at replacement.
void Redirect(HMODULE plugin, const char* dll, const char* function, void* replacement, void** real) {
  HMODULE system = GetModuleHandleA(dll);
  if (system == nullptr) system = LoadLibraryA(dll);
  void* target = system != nullptr ? reinterpret_cast<void*>(GetProcAddress(system, function)) : nullptr;
  *real = target;
  if (target == nullptr) return;
  auto* base = reinterpret_cast<BYTE*>(plugin);
  auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (directory.VirtualAddress == 0) return;
  for (auto* descriptor = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
       descriptor->Name != 0; ++descriptor) {
    for (auto* thunk = reinterpret_cast<IMAGE_THUNK_DATA*>(base + descriptor->FirstThunk);
         thunk->u1.Function != 0; ++thunk) {
      void** slot = reinterpret_cast<void**>(&thunk->u1.Function);
      if (*slot != target) continue;
      DWORD protection = 0;
      if (!VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection)) continue;
      active->slots.push_back({slot, *slot});
      *slot = replacement;
      VirtualProtect(slot, sizeof *slot, protection, &protection);
    }
  }
}

template <typename Function>
void RedirectTyped(HMODULE plugin, const char* dll, const char* function, Function replacement,
                   Function& real) {
  void* found = nullptr;
  Redirect(plugin, dll, function, reinterpret_cast<void*>(replacement), &found);
  real = reinterpret_cast<Function>(found);
}

void RestoreSlots() {
  for (const PatchedSlot& patched : active->slots) {
    DWORD protection = 0;
    if (!VirtualProtect(patched.slot, sizeof(void*), PAGE_READWRITE, &protection)) continue;
    *patched.slot = patched.original;
    VirtualProtect(patched.slot, sizeof(void*), protection, &protection);
  }
  active->slots.clear();
}

}  // namespace

void RememberPluginModule(HMODULE module) {
  pluginModules.push_back(module);
}

void ForgetPluginModule(HMODULE module) {
  pluginModules.erase(std::remove(pluginModules.begin(), pluginModules.end(), module), pluginModules.end());
}

void BeginCall(const Hooks& hooks) {
  if (active != nullptr) EndCall();
  active = new ActiveScope;
  active->hooks = hooks;
  active->snapshotPath = EnvironmentValue("VFHOST_DIALOG_SNAPSHOT");
  active->clockLogPath = EnvironmentValue("VFHOST_CLOCK_LOG");
  for (HMODULE plugin : pluginModules) {
    RedirectTyped(plugin, "user32.dll", "DialogBoxParamA", &HookedDialogBoxParamA, active->dialogBoxParam);
    RedirectTyped(plugin, "user32.dll", "EndDialog", &HookedEndDialog, active->endDialog);
    RedirectTyped(plugin, "user32.dll", "MessageBoxA", &HookedMessageBoxA, active->messageBox);
    RedirectTyped(plugin, "user32.dll", "GetAsyncKeyState", &HookedGetAsyncKeyState,
                  active->getAsyncKeyState);
    RedirectTyped(plugin, "comdlg32.dll", "ChooseColorA", &HookedChooseColorA, active->chooseColor);
  }
  active->startTime = static_cast<int64_t>(std::time(nullptr));
}

void EndCall() {
  if (active == nullptr) return;
  int64_t endTime = static_cast<int64_t>(std::time(nullptr));
  if (!active->clockLogPath.empty()) {
    if (FILE* log = std::fopen(active->clockLogPath.c_str(), "w")) {
      std::fprintf(log, "%lld %lld\n", static_cast<long long>(active->startTime),
                   static_cast<long long>(endTime));
      std::fclose(log);
    }
  }
  RestoreSlots();
  delete active;
  active = nullptr;
}

bool DialogEnded(HWND dialog) {
  if (active == nullptr) return false;
  OpenDialog* open = DialogOf(dialog);
  return open != nullptr && open->ended;
}

}  // namespace vfhost::win

#endif  // _WIN32
