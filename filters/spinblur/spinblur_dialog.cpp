// spinblur's settings dialog CSMS_DLG.
#include "frame/host_interface.h"
#include "spinblur_settings.h"

namespace spinblur {
namespace {

INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM /*lParam*/) {
  return blur::LineBlurDialog(dialog, message, wParam, Plugin(), DialogSettings(), SettingsPath());
}

}  // namespace
}  // namespace spinblur

namespace frame {

int PluginOption(HWND host, const char* dir) {
  return blur::RunLineBlurOption(host, dir, spinblur::Plugin(), spinblur::SettingsPath(),
                                 spinblur::DialogProcedure);
}

}  // namespace frame
