// radialblur's settings dialog RSMS_DLG.
#include "frame/host_interface.h"
#include "radialblur_settings.h"

namespace radialblur {
namespace {

INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM /*lParam*/) {
  return blur::LineBlurDialog(dialog, message, wParam, Plugin(), DialogSettings(), SettingsPath());
}

}  // namespace
}  // namespace radialblur

namespace frame {

int PluginOption(HWND host, const char* dir) {
  return blur::RunLineBlurOption(host, dir, radialblur::Plugin(), radialblur::SettingsPath(),
                                 radialblur::DialogProcedure);
}

}  // namespace frame
