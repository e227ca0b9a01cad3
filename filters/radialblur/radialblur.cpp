// radialblur: "放射ぼかし", kind 0. Blurs along the lines through a centre point, as a zoom.
#include "frame/host_interface.h"
#include "radialblur_filter.h"
#include "radialblur_settings.h"

namespace radialblur {
namespace {

const char kSignature[] = "rdlblr";
const blur::LineBlurPlugin kPlugin = {
    {"radialblur", kSignature, blur::kLineBlurFields, 3, sizeof(Settings), "radialblur", "smoothold"},
    "RSMS_DLG",
    RadialLine,
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

}  // namespace radialblur

namespace frame {

const char kPluginTitle[] = "放射ぼかし";

int PluginProcDib(HWND host, BITMAPINFOHEADER* header, const char* dir) {
  return blur::RunLineBlur(host, header, dir, radialblur::Plugin());
}

}  // namespace frame
