// colorreduce: "単純減色", kind 0. Reduces the picture to the colours of its
// N largest colour groups, with the palette kept between runs.
#include "colorreduce_filter.h"
#include "colorreduce_settings.h"
#include "frame/messages.h"
#include "frame/progress.h"
#include "frame/settings.h"
#include "frame/working_block.h"

namespace colorreduce {
namespace {

const char kNoticeCaption[] = " 単純減色フィルター使用上の注意";
// The dialog offers 2 .. 250 colours.
constexpr int32_t kFewestColours = 2;

Settings settings_of_library = {};

void SurveyAndReduce(const frame::DibImage& image, uint8_t* marks, int32_t colours, HWND host) {
  Settings& settings = CurrentSettings();
  colour_survey::SurveyRules rules;
  rules.rankedSlots = colours;
  const colour_survey::SurveyResult survey =
      colour_survey::SurveyColourGroups(image, marks, settings.palette, rules, host);
  // Reduce only when the survey ranked at least N groups.
  if (survey.sizes[colours - 1] == 0) return;
  ReduceToPalette(image, settings.palette, colours, host,
                  colour_survey::StepAfterSurvey(image.height, survey.lastPercent), survey.lastPercent);
}

}  // namespace

Settings& CurrentSettings() {
  return settings_of_library;
}

}  // namespace colorreduce

namespace frame {

const char kPluginTitle[] = "単純減色";

int PluginProcDib(HWND host, BITMAPINFOHEADER* header, const char* dir) {
  using namespace colorreduce;
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
  const int32_t colours = colour_survey::UsableSlots(settings.colours, kFewestColours);
  switch (settings.method) {
    case kSurveyAndReduce:
      SurveyAndReduce(image, marks.data(), colours, host);
      break;
    case kReduceToStored:
      ReduceToPalette(image, settings.palette, colours, host, colour_survey::StepWithoutSurvey(image.height),
                      0);
      break;
    default:  // a method above 2 runs as the dialog shows it: the write-out
      colour_survey::WritePaletteBands(image, settings.palette, colours, host);
      break;
  }
  SendProgress(host, PROGRESS_END, 0);
  marks.Release();
  SaveSettings(dir, settings);
  return 1;
}

}  // namespace frame
