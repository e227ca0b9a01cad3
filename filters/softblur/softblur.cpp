// softblur: "ぼけぼけ", kind 0. A weighted blur over a square window with a
// choice of radius and fall-off shape.
#include "frame/host_interface.h"
#include "frame/messages.h"
#include "frame/progress.h"
#include "frame/run_control.h"
#include "frame/working_block.h"
#include "profile_table.h"
#include "softblur_filter.h"
#include "softblur_settings.h"

namespace softblur {
namespace {

const char kSignature[] = "sftbl2";
const blur::RecordField kFields[] = {
    {offsetof(Settings, radius), 1},
    {offsetof(Settings, profile), 1},
    {offsetof(Settings, reserved), 1},
    {offsetof(Settings, seamless), 1},
};
// The dialog takes the defaults silently when the file is missing.
const blur::SignedFormat kFormat = {"softblur",       kSignature, kFields,   4,
                                    sizeof(Settings), nullptr,    "softblur"};

Settings dialog_settings = {};
blur::SettingsPath settings_path = {};

uint8_t Clamped(uint8_t value, int32_t lowest, int32_t highest) {
  if (value < lowest) return static_cast<uint8_t>(lowest);
  if (value > highest) return static_cast<uint8_t>(highest);
  return value;
}

}  // namespace

const blur::SignedFormat& Settings::Format() {
  return kFormat;
}
Settings& DialogSettings() {
  return dialog_settings;
}
blur::SettingsPath& SettingsPath() {
  return settings_path;
}

Settings InRange(const Settings& settings) {
  Settings result = settings;
  result.radius = Clamped(result.radius, kMinRadius, kMaxRadius);
  result.profile = Clamped(result.profile, kMinProfile, kMaxProfile);
  return result;
}

}  // namespace softblur

namespace frame {

const char kPluginTitle[] = "ぼけぼけ";

int PluginProcDib(HWND host, BITMAPINFOHEADER* header, const char* dir) {
  using namespace softblur;
  Settings settings = Settings::Defaults();
  blur::RunSettingsFile file;
  if (!file.Read(host, dir, Settings::Format(), &settings)) return 0;
  settings = InRange(settings);

  const DibImage image = ViewDib(header);
  const int32_t radius = settings.radius;
  const uint64_t tableBytes = static_cast<uint64_t>(blur::ProfileTableBytes(radius));
  GlobalBlock block;
  if (!block.Allocate(CheckedSum(tableBytes, blur::WideRasterSize(image, radius)))) {
    ShowMemoryMessage(host);
    file.Close();
    SendProgress(host, PROGRESS_END, 0);
    return 0;
  }
  uint16_t* table = reinterpret_cast<uint16_t*>(block.data());
  blur::BuildProfileTable(table, radius, settings.profile);
  file.Close();
  const blur::WideRaster raster =
      blur::FillWideRaster(image, block.data() + tableBytes, radius, settings.seamless != 0);
  const uint32_t weightSum = WeightSum(table, radius);

  for (int32_t y = 0; y < image.height; ++y) {
    BlurRow(image, raster, table, radius, weightSum, y);
    SendProgress(host, PROGRESS_PERCENT2, static_cast<int32_t>(int64_t{100} * y / image.height));
    if (EscapeRequested()) break;
  }
  SendProgress(host, PROGRESS_PERCENT2, 100);
  SendProgress(host, PROGRESS_END, 0);
  block.Release();
  return 1;
}

}  // namespace frame
