// The entry points of a line blur plug-in, made of the plug-in's
// kLineBlurPlugin: FilterProc runs the line blur, FilterOption the dialog,
// which keeps its record and the file's path while the library is loaded.
#include "frame/host_interface.h"
#include "line_blur.h"

namespace blur {
namespace {

LineBlurSettings dialog_settings = {};
SettingsPath settings_path = {};

INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM /*lParam*/) {
  return LineBlurDialog(dialog, message, wParam, kLineBlurPlugin, dialog_settings, settings_path);
}

}  // namespace
}  // namespace blur

namespace frame {

int PluginProcDib(HWND host, BITMAPINFOHEADER* header, const char* dir) {
  return blur::RunLineBlur(host, header, dir, blur::kLineBlurPlugin);
}

int PluginOption(HWND host, const char* dir) {
  return blur::RunLineBlurOption(host, dir, blur::kLineBlurPlugin, blur::settings_path,
                                 blur::DialogProcedure);
}

}  // namespace frame
