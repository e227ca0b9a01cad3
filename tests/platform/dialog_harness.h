// Runs a dialog of a test script through the host hooks: the test gives the
// dialog procedure, what the host does while the dialog is open, and what it
// reads when the dialog ends; every message the procedure receives is logged.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "vfwin/vfwin_host.h"

namespace vfwin_test {

struct LoggedMessage {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

struct DialogRun {
  // Return value of the dialog procedure; FALSE when not given.
  std::function<INT_PTR(HWND, UINT, WPARAM, LPARAM)> procedure;
  std::function<void(HWND)> opened;
  std::function<void(HWND, INT_PTR)> ending;

  std::vector<LoggedMessage> log;
  bool openedCalled = false;
  bool endingCalled = false;
  std::string openedTemplate;

  // The logged WM_COMMAND words and the handles that came with them.
  std::vector<LoggedMessage> Commands() const;
  int Count(UINT message) const;
};

// Registers the script under a fresh module name.
HINSTANCE RegisterScript(const std::string& script);

// Runs DialogBoxParamA with the run's hooks installed and returns its result.
INT_PTR RunDialog(HINSTANCE module, const char* templateName, DialogRun& run, LPARAM initParam = 0);

std::string WindowText(HWND window);

}  // namespace vfwin_test
