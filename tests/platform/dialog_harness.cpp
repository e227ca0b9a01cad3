// The dialog-running helper of the platform tests.
#include "dialog_harness.h"

namespace vfwin_test {
namespace {

DialogRun* currentRun = nullptr;

INT_PTR TestDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  currentRun->log.push_back({message, wParam, lParam});
  return currentRun->procedure ? currentRun->procedure(dialog, message, wParam, lParam) : FALSE;
}

void Opened(void* context, HWND dialog, const char* templateName) {
  auto* run = static_cast<DialogRun*>(context);
  run->openedCalled = true;
  run->openedTemplate = templateName;
  if (run->opened) run->opened(dialog);
}

void Ending(void* context, HWND dialog, const char* /*templateName*/, INT_PTR result) {
  auto* run = static_cast<DialogRun*>(context);
  run->endingCalled = true;
  if (run->ending) run->ending(dialog, result);
}

}  // namespace

std::vector<LoggedMessage> DialogRun::Commands() const {
  std::vector<LoggedMessage> commands;
  for (const LoggedMessage& entry : log) {
    if (entry.message == WM_COMMAND) commands.push_back(entry);
  }
  return commands;
}

int DialogRun::Count(UINT message) const {
  int count = 0;
  for (const LoggedMessage& entry : log) count += entry.message == message;
  return count;
}

HINSTANCE RegisterScript(const std::string& script) {
  static int serial = 0;
  std::string name = "test_module_" + std::to_string(++serial);
  return VfRegisterModule(name.c_str(), script.data(), script.size());
}

INT_PTR RunDialog(HINSTANCE module, const char* templateName, DialogRun& run, LPARAM initParam) {
  VfHostHooks hooks{};
  hooks.context = &run;
  hooks.dialog_opened = Opened;
  hooks.dialog_ending = Ending;
  VfSetHostHooks(&hooks);
  DialogRun* previous = currentRun;
  currentRun = &run;
  INT_PTR result = DialogBoxParamA(module, templateName, nullptr, TestDialogProcedure, initParam);
  currentRun = previous;
  VfSetHostHooks(nullptr);
  return result;
}

std::string WindowText(HWND window) {
  char text[512];
  int length = GetWindowTextA(window, text, sizeof text);
  return std::string(text, static_cast<size_t>(length));
}

}  // namespace vfwin_test
