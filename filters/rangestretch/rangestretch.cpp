// rangestretch: "色範囲拡縮", kind 0. Stretches or shrinks the range of the
// picture's main colours onto a range of the chosen width around 127.
#include "colour_survey.h"
#include "frame/messages.h"
#include "frame/progress.h"
#include "frame/settings.h"
#include "frame/working_block.h"
#include "rangestretch_filter.h"
#include "rangestretch_settings.h"

namespace rangestretch {
namespace {

const char kNoticeCaption[] = " フィルター使用上の注意";
// At least one palette slot to take the ranges from.
constexpr int32_t kFewestSlots = 1;
const char kResultCaption[] = "information";

Settings settings_of_library = {};

void StretchByPalette(const frame::DibImage& image, int32_t colours, HWND host, int32_t step, int32_t start) {
  const Settings& settings = CurrentSettings();
  const Ranges ranges = RangesOfPalette(settings.palette, colours, settings.channelSet, settings.targetWidth);
  if (settings.showResult != 0) {
    char text[256];
    FormatRanges(ranges, settings.channelSet, text);
    frame::ShowMessage(host, text, kResultCaption, MB_OK);
  }
  StretchPicture(image, ranges, settings.channelSet, settings.targetWidth, host, step, start);
}

}  // namespace

Settings& CurrentSettings() {
  return settings_of_library;
}

}  // namespace rangestretch

namespace frame {

const char kPluginTitle[] = "色範囲拡縮";

int PluginProcDib(HWND host, BITMAPINFOHEADER* header, const char* dir) {
  using namespace rangestretch;
  Settings& settings = CurrentSettings();
  LoadSettings(dir, settings);
  SendProgress(host, PROGRESS_BEGIN, 0);
  ShowNoticeOnce<uint8_t>(host, settings.noticePending, 1, 0, colour_survey::kSlowSurveyNotice,
                          kNoticeCaption, MB_ICONWARNING);
  settings.noticePending = 0;

  const DibImage image = ViewDib(header);
  GlobalBlock marks;
  if (!marks.Allocate(colour_survey::MarkPlaneSize(image))) {
    ShowMemoryMessage(host);
    SendProgress(host, PROGRESS_END, 0);
    return 0;
  }
  const int32_t colours = colour_survey::UsableSlots(settings.colours, kFewestSlots);
  if (settings.method == kSurveyAndStretch) {
    colour_survey::SurveyRules rules;
    rules.rankedSlots = colours;
    rules.smallestRanked = static_cast<uint32_t>(colour_survey::SurveyUnit(image) / 10);
    const colour_survey::SurveyResult survey =
        colour_survey::SurveyColourGroups(image, marks.data(), settings.palette, rules, host);
    StretchByPalette(image, colours, host, colour_survey::StepAfterSurvey(image.height, survey.lastPercent),
                     survey.lastPercent);
  } else if (settings.method == kStretchByStored) {
    StretchByPalette(image, colours, host, colour_survey::StepWithoutSurvey(image.height), 0);
  } else {  // a method above 2 runs as the dialog shows it: the write-out
    colour_survey::WritePaletteBands(image, settings.palette, colours, host);
  }
  SendProgress(host, PROGRESS_END, 0);
  marks.Release();
  SaveSettings(dir, settings);
  return 1;
}

}  // namespace frame
