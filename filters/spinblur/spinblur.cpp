// spinblur: "円周ぼかし", kind 0. Blurs along the circles round a centre point, as a turn.
#include "frame/host_interface.h"
#include "spinblur_filter.h"
#include "spinblur_settings.h"

namespace spinblur {
namespace {

const char kSignature[] = "spnblr";
const blur::LineBlurPlugin kPlugin = {
    {"spinblur", kSignature, blur::kLineBlurFields, 3, sizeof(Settings), "spinblur", "smoothold"},
    "CSMS_DLG",
    TangentLine,
};

Settings dialog_settings = {};
blur::SettingsPath settings_path = {};

}  // namespace

const blur::LineBlurPlugin& Plugin() {
  return kPlugin;
}
Settings& DialogSettings() {
  return dialog_settings;
}
blur::SettingsPath& SettingsPath() {
  return settings_path;
}

}  // namespace spinblur

namespace frame {

const char kPluginTitle[] = "円周ぼかし";

int PluginProcDib(HWND host, BITMAPINFOHEADER* header, const char* dir) {
  return blur::RunLineBlur(host, header, dir, spinblur::Plugin());
}

}  // namespace frame
