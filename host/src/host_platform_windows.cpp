// The host core on Windows: plug-ins loaded with LoadLibraryA, a hidden
// window of our own for the progress messages. Message boxes, dialogs and the
// Esc key are the system's own, seen through the hooks of win/; the clock is
// the system's.
#include <windows.h>

#include "call_hooks.h"
#include "host_platform.h"
#include "win/host_call.h"
#include "win/win_hooks.h"

namespace vfhost::detail {
namespace {

LRESULT CALLBACK HostWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_USER) return DefWindowProcA(window, message, wParam, lParam);
  NoteHostWindowMessage(message, wParam, lParam);
  return 0;
}

std::string SystemMessage(DWORD code) {
  char* text = nullptr;
  FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                 nullptr, code, 0, reinterpret_cast<LPSTR>(&text), 0, nullptr);
  std::string message = text ? text : "error " + std::to_string(code);
  LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' '))
    message.pop_back();
  return message;
}

}  // namespace

void* OpenLibrary(const std::string& path, std::string& error) {
  HMODULE library = LoadLibraryA(path.c_str());
  if (!library) error = path + ": " + SystemMessage(GetLastError());
  if (library) vfhost::win::RememberPluginModule(library);
  return reinterpret_cast<void*>(library);
}

void* LibrarySymbol(void* library, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

void CloseLibrary(void* library) {
  vfhost::win::ForgetPluginModule(static_cast<HMODULE>(library));
  FreeLibrary(static_cast<HMODULE>(library));
}
const char* LibraryExtension() {
  return ".dll";
}

std::string ExecutableDirectory() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return ".";
  std::string executable(path, length);
  const size_t separator = executable.find_last_of("\\/");
  return separator == std::string::npos ? "." : executable.substr(0, separator);
}

HWND HostWindow() {
  static HWND window = [] {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = HostWindowProcedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "VfhostHostWindow";
    RegisterClassA(&windowClass);
    HWND hidden = CreateWindowExA(0, windowClass.lpszClassName, "vfhost", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 320, 200, nullptr, nullptr, windowClass.hInstance, nullptr);
    if (hidden) return hidden;
    // Without a desktop (a service, or wine without a display) a message-only
    // window still receives the progress messages.
    return CreateWindowExA(0, windowClass.lpszClassName, "vfhost", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                           windowClass.hInstance, nullptr);
  }();
  return window;
}

PlatformCall::PlatformCall(CallContext&, const RunOptions&) {
  BeginWindowsCall();
}
PlatformCall::~PlatformCall() {
  EndWindowsCall();
}
long PlatformCall::LeakedAllocations() const {
  return 0;
}

// EndDialog hides the dialog at once; it is destroyed when its loop returns.
bool DialogHasEnded(HWND dialog) {
  return !IsWindow(dialog) || vfhost::win::DialogEnded(dialog) || !IsWindowVisible(dialog);
}

}  // namespace vfhost::detail
