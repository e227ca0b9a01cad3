// Modules and their resource scripts, and the modal dialog: created from its
// template, initialised by its procedure, driven by the host through the
// hooks, closed with the close box if the host left it open, then destroyed.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "internal.h"

namespace vfwin {
namespace {

std::vector<std::unique_ptr<VfModule>>& Modules() {
  // Kept for the life of the process: plug-ins may call in while it exits.
  static auto* modules = new std::vector<std::unique_ptr<VfModule>>;
  return *modules;
}

// MAKEINTRESOURCEA(n) names the template written with the number n.
std::string RequestedTemplateName(LPCSTR templateName) {
  uintptr_t value = reinterpret_cast<uintptr_t>(templateName);
  if (value < 0x10000) return std::to_string(value);
  return templateName;
}

RECT DialogUnitRect(int x, int y, int cx, int cy) {
  RECT rect;
  rect.left = DialogUnitsToPixelsX(x);
  rect.top = DialogUnitsToPixelsY(y);
  rect.right = DialogUnitsToPixelsX(x + cx);
  rect.bottom = DialogUnitsToPixelsY(y + cy);
  return rect;
}

void CreateTemplateControl(VfWindow* dialog, const rc::ControlTemplate& control) {
  VfWindow* window = CreateWindowRecord(WindowKind::Control, dialog, nullptr);
  window->className = control.className;
  window->controlClass = ClassOfName(control.className);
  window->id = control.id;
  window->style = control.style;
  window->exStyle = control.exStyle;
  window->rect = DialogUnitRect(control.x, control.y, control.cx, control.cy);
  switch (window->controlClass) {
    case ControlClass::ScrollBar:
    case ControlClass::UpDown:
      break;
    case ControlClass::ComboBox:
      if ((control.style & CBS_DROPDOWNLIST) != CBS_DROPDOWNLIST) window->text = control.text;
      break;
    default:
      window->text = control.text;
      break;
  }
  if (window->controlClass == ControlClass::UpDown && (control.style & UDS_AUTOBUDDY)) {
    auto& siblings = dialog->children;
    if (siblings.size() >= 2) AttachBuddy(window, siblings[siblings.size() - 2]);
  }
}

VfWindow* CreateDialogWindow(const rc::DialogTemplate& dialogTemplate, VfWindow* owner, DLGPROC procedure) {
  VfWindow* dialog = CreateWindowRecord(WindowKind::Dialog, nullptr, owner);
  dialog->className = "#32770";
  dialog->style = dialogTemplate.style;
  dialog->exStyle = dialogTemplate.exStyle;
  dialog->text = dialogTemplate.caption;
  dialog->rect = DialogUnitRect(dialogTemplate.x, dialogTemplate.y, dialogTemplate.cx, dialogTemplate.cy);
  dialog->dialog.templateName = dialogTemplate.name;
  dialog->dialog.procedure = procedure;
  for (const rc::ControlTemplate& control : dialogTemplate.controls) CreateTemplateControl(dialog, control);
  return dialog;
}

void EndWith(VfWindow* dialog, INT_PTR result) {
  dialog->dialog.ended = true;
  dialog->dialog.result = result;
}

// Runs the dialog from WM_INITDIALOG to its end and returns its result.
INT_PTR RunDialog(VfWindow* dialog, LPARAM initParam) {
  int previousBase = EnterModalLoop();
  // The dialog is shown after WM_INITDIALOG, which paints it.
  dialog->dialog.paintPending = true;
  Dispatch(dialog, WM_INITDIALOG, 0, initParam);
  const std::string& name = dialog->dialog.templateName;
  if (!dialog->dialog.ended && Hooks().dialog_opened) {
    Hooks().dialog_opened(Hooks().context, dialog, name.c_str());
  }
  if (!dialog->dialog.ended) Dispatch(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
  if (!dialog->dialog.ended) EndWith(dialog, 0);
  LeaveModalLoop(previousBase);
  if (Hooks().dialog_ending)
    Hooks().dialog_ending(Hooks().context, dialog, name.c_str(), dialog->dialog.result);
  return dialog->dialog.result;
}

}  // namespace

VfModule* LiveModule(HINSTANCE instance) {
  for (const auto& module : Modules()) {
    if (module.get() == instance) return instance;
  }
  return nullptr;
}

}  // namespace vfwin

using vfwin::LiveWindow;
using vfwin::WindowKind;

extern "C" {

// A module registered again under its name (a plug-in loaded anew) keeps its
// handle and takes the new script.
VFWIN_API HINSTANCE VfRegisterModule(const char* moduleName, const char* resourceScript, size_t scriptSize) {
  std::string name = moduleName ? moduleName : "";
  VfModule* module = nullptr;
  for (const auto& candidate : vfwin::Modules()) {
    if (candidate->name == name) module = candidate.get();
  }
  if (!module) {
    vfwin::Modules().push_back(std::make_unique<VfModule>());
    module = vfwin::Modules().back().get();
    module->name = name;
  }
  std::string_view script =
      resourceScript ? std::string_view(resourceScript, scriptSize) : std::string_view();
  module->script = vfwin::rc::ParseResourceScript(script);
  return module;
}

VFWIN_API int VfCheckResourceScript(const char* resourceScript, size_t scriptSize, const char* templateName,
                                    char* error, size_t errorSize) {
  auto report = [&](const std::string& message) {
    if (error && errorSize > 0) {
      size_t length = std::min(message.size(), errorSize - 1);
      std::memcpy(error, message.data(), length);
      error[length] = '\0';
    }
  };
  std::string_view script =
      resourceScript ? std::string_view(resourceScript, scriptSize) : std::string_view();
  vfwin::rc::ParseResult parsed = vfwin::rc::ParseResourceScript(script);
  if (!parsed.ok) {
    report(parsed.error);
    return 0;
  }
  if (!templateName) {
    report("");
    return 1;
  }
  std::string name = templateName;
  if (!parsed.script.Find(name)) {
    std::string present;
    for (const auto& dialog : parsed.script.dialogs) present += (present.empty() ? "" : ", ") + dialog.name;
    report("no dialog template named " + name +
           (present.empty() ? " (the script has none)" : " (the script has " + present + ")"));
    return 0;
  }
  report("");
  return 1;
}

VFWIN_API INT_PTR DialogBoxParamA(HINSTANCE instance, LPCSTR templateName, HWND owner, DLGPROC procedure,
                                  LPARAM initParam) {
  VfModule* module = vfwin::LiveModule(instance);
  std::string requested = templateName ? vfwin::RequestedTemplateName(templateName) : "";
  if (!module) {
    std::fprintf(stderr, "vfwin: dialog %s: the instance handle is not a registered module\n",
                 requested.c_str());
    return -1;
  }
  if (!module->script.ok) {
    std::fprintf(stderr, "vfwin: %s: resource script: %s\n", module->name.c_str(),
                 module->script.error.c_str());
    return -1;
  }
  const vfwin::rc::DialogTemplate* dialogTemplate = module->script.script.Find(requested);
  if (!dialogTemplate) {
    std::fprintf(stderr, "vfwin: %s: no dialog template named %s\n", module->name.c_str(), requested.c_str());
    return -1;
  }
  VfWindow* ownerWindow = LiveWindow(owner);
  if (owner && !ownerWindow) return 0;
  VfWindow* dialog = vfwin::CreateDialogWindow(*dialogTemplate, ownerWindow, procedure);
  INT_PTR result = vfwin::RunDialog(dialog, initParam);
  vfwin::DestroyWindowRecord(dialog);
  return result;
}

VFWIN_API BOOL EndDialog(HWND handle, INT_PTR result) {
  VfWindow* dialog = LiveWindow(handle);
  if (!dialog || dialog->kind != WindowKind::Dialog) return FALSE;
  vfwin::EndWith(dialog, result);
  return TRUE;
}

VFWIN_API BOOL VfDialogEnded(HWND handle) {
  VfWindow* dialog = LiveWindow(handle);
  return !dialog || dialog->kind != WindowKind::Dialog || dialog->dialog.ended ? TRUE : FALSE;
}

VFWIN_API const char* VfDialogTemplateName(HWND handle) {
  VfWindow* dialog = LiveWindow(handle);
  if (!dialog || dialog->kind != WindowKind::Dialog) return "";
  return dialog->dialog.templateName.c_str();
}

}  // extern "C"
